// SPDX-License-Identifier: GPL-3.0-or-later
// The season file format: reading events line by line, and building a file.
#include "season_file.h"

#include "platform/code_page.h"
#include "platform/runtime_error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace gk {

void TrackList::addRow(QByteArray text, EventEntries entries) {
    addRow(TrackRow{.text = std::move(text), .entries = std::move(entries)});
}

void TrackList::addRow(TrackRow&& row) {
    if (rows.size() >= static_cast<size_t>(kMaxListRows))
        throw RuntimeError(ErrorCode::Overflow);
    rows.push_back(std::move(row));
    rows.back().selected = false;
    ++rowsVersion;
}

QByteArrayView trimmedSpaces(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}

QByteArray trimSpaces(QByteArrayView text) {
    return trimmedSpaces(text).toByteArray();
}

bool isEventHeader(QByteArrayView line) {
    return startsWithNoCase(trimmedSpaces(line), "[event");
}

std::optional<QByteArrayView> folderOfTrackDirectory(QByteArrayView line) {
    const QByteArrayView trimmed = trimmedSpaces(line);
    if (trimmed.size() < 15)
        return std::nullopt;
    return trimmed.sliced(15);
}

bool LineReader::next(QByteArrayView& line) {
    const qsizetype size = data_.size();
    if (pos_ >= size)
        return false;
    const char* base = data_.constData();
    qsizetype end = pos_;
    while (end < size && base[end] != '\n' && base[end] != '\r')
        ++end;
    line = QByteArrayView(base + pos_, end - pos_);
    if (end < size && base[end] == '\r' && end + 1 < size && base[end + 1] == '\n')
        pos_ = end + 2;
    else
        pos_ = end + 1;
    ++lineNumber_;
    return true;
}

void LineReader::skip(qsizetype bytes) {
    pos_ = std::min(data_.size(), pos_ + bytes);
}

