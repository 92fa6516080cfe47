#include "code_page.h"

#include <array>
#include <unordered_map>

namespace gk {
namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t charOf(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F)
        return kHighControls[b - 0x80];
    return b;
}

const std::unordered_map<char16_t, unsigned char>& reverseTable() {
    static const auto table = [] {
        std::unordered_map<char16_t, unsigned char> t;
        for (int b = 0x80; b <= 0x9F; ++b)
            t.emplace(kHighControls[static_cast<size_t>(b - 0x80)], static_cast<unsigned char>(b));
        return t;
    }();
    return table;
}

std::optional<unsigned char> byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    const auto& table = reverseTable();
    auto it = table.find(c);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

} // namespace

QString decodeGameText(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(charOf(static_cast<unsigned char>(bytes[i])));
    return text;
}

std::optional<QByteArray> encodeGameText(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        auto b = byteOf(text[i].unicode());
        if (!b)
            return std::nullopt;
        bytes[i] = static_cast<char>(*b);
    }
    return bytes;
}

QString firstUnencodableCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!byteOf(text[i].unicode())) {
            if (text[i].isHighSurrogate() && i + 1 < text.size())
                return text.mid(i, 2);
            return text.mid(i, 1);
        }
    }
    return {};
}

char lowerGameByte(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z')
        return static_cast<char>(b + 32);
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
