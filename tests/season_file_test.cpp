#include "platform/code_page.h"
#include "platform/runtime_error.h"
#include "season/season_file.h"
#include "season/season_writer.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

namespace gk {
namespace {

struct Scanned {
    std::vector<EventEntries> events;
    std::vector<QByteArray> folders;
    int error = 0;
    QString description;
};

Scanned scan(const QByteArray& data) {
    Scanned s;
    try {
        scanEvents(
            data,
            [&](EventEntries&& e, QByteArray&& folder) {
                s.events.push_back(std::move(e));
                s.folders.push_back(std::move(folder));
            },
            QStringLiteral("67season.ini"));
    } catch (const RuntimeError& e) {
        s.error = e.number();
        s.description = e.description();
    }
    return s;
}

QByteArray event(const char* header, const char* dir) {
    return QByteArray(header) + "\r\nn\r\ns\r\n" + dir + "\r\nm\r\nd\r\nl\r\ng\r\n\r\n";
}

TEST(EventScan, FindsEventsByTheirHeaderOnly) {
    struct Case {
        const char* name;
        QByteArray data;
        std::vector<QByteArray> folders;
        int error;
    };
    const std::vector<Case> cases = {
        {"no header at all", "[Season]\r\nname=x\r\nnumEvents=3\r\n", {}, 0},
        {"empty file", "", {}, 0},
        {"count line is ignored",
         "numEvents=3\r\n" + event("[Event1]", "trackDirectory=a") +
             event("[Event2]", "trackDirectory=b") + event("[Event3]", "trackDirectory=c") +
             event("[Event4]", "trackDirectory=d") + event("[Event5]", "trackDirectory=e"),
         {"a", "b", "c", "d", "e"},
         0},
        {"header spellings",
         event("[EVENT12]", "trackdirectory=a") + event("   [Event3]  ", "TRACKDIRECTORY=b") +
             event("[Events]", "trackDirectory=c"),
         {"a", "b", "c"},
         0},
        {"a tab hides the header", "\t" + event("[Event1]", "trackDirectory=a"), {}, 0},
        {"restarted numbering",
         event("[Event1]", "trackDirectory=a") + event("[Event1]", "trackDirectory=b"),
         {"a", "b"},
         0},
        {"spaces around the directory line",
         event("[Event1]", "  trackDirectory=monza  "),
         {"monza"},
         0},
        {"exactly 15 characters", event("[Event1]", "trackDirectory="), {""}, 0},
        {"short directory line", event("[Event1]", "trackDir=a") + event("[Event2]", "x"), {}, 5},
        {"short line after a good event",
         event("[Event1]", "trackDirectory=a") + event("[Event2]", "trackDir"),
         {"a"},
         5},
        {"file ends inside an event",
         event("[Event1]", "trackDirectory=a") + "[Event2]\r\nn\r\ns\r\ntrackDirectory=b\r\n",
         {"a"},
         62},
        {"LF and CR line ends", "[Event1]\nn\rs\ntrackDirectory=lf\nm\nd\nl\ng", {"lf"}, 0},
        {"a header among the entries is a malformed file",
         "[Event1]\r\n[Event2]\r\ns\r\ntrackDirectory=a\r\nm\r\nd\r\nl\r\ng\r\n",
         {},
         321},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + event("[Event1]", "trackDirectory=a"), {"a"}, 0},
        {"UTF-16 byte-order mark", "\xFF\xFE" + event("[Event1]", "trackDirectory=a"), {}, 321},
        {"UTF-16 without a mark", QByteArray("[\0E\0v\0", 6), {}, 321},
    };
    for (const Case& c : cases) {
        const Scanned s = scan(c.data);
        EXPECT_EQ(s.folders, c.folders) << c.name;
        EXPECT_EQ(s.error, c.error) << c.name;
    }
}

TEST(EventScan, KeepsEveryByteOfEveryEntry) {
    QByteArray odd("name=Gro\xDF"
                   "er Preis \x80\x81\xFF",
                   21);
    odd.append('\0');
    odd.append(" tail  ");
    const QByteArray dir = QByteArray("trackDirectory=n\xFCrburg\0ring", 27);
    const QByteArray data =
        "[Event1]\r\n" + odd + "\r\n  s  \r\n" + dir + "\r\nm\r\n\r\nl\r\ng\r\n";
    const Scanned s = scan(data);
    ASSERT_EQ(s.events.size(), 1u);
    EXPECT_EQ(s.events[0].entry[0], odd);
    EXPECT_EQ(s.events[0].entry[1], "  s  ");
    EXPECT_EQ(s.events[0].entry[4], "");
    EXPECT_EQ(s.folders[0], QByteArray("n\xFCrburg\0ring", 12));
}

// Lines after the seventh entry travel with the event; a load that stops says where.
TEST(EventScan, KeepsExtraLinesAndNamesFileAndEventOfAFault) {
    struct Case {
        const char* name;
        QByteArray data;
        std::vector<std::vector<QByteArray>> extra; // per event read
        QString description;
    };
    const QByteArray two = event("[Event1]", "trackDirectory=a");
    const std::vector<Case> cases = {
        {"extra keys and notes, blank lines dropped",
         event("[Event1]", "trackDirectory=a") + "displayName=Monza GP\r\n \t\r\n; mine \r\n" +
             event("[Event2]", "trackDirectory=b") + "flag=it",
         {{"displayName=Monza GP", "; mine "}, {"flag=it"}},
         {}},
        {"ends inside an event",
         two + "[Event2]\r\nn\r\n",
         {{}},
         QStringLiteral("Input past end of file: 67season.ini ends inside event 2 (line 10).")},
        {"a header among the entries",
         two + "[Event2]\r\nn\r\n" + two,
         {{}},
         QStringLiteral("Invalid file format: event 2 of 67season.ini (line 10) has fewer than "
                        "seven lines before the next event header.")},
        {"short track-directory line",
         two + event("[Event2]", "track=monaco"),
         {{}},
         QStringLiteral("Invalid procedure call or argument: the track-directory line of event 2 "
                        "of 67season.ini (line 10) gives no folder name: \"track=monaco\".")},
        {"UTF-16",
         "\xFE\xFF" + two,
         {},
         QStringLiteral("Invalid file format: 67season.ini is saved as Unicode (UTF-16), which "
                        "Gridkeeper cannot read. Open it in a text editor and save it as ANSI "
                        "(Windows-1252).")},
    };
    for (const Case& c : cases) {
        const Scanned s = scan(c.data);
        std::vector<std::vector<QByteArray>> extra;
        for (const EventEntries& e : s.events)
            extra.push_back(e.extra);
        EXPECT_EQ(extra, c.extra) << c.name;
        EXPECT_EQ(s.description, c.description) << c.name;
    }
}

TEST(SeasonFileBuilder, WritesTheHeaderBlockAndEvents) {
    SeasonFileBuilder b("X", 2);
    EventEntries e;
    e.entry = {"1", "2", "trackDirectory=z", "4", "5", "6", "7"};
    b.addEvent(1, e);
    b.addEvent(1, e);
    const QByteArray out = b.take();
    EXPECT_TRUE(
        out.startsWith("[Season]\r\nname=X\r\nYear = 1967\r\nnumEvents=2\r\n\r\n[Event1]\r\n"));
    EXPECT_TRUE(out.endsWith("6\r\n7\r\n\r\n"));
    EXPECT_EQ(out.count("\r\n"), 5 + 9 * 2);
    EXPECT_EQ(scan(out).folders, (std::vector<QByteArray>{"z", "z"}));
}

TEST(CodePage, EveryByteSurvivesDecodingAndEncoding) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeGameText(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text[undefined], QChar(undefined));
    EXPECT_EQ(encodeGameText(text), std::optional<QByteArray>(all));
}

