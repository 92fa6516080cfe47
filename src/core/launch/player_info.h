// SPDX-License-Identifier: GPL-3.0-or-later
// Reading App.ini and player.ini: keys and values of the player's files.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace gk {

// True when the line, trimmed of spaces and in lower case, begins with the key.
bool lineMatchesKey(QByteArrayView line, QByteArrayView key);

// The value of a game settings line "key = value ; comment": the characters from position s
// (counted from 1 on the line as read) up to two before the first ";", trailing spaces
// removed. Without ";" the value runs to the end of the line. Throws RuntimeError (invalid
// argument) when the ";" stands too early for a value.
QByteArray lineValue(QByteArrayView line, qsizetype s);

// Splits file bytes into lines (CR LF, LF or CR end a line).
QList<QByteArray> splitLines(const QByteArray& data);

} // namespace gk
