// SPDX-License-Identifier: GPL-3.0-or-later
// The real message and input boxes (QMessageBox, QInputDialog, a box with choices).
#include "qt_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace gk {
namespace {

// Qt wraps a message at about half the screen's width, and a line may break after any "-": a
// command line would read as other options than it holds. Here a line that fits on the screen
// stays whole: after each of Qt's own sizings the box grows as far as the screen allows, and
// only a line wider than that wraps.
class MessageBoxWidget : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        fitLongestLine();
    }
    bool event(QEvent* event) override {
        const bool done = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest && isVisible())
            fitLongestLine();
        return done;
    }

  private:
    void fitLongestLine() {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const QScreen* shown = screen();
        if (!label || !shown || !layout())
            return;
        const QFontMetricsF metrics(label->font(), label);
        qreal longest = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            longest = std::max(longest, metrics.horizontalAdvance(line));
        layout()->setGeometry(rect()); // the label's room at the size Qt gave the box
        const int missing =
            static_cast<int>(std::ceil(longest)) + 1 - label->contentsRect().width();
        const QRect area = shown->availableGeometry();
        const int border = frameGeometry().width() - width();
        const int grow = std::min(missing, area.width() - border - width());
        if (grow <= 0)
            return;
        const int w = width() + grow;
        const int h = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(w)
                                                    : layout()->totalMinimumSize().height();
        setFixedSize(w, h);
        // Centred on the window it belongs to, inside the screen.
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QPoint centre = owner ? owner->frameGeometry().center() : area.center();
        const QSize frame = frameGeometry().size();
        const int left = std::clamp(centre.x() - frame.width() / 2, area.left(),
                                    std::max(area.left(), area.right() + 1 - frame.width()));
        const int top = std::clamp(centre.y() - frame.height() / 2, area.top(),
                                   std::max(area.top(), area.bottom() + 1 - frame.height()));
        move(left, top);
    }
};

} // namespace

Answer QtDialogs::messageBox(const Message& box) {
    MessageBoxWidget dialog(parent_);
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

// The prompt over a field that offers the choices (and takes any text), with a button that
// fills it from a folder chooser.
QString QtDialogs::choiceBox(const InputBox& box, const QString& prompt) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(box.title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    auto* row = new QHBoxLayout;
    auto* field = new QComboBox(&dialog);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->addItems(box.choices);
    field->setCurrentText(box.defaultText);
    field->setMinimumContentsLength(40);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row->addWidget(field, 1);
    if (box.browseFolders) {
        auto* browse = new QPushButton(QStringLiteral("Browse…"), &dialog);
        QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, field] {
            const QString folder =
                QFileDialog::getExistingDirectory(&dialog, QString(), field->currentText());
            if (!folder.isEmpty())
                field->setCurrentText(QDir::toNativeSeparators(folder));
        });
        row->addWidget(browse);
    }
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // Enter takes the text, as in the plain input box (the field would otherwise keep the key).
    QObject::connect(field->lineEdit(), &QLineEdit::returnPressed, &dialog, &QDialog::accept);
    field->setFocus();
    return dialog.exec() == QDialog::Accepted ? field->currentText() : QString();
}

QString QtDialogs::inputBox(const InputBox& box) {
    QString prompt = box.prompt;
    prompt.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!box.choices.isEmpty() || box.browseFolders)
        return choiceBox(box, prompt);
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, box.title, prompt, QLineEdit::Normal, box.defaultText, &ok);
    return ok ? text : QString();
}

} // namespace gk
