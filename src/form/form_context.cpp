// SPDX-License-Identifier: GPL-3.0-or-later
// What the families of the main window's handlers share.
#include "form_context.h"

#include "platform/file_system.h"

namespace gk {

bool fncFileExists(FileSystem& files, const QString& path) {
    return files.fileExists(path);
}

void FormContext::showError(int number, const QString& description) {
    dialogs.messageBox(runtimeErrorBox(number, description));
}

void FormContext::endProgram(const Message& box) {
    dialogs.messageBox(box);
    throw ProgramEnd{};
}

void FormContext::updateCountCaptions() {
    ctl.lblAmountLeft.caption = QStringLiteral("Active Tracks (%1)").arg(ws.ListTracks.count());
    ctl.lblAmountRight.caption =
        QStringLiteral("Non-Active Tracks (%1)").arg(ws.listNotActive.count());
}

void FormContext::showTrackSet() {
    if (ws.strTrackSet.isEmpty()) {
        ctl.lblTrackSet.visible = false;
        return;
    }
    ctl.lblTrackSet.caption = ws.bolTrackSetChanged
                                  ? QStringLiteral(" Track Set: %1 (edited) ").arg(ws.strTrackSet)
                                  : QStringLiteral(" Track Set: %1 ").arg(ws.strTrackSet);
    ctl.lblTrackSet.visible = true;
}

void FormContext::trackSetEdited() {
    if (ws.strTrackSet.isEmpty())
        return;
    ws.bolTrackSetChanged = true;
    showTrackSet();
}

} // namespace gk
