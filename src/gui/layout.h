// SPDX-License-Identifier: GPL-3.0-or-later
// The window's measures (twips), fonts and pictures.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>

class QWidget;

namespace gk::layout {

// Positions and sizes are given in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int px(int twips) {
    return twips / 15;
}

void place(QWidget* w, int left, int top, int width, int height);

// The fonts are named, not left to the desktop, so every caption fits the room the layout
// gives it on every system: the layout is measured for a narrow 8 pt dialog font and for
// Arial, for which Liberation Sans is metric-compatible.
QFont dialogFont();                            // buttons, check boxes, plain labels
QFont arial(double points, bool bold = false); // where the layout names Arial

QIcon windowIcon();
QIcon arrowIcon(bool up);
QPixmap aboutBackground(); // 246 x 164, drawn from the top left corner

} // namespace gk::layout
