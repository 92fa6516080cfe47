#include "harness.h"

namespace gk::test {

std::vector<QByteArray> foldersOf(const std::vector<EventEntries>& entries) {
    std::vector<QByteArray> out;
    for (const EventEntries& e : entries)
        out.push_back(e.entry[2].mid(15));
    return out;
}

} // namespace gk::test
