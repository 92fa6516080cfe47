// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's colours and the few ways it paints a widget.
#pragma once

#include "form_controls.h"

#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>
#include <optional>

namespace gk::look {

inline QColor color(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Colours go through palettes: style sheets would make Qt style every control the slow way.
inline void paint(QWidget* w, std::optional<Rgb> fore, std::optional<Rgb> back) {
    QPalette palette = w->palette();
    if (fore) {
        palette.setColor(QPalette::WindowText, color(*fore));
        palette.setColor(QPalette::Text, color(*fore));
        palette.setColor(QPalette::ButtonText, color(*fore));
    }
    if (back) {
        palette.setColor(QPalette::Window, color(*back));
        palette.setColor(QPalette::Base, color(*back));
        palette.setColor(QPalette::Button, color(*back));
        w->setAutoFillBackground(true);
    }
    w->setPalette(palette);
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreen{58, 135, 99};
constexpr Rgb kLightOrange{255, 224, 192};
constexpr Rgb kLightYellow{255, 255, 192};
constexpr Rgb kOrange{255, 192, 128};
constexpr Rgb kLightGrey{224, 224, 224};
constexpr Rgb kPaleYellow{255, 255, 128};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

// Text of a disabled entry box: it is there to be read (contrast above 7:1 on the box).
inline const QColor kDisabledText(64, 64, 64);

inline void readableWhenDisabled(QWidget* w) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledText);
    w->setPalette(palette);
}

// The caption in its colour on the green; the box and its tick black on white, so that the tick
// stands out whatever the caption's colour.
inline void tickOnWhite(QCheckBox* box, Rgb caption) {
    QPalette colours = box->palette();
    colours.setColor(QPalette::WindowText, color(caption));
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    box->setPalette(colours);
}

// A long entry shows its beginning (the key), not its end.
inline void showText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        return;
    box->setText(text);
    box->setCursorPosition(0);
}

} // namespace gk::look
