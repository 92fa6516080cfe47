// SPDX-License-Identifier: GPL-3.0-or-later
// The game's code page (Windows-1252): bytes to text and back, case folding.
#include "code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace gk {
namespace {

constexpr char kCodePage[] = "windows-1252";

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The encoding of one character, or nothing when the code page cannot hold it.
std::optional<QByteArray> encodeChars(QStringView text) {
    QStringEncoder encoder(kCodePage);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || !encoder.isValid())
        return std::nullopt;
    return bytes;
}

} // namespace

QString decodeGameText(const QByteArray& bytes) {
    // Most text is ASCII, which every code page shares; the decoder is made once per thread.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    thread_local QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    // A Qt built without this converter would turn every accented name into nothing.
    if (!decoder.isValid())
        qFatal("Qt has no %s converter: the game's text cannot be read", kCodePage);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeGameText(const QString& text) {
    return encodeChars(text);
}

QString firstUnencodableCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        if (!encodeChars(QStringView(text).mid(i, length)))
            return text.mid(i, length);
        i += length - 1;
    }
    return {};
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes); // the decoding runs on conversion to text
    return !utf8.hasError();
}

namespace {
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
} // namespace

bool startsWithNoCase(QByteArrayView text, QByteArrayView lowerKey) {
    if (text.size() < lowerKey.size())
        return false;
    for (qsizetype i = 0; i < lowerKey.size(); ++i)
        if (lowerAscii(text[i]) != lowerKey[i])
            return false;
    return true;
}

char lowerGameByte(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
        return lowerAscii(c);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return static_cast<char>(b + 32);
    switch (b) {
    case 0x8A:
        return static_cast<char>(0x9A);
    case 0x8C:
        return static_cast<char>(0x9C);
    case 0x8E:
        return static_cast<char>(0x9E);
    case 0x9F:
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

QByteArray lowerGameText(const QByteArray& bytes) {
    QByteArray out = bytes;
    for (char& c : out)
        c = lowerGameByte(c);
    return out;
}

} // namespace gk
