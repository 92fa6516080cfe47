#include "form_context.h"

#include "form_model.h"
#include "platform/file_system.h"

namespace gk {

QString appTitle() {
    return QStringLiteral("Gridkeeper");
}

bool FormContext::fncFileExists(const QString& path) {
    return files.fileExists(path);
}

void FormContext::showError(int number, const QString& description) {
    dialogs.messageBox(
        {description, QStringLiteral("Error %1").arg(number), Buttons::Ok, Icon::Critical});
}

void FormContext::endProgram(const MessageBox& box) {
    dialogs.messageBox(box);
    throw ProgramEnd{};
}

void FormContext::setEntryText(int16_t index, const QByteArray& text) {
    ctl.txtEntry[static_cast<size_t>(index)].text = text;
    form.txtEntry_Change(index);
}

} // namespace gk
