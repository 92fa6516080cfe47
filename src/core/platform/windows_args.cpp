// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows rules for command lines, and Wine's prefixes and paths.
#include "windows_args.h"

#include <QFileInfo>

namespace gk {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QStringList splitWindowsCommandLine(const QString& commandLine) {
    QStringList args;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;

    // The program name follows rules of its own.
    QString program;
    if (n > 0 && commandLine[0] == QLatin1Char('"')) {
        for (i = 1; i < n && commandLine[i] != QLatin1Char('"'); ++i)
            program += commandLine[i];
        if (i < n)
            ++i;
    } else {
        for (; i < n && !isBlank(commandLine[i]); ++i)
            program += commandLine[i];
    }
    args << program;

    while (i < n && isBlank(commandLine[i]))
        ++i;
    if (i == n)
        return args;

    QString arg;
    int backslashes = 0;
    int quotes = 0; // odd while inside a quoted part
    while (i < n) {
        const QChar c = commandLine[i];
        if (isBlank(c) && quotes == 0) {
            args << arg;
            arg.clear();
            while (i < n && isBlank(commandLine[i]))
                ++i;
            if (i == n)
                return args;
            backslashes = 0;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            arg += c;
            ++backslashes;
            ++i;
            continue;
        }
        if (c == QLatin1Char('"')) {
            arg.chop(backslashes / 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                arg.chop(1);
                arg += c;
            }
            backslashes = 0;
            ++i;
            // A run of quotes: every third one counts as a literal quote.
            for (; i < n && commandLine[i] == QLatin1Char('"'); ++i) {
                if (++quotes == 3) {
                    arg += c;
                    quotes = 0;
                }
            }
            if (quotes == 2)
                quotes = 0;
            continue;
        }
        arg += c;
        backslashes = 0;
        ++i;
    }
    args << arg;
    return args;
}

QStringList programCandidates(const QString& commandLine) {
    if (commandLine.startsWith(QLatin1Char('"'))) {
        const qsizetype end = commandLine.indexOf(QLatin1Char('"'), 1);
        return {end < 0 ? commandLine.mid(1) : commandLine.mid(1, end - 1)};
    }
    QStringList candidates;
    for (qsizetype i = 0; i < commandLine.size(); ++i)
        if (isBlank(commandLine[i]) && i > 0)
            candidates << commandLine.left(i);
    candidates << commandLine;
    return candidates;
}

QString winePrefixOf(const QString& nativePath) {
    const QStringList parts = nativePath.split(QLatin1Char('/'));
    for (qsizetype i = parts.size() - 1; i > 0; --i) {
        if (parts[i] != QLatin1String("drive_c"))
            continue;
        const QString prefix = parts.mid(0, i).join(QLatin1Char('/'));
        if (QFileInfo(prefix + QLatin1String("/system.reg")).isFile())
            return prefix;
    }
    return {};
}

QString wineDosPath(const QString& nativePath, const QString& prefix) {
    const QString driveC = prefix + QLatin1String("/drive_c");
    QString drive = QStringLiteral("Z:");
    QString rest = nativePath == QLatin1String("/") ? QString() : nativePath;
    if (!prefix.isEmpty() &&
        (nativePath == driveC || nativePath.startsWith(driveC + QLatin1Char('/')))) {
        drive = QStringLiteral("C:");
        rest = nativePath.mid(driveC.size());
    }
    return drive + rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString wineNativePath(const QString& dosPath, const QString& prefix) {
    const bool drivePath =
        dosPath.size() >= 2 && dosPath[1] == QLatin1Char(':') &&
        (dosPath.size() == 2 || dosPath[2] == QLatin1Char('\\') || dosPath[2] == QLatin1Char('/'));
    if (!drivePath)
        return dosPath;
    QString rest = dosPath.mid(2).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QChar letter = dosPath[0].toLower();
    if (letter == QLatin1Char('z'))
        return rest.isEmpty() ? QStringLiteral("/") : rest;
    if (letter == QLatin1Char('c'))
        return prefix + QLatin1String("/drive_c") + rest;
    return dosPath;
}

} // namespace gk
