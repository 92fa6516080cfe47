// SPDX-License-Identifier: GPL-3.0-or-later
// The help line's texts for the control under the pointer.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace gk::help {

// The controls that write the help line when the pointer moves over them.
enum class Hover {
    Form,
    lblInfo,
    chkEdit,
    chkSort,
    cmdChangeButton,
    cmdLaunchGPL,
    cmdMakeIni,
    lblAmountLeft,
    lblAmountRight,
    lblGPLdir,
    lblMyMail,
    listNotActive,
    ListTracks,
    picArrow,
    txtEntry,
    txtTrack,
};

// The help line's text when nothing else is explained.
QString defaultText();

// The text for the pointer over a control (`index`: the member of a control array);
// nothing when the help line stays as it is. `gplDirValid` counts only for lblGPLdir: whether
// the game directory's driver.ini can be opened.
std::optional<QString> text(Hover control, int16_t index, bool gplDirValid);

} // namespace gk::help