TEST(CodePage, RefusesCharactersOutsideTheCodePage) {
    EXPECT_FALSE(encodeGameText(QStringLiteral("Suzuka \u9234\u9e7f")).has_value());
    EXPECT_EQ(firstUnencodableCharacter(QStringLiteral("ab\u0141c")), QStringLiteral("\u0141"));
    EXPECT_EQ(firstUnencodableCharacter(QStringLiteral("Caf\u00e9 \u20ac")), QString());
}

} // namespace
} // namespace gk

namespace gk {
namespace {

// The order of the sort keys, written plainly from its rules: "," first, then the other ASCII
// bytes that are no digit or letter by value, digits, letters without case, then the bytes
// from 0x80 on by their lower-case value; a key that ends before a longer one.
bool keyBefore(const QByteArray& a, const QByteArray& b) {
    const auto rank = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        if (u == ',')
            return std::pair(0, 0);
        if (u >= 0x80)
            return std::pair(4, static_cast<int>(static_cast<unsigned char>(lowerGameByte(c))));
        if (std::isdigit(u))
            return std::pair(2, static_cast<int>(u));
        if (std::isalpha(u))
            return std::pair(3, std::tolower(u));
        return std::pair(1, static_cast<int>(u));
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return rank(x) < rank(y); });
}

// The radix sort gives the order of the plain comparison of the keys.
TEST(SortKeys, OrderEqualsThePlainKeyComparison) {
    static constexpr char kAlphabet[] =
        "aAbBzZ09,* ._-~!\x1F\x7F\xC0\xE0\xDE\xFE\xFF\x8A\x9A\x96\xD7\0";
    const QByteArray alphabet(kAlphabet, sizeof kAlphabet - 1); // the NUL byte included
    QRandomGenerator rng(42);
    for (int round = 0; round < 50; ++round) {
        std::vector<QByteArray> rows;
        const int n = static_cast<int>(rng.bounded(300));
        for (int i = 0; i < n; ++i) {
            QByteArray row;
            const int len = static_cast<int>(rng.bounded(6));
            for (int j = 0; j < len; ++j)
                row.append(alphabet[static_cast<qsizetype>(rng.bounded(alphabet.size()))]);
            rows.push_back(row);
        }
        const std::vector<int> sorted = sortOrder(rows);
        std::vector<std::pair<QByteArray, int>> expected;
        for (int i = 0; i < n; ++i)
            expected.push_back(
                {trimSpaces(rows[static_cast<size_t>(i)]) + "," + QByteArray::number(i), i});
        std::sort(expected.begin(), expected.end(),
                  [](const auto& a, const auto& b) { return keyBefore(a.first, b.first); });
        ASSERT_EQ(sorted.size(), expected.size());
        for (size_t i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i], expected[i].second) << round << " " << i;
    }
}

} // namespace
} // namespace gk
