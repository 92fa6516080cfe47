// SPDX-License-Identifier: GPL-3.0-or-later
// Windows command lines and Wine paths.
#include "platform/windows_args.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using namespace Qt::StringLiterals;

// The arguments a Windows program makes of its command line (joined here by '|'), and the paths
// of folders under Wine.
TEST(Launch, WindowsArgumentsAndWinePaths) {
    const std::pair<const char*, const char*> splits[] = {
        {"C:\\G\\gpl.exe -ko\"20:P I:team:2\"", "C:\\G\\gpl.exe|-ko20:P I:team:2"},
        {"\"C:\\a b\\x.exe\"a  b\t", "C:\\a b\\x.exe|a|b"},
        {"x a\\\\\\\"b \\\\\\\\\"c d\" e\\f\\", "x|a\\\"b|\\\\c d|e\\f\\"},
        {"x \"\" b \"\"\"\"\"\" \"a\"\"b\"", "x||b|\"\"|a\"b"},
        {"x \"open end", "x|open end"},
    };
    for (const auto& [line, args] : splits)
        EXPECT_EQ(splitWindowsCommandLine(QString::fromLatin1(line)).join(u'|'),
                  QString::fromLatin1(args))
            << line;

    // A folder's Wine path and back, and its prefix (<R>/pfx, which holds Wine's registry, for a
    // C: path; none for a Z: path); <R> stands for a temporary folder.
    QTemporaryDir tmp;
    QDir(tmp.path()).mkpath(u"x/drive_c"_s);
    QDir(tmp.path()).mkpath(u"pfx/drive_c"_s);
    QFile(tmp.path() + u"/pfx/system.reg"_s).open(QIODevice::WriteOnly);
    const auto fill = [&](const char* text) {
        const QString zroot = u"Z:"_s + QString(tmp.path()).replace(u'/', u'\\');
        return QString::fromLatin1(text).replace(u"<ZR>"_s, zroot).replace(u"<R>"_s, tmp.path());
    };
    const std::pair<const char*, const char*> cases[] = {
        {"<R>/pfx/drive_c/G PL", "C:\\G PL"},
        {"<R>/pfx/drive_c", "C:"},
        {"<R>/pfx/drive_c/x/drive_c/G", "C:\\x\\drive_c\\G"},
        {"<R>/x/drive_c/G", "<ZR>\\x\\drive_c\\G"},
        {"<R>/pfx/Drive_C/G", "<ZR>\\pfx\\Drive_C\\G"},
        {"/", "Z:"},
    };
    for (const auto& [native, dos] : cases) {
        const QString prefix = winePrefixOf(fill(native));
        EXPECT_EQ(prefix, fill(dos).startsWith(u"C:"_s) ? fill("<R>/pfx") : QString()) << native;
        EXPECT_EQ(wineDosPath(fill(native), prefix), fill(dos)) << native;
        EXPECT_EQ(wineNativePath(fill(dos), prefix), fill(native)) << native;
    }
    EXPECT_EQ(wineNativePath(u"c:/G"_s, u"/p"_s), u"/p/drive_c/G"_s);
    for (const QString& other : {u"D:\\G"_s, u"G\\gpl.exe"_s, u"/G/gpl.exe"_s})
        EXPECT_EQ(wineNativePath(other, u"/p"_s), other);
}

} // namespace
} // namespace gk::test