namespace {

// A file saved as "Unicode" by a Windows editor: a UTF-16 byte-order mark, or, without one, a
// NUL among its first 16 bytes and NULs in at least a quarter of its even or of its odd bytes.
// Text in the game's code page holds no NUL; UTF-16 holds one in every character of the
// Latin-1 range (a season file begins with such: "[Season]", an event header), whatever else it
// holds. Every file Gridkeeper writes begins with 16 bytes of plain text ("[Season]\r\nname="),
// so what it writes is never taken for UTF-16, whatever bytes its entries hold.
bool looksLikeUtf16(const QByteArray& data) {
    if (data.size() < 2)
        return false;
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return true;
    if (!data.first(std::min<qsizetype>(data.size(), 16)).contains('\0'))
        return false;
    // The start of the file tells: one encoding runs through the whole of it.
    const qsizetype n = std::min<qsizetype>(data.size(), 1 << 20);
    std::array<qsizetype, 2> nuls{};
    for (qsizetype i = 0; i < n; ++i)
        if (data[i] == '\0')
            ++nuls[static_cast<size_t>(i & 1)];
    const qsizetype pairs = std::max<qsizetype>(n / 2, 1);
    return nuls[0] * 4 >= pairs || nuls[1] * 4 >= pairs;
}

bool isBlank(QByteArrayView line) {
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

// Where a fault lies: the file's name, the event's number in file order and the line.
struct Place {
    const QString& file;
    qsizetype event = 0;
    qsizetype line = 0;

    QString name() const { return file.isEmpty() ? QStringLiteral("the season file") : file; }
    QString where() const {
        return QStringLiteral("event %1 of %2 (line %3)").arg(event).arg(name()).arg(line);
    }
    [[noreturn]] void fail(ErrorCode code, const QString& detail) const {
        throw RuntimeError(code, standardDescription(code) + QStringLiteral(": ") + detail);
    }
};

} // namespace

namespace {

// The scan both readers share. With `keepWhole`, every event is handed over whole (its entries and
// extra lines copied) once its extra lines are read; without, only its folder, as a view into
// `data`, at once.
template <bool keepWhole, class OnEvent>
void scan(const QByteArray& data, const OnEvent& onEvent, const QString& fileName) {
    Place place{fileName};
    if (looksLikeUtf16(data))
        place.fail(ErrorCode::InvalidFileFormat,
                   QStringLiteral("%1 is saved as Unicode (UTF-16), which Gridkeeper cannot read. "
                                  "Open it in a text editor and save it as ANSI (Windows-1252).")
                       .arg(place.name()));
    LineReader reader(data);
    if (data.startsWith("\xEF\xBB\xBF"))
        reader.skip(3); // a UTF-8 byte-order mark hides no header
    EventEntries pending;
    QByteArray pendingFolder;
    bool havePending = false;
    const auto deliver = [&] {
        if (!havePending)
            return;
        havePending = false;
        try {
            if constexpr (keepWhole)
                onEvent(std::move(pending), std::move(pendingFolder));
        } catch (const RuntimeError& e) {
            if (e.code() != ErrorCode::Overflow)
                throw;
            place.fail(ErrorCode::Overflow,
                       QStringLiteral("%1 holds more events than a list can hold (%2); %3 is one "
                                      "too many.")
                           .arg(place.name())
                           .arg(kMaxListRows)
                           .arg(place.where()));
        }
        pending = EventEntries();
    };
    QByteArrayView line;
    std::array<QByteArrayView, 7> entries;
    while (reader.next(line)) {
        if (!isEventHeader(line)) {
            if (keepWhole && havePending && !isBlank(line))
                pending.extra.push_back(line.toByteArray());
            continue;
        }
        if constexpr (keepWhole)
            deliver();
        ++place.event;
        place.line = reader.lineNumber();
        for (QByteArrayView& entry : entries) {
            if (!reader.next(line))
                place.fail(ErrorCode::PastEndOfFile,
                           QStringLiteral("%1 ends inside event %2 (line %3).")
                               .arg(place.name())
                               .arg(place.event)
                               .arg(place.line));
            if (isEventHeader(line))
                place.fail(ErrorCode::InvalidFileFormat,
                           QStringLiteral("%1 has fewer than seven lines before the next event "
                                          "header.")
                               .arg(place.where()));
            entry = line;
        }
        const std::optional<QByteArrayView> folder = folderOfTrackDirectory(entries[2]);
        if (!folder)
            place.fail(ErrorCode::InvalidArgument,
                       QStringLiteral("the track-directory line of %1 gives no folder name: "
                                      "\"%2\".")
                           .arg(place.where(), decodeGameText(entries[2].toByteArray())));
        if constexpr (keepWhole) {
            for (size_t i = 0; i < entries.size(); ++i)
                pending.entry[i] = entries[i].toByteArray();
            pendingFolder = folder->toByteArray();
            havePending = true;
        } else {
            onEvent(*folder);
        }
    }
    if constexpr (keepWhole)
        deliver();
}

} // namespace

void scanEvents(const QByteArray& data,
                const std::function<void(EventEntries&& entries, QByteArray&& folder)>& onEvent,
                const QString& fileName) {
    scan<true>(data, onEvent, fileName);
}

void scanEventFolders(const QByteArray& data, const std::function<void(QByteArrayView)>& onFolder,
                      const QString& fileName) {
    scan<false>(data, onFolder, fileName);
}

SeasonFileBuilder::SeasonFileBuilder(QByteArrayView name, qsizetype numEvents,
                                     qsizetype entryBytes) {
    // Per event: "[Event" + number + "]", seven line ends and the empty line.
    out_.resize(64 + name.size() + entryBytes + numEvents * (6 + 6 + 1 + 9 * 2));
    put("[Season]\r\nname=");
    put(name);
    put("\r\nYear = 1967\r\nnumEvents=");
    putNumber(numEvents);
    put("\r\n\r\n");
}

void SeasonFileBuilder::put(const char* data, qsizetype size) {
    if (used_ + size > out_.size())
        out_.resize(std::max(out_.size() * 2, used_ + size));
    std::memcpy(out_.data() + used_, data, static_cast<size_t>(size));
    used_ += size;
}

void SeasonFileBuilder::putNumber(qsizetype n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    put(digits, end - digits);
}

void SeasonFileBuilder::addEvent(qsizetype number, const EventEntries& entries) {
    put("[Event");
    putNumber(number);
    put("]\r\n");
    for (const QByteArray& entry : entries.entry) {
        put(entry);
        put("\r\n");
    }
    for (const QByteArray& line : entries.extra) {
        put(line);
        put("\r\n");
    }
    put("\r\n");
}

QByteArray SeasonFileBuilder::take() {
    out_.resize(used_);
    used_ = 0;
    return std::move(out_);
}

qsizetype entryBytes(std::span<const TrackRow> rows) {
    qsizetype total = 0;
    for (const TrackRow& row : rows) {
        for (const QByteArray& line : row.entries.entry)
            total += line.size();
        for (const QByteArray& line : row.entries.extra)
            total += line.size() + 2;
    }
    return total;
}

} // namespace gk
