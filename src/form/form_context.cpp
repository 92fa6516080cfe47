// SPDX-License-Identifier: GPL-3.0-or-later
// What the families of the main window's handlers share.
#include "form_context.h"

#include "form_model.h"
#include "platform/file_system.h"

namespace gk {

bool FormContext::fncFileExists(const QString& path) {
    return files.fileExists(path);
}

void FormContext::showError(int number, const QString& description) {
    dialogs.messageBox(runtimeErrorBox(number, description));
}

void FormContext::endProgram(const Message& box) {
    dialogs.messageBox(box);
    throw ProgramEnd{};
}

void FormContext::setEntryText(int16_t index, const QByteArray& text) {
    ctl.txtEntry[static_cast<size_t>(index)].text = text;
    form.txtEntry_Change(index);
}

void FormContext::clearSide(ListSide side, bool runTrackFromAnySide) {
    const bool filling = ws.bolFillingEntries;
    ws.bolFillingEntries = true; // emptying the boxes is not an edit
    const int16_t first = side == ListSide::Active ? 0 : 7;
    for (int16_t i = first; i < first + 7; ++i)
        setEntryText(i, {});
    ws.bolFillingEntries = filling;
    if (runTrackFromAnySide || runTrackSide == side) {
        ctl.txtRunTrack.text.clear();
        runTrackSide.reset();
    }
}

void FormContext::updateCountCaptions() {
    ctl.lblAmountLeft.caption = QStringLiteral("Active Tracks (%1)").arg(ws.ListTracks.count());
    ctl.lblAmountRight.caption =
        QStringLiteral("Non-Active Tracks (%1)").arg(ws.listNotActive.count());
}

} // namespace gk
