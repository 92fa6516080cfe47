#include "season_file.h"

#include "platform/runtime_error.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace gk {

void TrackList::addRow(QByteArray text) {
    if (rows.size() >= static_cast<size_t>(kMaxListRows))
        throw RuntimeError(ErrorCode::Overflow);
    rows.push_back(std::move(text));
    selected.push_back(0);
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
    const QByteArrayView trimmed = trimmedSpaces(line);
    static constexpr char kHeader[] = "[event";
    if (trimmed.size() < 6)
        return false;
    for (qsizetype i = 0; i < 6; ++i) {
        char c = trimmed[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != kHeader[i])
            return false;
    }
    return true;
}

QByteArray folderOfTrackDirectory(QByteArrayView line) {
    const QByteArray trimmed = trimSpaces(line);
    if (trimmed.size() < 15)
        throw RuntimeError(ErrorCode::InvalidArgument);
    return trimmed.mid(15);
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
    return true;
}

void scanEvents(const QByteArray& data,
                const std::function<void(EventEntries&& entries, QByteArray&& folder)>& onEvent) {
    LineReader reader(data);
    QByteArrayView line;
    while (reader.next(line)) {
        if (!isEventHeader(line))
            continue;
        EventEntries entries;
        for (QByteArray& entry : entries.entry) {
            if (!reader.next(line))
                throw RuntimeError(ErrorCode::PastEndOfFile);
            entry = line.toByteArray();
        }
        QByteArray folder = folderOfTrackDirectory(entries.entry[2]);
        onEvent(std::move(entries), std::move(folder));
    }
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
    put("\r\n");
}

QByteArray SeasonFileBuilder::take() {
    out_.resize(used_);
    used_ = 0;
    return std::move(out_);
}

qsizetype entryBytes(const std::vector<EventEntries>& events) {
    qsizetype total = 0;
    for (const EventEntries& e : events)
        for (const QByteArray& line : e.entry)
            total += line.size();
    return total;
}

} // namespace gk
