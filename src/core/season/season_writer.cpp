// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of the season files, and the order of an alphabetical write.
#include "season_writer.h"

#include "platform/code_page.h"
#include "season_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

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

namespace {

// The weight of each byte in the order of sort keys, compared weight by weight and then by
// length (a key that ends comes first):
//   ","  first of all, so that a name comes before every longer name that begins with it
//        (the key "spa,3" before "spa b,1", "spa2,0" and "spa_x,5");
//   the other bytes below 0x80 that are neither digits nor letters (NUL, control characters,
//        space, punctuation), in the order of their values: "* monza" before "a_b" before "a1";
//   the digits;
//   the letters, upper and lower case equal;
//   the bytes 0x80 to 0xFF last, in the order of their lower-case byte values, upper and lower
//        case equal (so "\xC9" and "\xE9" weigh the same): the code page's accented letters
//        and its own punctuation after every ASCII letter, never spread among them.
std::array<uint8_t, 256> makeWeights() {
    const auto isDigit = [](int b) { return b >= '0' && b <= '9'; };
    const auto isLetter = [](int b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); };
    std::array<uint8_t, 256> weight{};
    int w = 0;
    weight[','] = static_cast<uint8_t>(w++);
    for (int b = 0; b < 0x80; ++b)
        if (b != ',' && !isDigit(b) && !isLetter(b))
            weight[static_cast<size_t>(b)] = static_cast<uint8_t>(w++);
    for (int b = '0'; b <= '9'; ++b)
        weight[static_cast<size_t>(b)] = static_cast<uint8_t>(w++);
    for (int b = 'a'; b <= 'z'; ++b) {
        weight[static_cast<size_t>(b)] = static_cast<uint8_t>(w);
        weight[static_cast<size_t>(b) - 'a' + 'A'] = static_cast<uint8_t>(w++);
    }
    // lowerGameByte maps the bytes 0x80 to 0xFF among themselves.
    for (int b = 0x80; b < 0x100; ++b)
        weight[static_cast<size_t>(b)] = static_cast<uint8_t>(
            w + static_cast<unsigned char>(lowerGameByte(static_cast<char>(b))) - 0x80);
    return weight;
}

const std::array<uint8_t, 256> kWeights = makeWeights();

uint8_t weightOf(char c) {
    return kWeights[static_cast<unsigned char>(c)];
}

// A sort key without building it: the trimmed row text, then "," and the decimal position.
struct KeyView {
    QByteArrayView text;
    std::array<char, 12> tail{}; // "," and the digits
    qsizetype tailSize = 0;

    qsizetype size() const { return text.size() + tailSize; }
    char at(qsizetype i) const {
        return i < text.size() ? text[i] : tail[static_cast<size_t>(i - text.size())];
    }
};

// The weights of seven bytes of a key from `depth` on, big-endian, then the number of them
// that are real (0 to 7): comparing two chunks compares those weights, and a key that ends
// sorts before a longer one even where the longer one holds a byte of weight 0.
uint64_t chunkAt(const KeyView& key, qsizetype depth) {
    uint64_t value = 0;
    qsizetype n = 0;
    const qsizetype size = key.size();
    for (; n < 7 && depth + n < size; ++n)
        value = (value << 8) | weightOf(key.at(depth + n));
    value <<= 8 * (7 - n);
    return (value << 8) | static_cast<uint64_t>(n);
}

struct Chunk {
    uint64_t value = 0;
    int32_t index = 0;
};

// Least-significant-byte radix sort of the chunks: linear in their number.
void radixByChunk(Chunk* items, Chunk* scratch, size_t n) {
    for (int shift = 0; shift < 64; shift += 8) {
        std::array<size_t, 257> start{};
        for (size_t i = 0; i < n; ++i)
            ++start[((items[i].value >> shift) & 0xFF) + 1];
        if (start[((items[0].value >> shift) & 0xFF) + 1] == n)
            continue; // every chunk has the same byte here
        for (size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (size_t i = 0; i < n; ++i)
            scratch[start[(items[i].value >> shift) & 0xFF]++] = items[i];
        std::copy(scratch, scratch + n, items);
    }
}

// Orders items[lo, hi) by their keys from byte `depth` on, seven bytes at a time.
void sortByKey(std::vector<Chunk>& items, std::vector<Chunk>& scratch, size_t lo, size_t hi,
               qsizetype depth, const std::vector<KeyView>& keys) {
    for (size_t i = lo; i < hi; ++i)
        items[i].value = chunkAt(keys[static_cast<size_t>(items[i].index)], depth);
    radixByChunk(items.data() + lo, scratch.data() + lo, hi - lo);
    // Keys whose seven bytes agree and go on are ordered by what follows.
    for (size_t i = lo; i < hi;) {
        size_t j = i + 1;
        while (j < hi && items[j].value == items[i].value)
            ++j;
        if (j - i > 1 && (items[i].value & 0xFF) == 7)
            sortByKey(items, scratch, i, j, depth + 7, keys);
        i = j;
    }
}

} // namespace

std::vector<int> sortOrder(std::span<const TrackRow> rows) {
    const size_t n = rows.size();
    std::vector<KeyView> keys(n);
    // The rows' texts are taken in one sweep over the rows first, and trimmed after: a row and
    // then its text's bytes are two waits for memory in a row, which the sweep keeps apart.
    for (size_t i = 0; i < n; ++i)
        keys[i].text = rows[i].text;
    for (size_t i = 0; i < n; ++i) {
        KeyView& key = keys[i];
        key.text = trimmedSpaces(key.text);
        key.tail[0] = ',';
        const auto end =
            std::to_chars(key.tail.data() + 1, key.tail.data() + key.tail.size(), i).ptr;
        key.tailSize = end - key.tail.data();
    }
    std::vector<Chunk> items(n);
    std::vector<Chunk> scratch(n);
    for (size_t i = 0; i < n; ++i)
        items[i].index = static_cast<int32_t>(i);
    sortByKey(items, scratch, 0, n, 0, keys);
    std::vector<int> order;
    order.reserve(n);
    for (const Chunk& item : items)
        order.push_back(item.index);
    return order;
}

QByteArray seasonFileBytes(QByteArrayView name, std::span<const TrackRow> active) {
    SeasonFileBuilder file(name, static_cast<qsizetype>(active.size()), entryBytes(active));
    qsizetype k = 0;
    for (const TrackRow& row : active)
        file.addEvent(++k, row.entries);
    return file.take();
}

QByteArray seasonFileBytes(QByteArrayView name, std::span<const TrackRow> active,
                           const std::vector<int>& order) {
    SeasonFileBuilder file(name, static_cast<qsizetype>(order.size()), entryBytes(active));
    qsizetype k = 0;
    for (int position : order)
        file.addEvent(++k, active[static_cast<size_t>(position)].entries);
    return file.take();
}

QByteArray allTracksFileBytes(std::span<const TrackRow> active,
                              std::span<const TrackRow> inactive) {
    SeasonFileBuilder file(season_names::kAllTracks,
                           static_cast<qsizetype>(active.size() + inactive.size()),
                           entryBytes(active) + entryBytes(inactive));
    qsizetype k = 0;
    for (const TrackRow& row : active)
        file.addEvent(++k, row.entries);
    k = 0;
    for (const TrackRow& row : inactive)
        file.addEvent(++k, row.entries);
    return file.take();
}

} // namespace gk
