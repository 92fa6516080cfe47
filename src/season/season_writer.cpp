#include "season_writer.h"

#include "platform/code_page.h"
#include "season_file.h"

#include <algorithm>

namespace gk {

int compareNoCase(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lowerGameByte(a[i]));
        const auto cb = static_cast<unsigned char>(lowerGameByte(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::vector<SortKey> sortedKeys(const std::vector<QByteArray>& rows) {
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        QByteArray key = trimSpaces(rows[i]);
        key.append(',');
        key.append(QByteArray::number(static_cast<qulonglong>(i)));
        keys.push_back({std::move(key), static_cast<int>(i)});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        return compareNoCase(a.key, b.key) < 0;
    });
    return keys;
}

QByteArray seasonFileBytes(QByteArrayView name, const std::vector<EventEntries>& active) {
    SeasonFileBuilder file(name, static_cast<qsizetype>(active.size()));
    qsizetype k = 0;
    for (const EventEntries& entries : active)
        file.addEvent(++k, entries);
    return file.take();
}

QByteArray seasonFileBytes(QByteArrayView name, const std::vector<EventEntries>& active,
                           const std::vector<SortKey>& order) {
    SeasonFileBuilder file(name, static_cast<qsizetype>(order.size()));
    qsizetype k = 0;
    for (const SortKey& key : order)
        file.addEvent(++k, active.at(static_cast<size_t>(key.position)));
    return file.take();
}

QByteArray allTracksFileBytes(const std::vector<EventEntries>& active,
                              const std::vector<EventEntries>& inactive) {
    SeasonFileBuilder file(season_names::kAllTracks,
                           static_cast<qsizetype>(active.size() + inactive.size()));
    qsizetype k = 0;
    for (const EventEntries& entries : active)
        file.addEvent(++k, entries);
    k = 0;
    for (const EventEntries& entries : inactive)
        file.addEvent(++k, entries);
    return file.take();
}

} // namespace gk
