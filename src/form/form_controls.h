// SPDX-License-Identifier: GPL-3.0-or-later
// The state of the main window's controls, as the form model keeps it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace gk {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

struct LabelState {
    QString caption;
    Rgb foreColor;
    bool visible = true;
};

struct TextBoxState {
    QByteArray text; // the game's 8-bit text
    bool enabled = false;
};

struct MenuItemState {
    QString caption;
    bool visible = true;
};

// What the main window's controls hold, as far as the behaviour reads or writes it.
struct FormControls {
    LabelState lblGPLdir{QStringLiteral("GPL directory invalid or not set!"), kRed};
    LabelState lblAmountLeft{QStringLiteral("Active Tracks"), {}};
    LabelState lblAmountRight{QStringLiteral("Non-Active Tracks"), {}};
    LabelState lblInfo;
    LabelState lblTrackSet{QStringLiteral("Track Set:"), {}, false};
    std::array<TextBoxState, 14> txtEntry;
    TextBoxState txtRunTrack;
    QString txtTrack;
    int txtTrackSelStart = 0;
    int txtTrackSelLength = 0;
    std::array<int, 2> chkEdit{0, 0};
    int chkSort = 0;
    QStringList cboCars;
    int cboCarsIndex = -1;
    std::array<MenuItemState, 22> mnuTrackSet;
};

} // namespace gk
