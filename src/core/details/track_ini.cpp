// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of a track's track.ini, read from any of the shapes add-on tracks ship it in.
#include "track_ini.h"

#include "platform/code_page.h"

#include <array>

namespace gk {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool equalsNoCase(QByteArrayView text, QByteArrayView lowerKey) {
    return text.size() == lowerKey.size() && startsWithNoCase(text, lowerKey);
}

bool allDigits(QByteArrayView text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.isEmpty();
}

enum Field { Name, ShortName, Length, Turns, FieldCount };

constexpr std::array<const char*, FieldCount> kKeys = {"track_name", "track_name_short",
                                                       "track_length", "track_num_turns"};

int fieldOf(QByteArrayView key) {
    for (size_t f = 0; f < kKeys.size(); ++f)
        if (equalsNoCase(key, kKeys[f]))
            return static_cast<int>(f);
    return -1;
}

void setField(TrackIni& ini, int field, QByteArrayView value) {
    switch (field) {
    case Name:
        ini.name = decodeGameText(value.toByteArray());
        break;
    case ShortName:
        ini.shortName = decodeGameText(value.toByteArray());
        break;
    case Length:
        ini.miles = parseMiles(value);
        if (ini.miles)
            ini.length = value.toByteArray();
        break;
    case Turns:
        // At most nine digits: a number of turns, never an overflow.
        if (allDigits(value) && value.size() <= 9)
            ini.turns = value.toByteArray().toInt();
        break;
    default:
        break;
    }
}

} // namespace

std::optional<double> parseMiles(QByteArrayView value) {
    value = trimmed(value);
    qsizetype end = 0;
    bool point = false;
    int digits = 0;
    for (; end < value.size(); ++end) {
        const char c = value[end];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    const QByteArrayView unit = trimmed(value.sliced(end));
    if (!unit.isEmpty() && !equalsNoCase(unit, "m") && !equalsNoCase(unit, "mi") &&
        !equalsNoCase(unit, "mile") && !equalsNoCase(unit, "miles"))
        return std::nullopt;
    bool ok = false;
    const double miles = value.first(end).toByteArray().toDouble(&ok);
    return ok ? std::optional<double>(miles) : std::nullopt;
}

TrackIni parseTrackIni(QByteArrayView bytes) {
    TrackIni ini;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    std::array<bool, FieldCount> seen{};
    int found = 0;
    bool inTrack = true; // the lines before the first section header
    for (qsizetype pos = 0; pos < bytes.size() && found < FieldCount;) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const QByteArrayView line = trimmed(bytes.sliced(pos, end - pos));
        pos = end + 1;
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            if (close > 0) {
                inTrack = equalsNoCase(trimmed(line.sliced(1, close - 1)), "track");
                continue;
            }
        }
        if (!inTrack || line.startsWith(';'))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const int field = fieldOf(trimmed(line.first(equals)));
        if (field < 0 || seen[static_cast<size_t>(field)])
            continue;
        seen[static_cast<size_t>(field)] = true;
        ++found;
        QByteArrayView value = line.sliced(equals + 1);
        const qsizetype comment = value.indexOf(';');
        if (comment >= 0)
            value = value.first(comment);
        setField(ini, field, trimmed(value));
    }
    return ini;
}

} // namespace gk
