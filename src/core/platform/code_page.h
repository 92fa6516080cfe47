// SPDX-License-Identifier: GPL-3.0-or-later
// The game's code page (Windows-1252): bytes to text and back, case folding.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace gk {

// The game's 8-bit text (Windows-1252), through Qt's own converter for it. Every byte value has
// a character, so decoding and encoding again gives back the same bytes; the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// number, as Windows itself does.
QString decodeGameText(const QByteArray& bytes);
// The bytes of the text, or nothing when a character has no place in the code page.
std::optional<QByteArray> encodeGameText(const QString& text);
// The first character of the text that the code page cannot hold, or an empty string.
QString firstUnencodableCharacter(const QString& text);

// True when the bytes are valid UTF-8.
bool isUtf8(const QByteArray& bytes);

// Lower case as the game's code page knows it (ASCII and the Latin-1 letters).
char lowerGameByte(char c);
// True when `text` begins with `lowerKey` (lower-case ASCII) in any mix of ASCII case.
bool startsWithNoCase(QByteArrayView text, QByteArrayView lowerKey);
QByteArray lowerGameText(const QByteArray& bytes);

} // namespace gk
