#include "qt_dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace gk {

Answer QtDialogs::messageBox(const MessageBox& box) {
    QMessageBox dialog(parent_);
    dialog.setWindowTitle(box.title);
    // Message texts join their lines with CR LF or CR; Qt wants LF.
    QString text = box.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    dialog.setText(text);
    switch (box.icon) {
    case Icon::None:
        dialog.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Critical:
        dialog.setIcon(QMessageBox::Critical);
        break;
    case Icon::Exclamation:
        dialog.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        dialog.setIcon(QMessageBox::Information);
        break;
    }
    switch (box.buttons) {
    case Buttons::Ok:
        dialog.setStandardButtons(QMessageBox::Ok);
        dialog.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        dialog.setDefaultButton(box.secondButtonDefault ? QMessageBox::No : QMessageBox::Yes);
        break;
    case Buttons::YesNoCancel:
        dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        dialog.setDefaultButton(box.cancelDefault         ? QMessageBox::Cancel
                                : box.secondButtonDefault ? QMessageBox::No
                                                          : QMessageBox::Yes);
        break;
    }
    switch (dialog.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return box.buttons == Buttons::YesNoCancel ? Answer::Cancel
               : box.buttons == Buttons::YesNo     ? Answer::No
                                                   : Answer::Ok;
    }
}

QString QtDialogs::inputBox(const InputBox& box) {
    QString prompt = box.prompt;
    prompt.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, box.title, prompt, QLineEdit::Normal, box.defaultText, &ok);
    return ok ? text : QString();
}

} // namespace gk
