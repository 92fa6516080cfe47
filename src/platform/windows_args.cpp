#include "windows_args.h"

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
    for (qsizetype i = parts.size() - 1; i > 0; --i)
        if (parts[i].compare(QLatin1String("drive_c"), Qt::CaseInsensitive) == 0)
            return parts.mid(0, i).join(QLatin1Char('/'));
    return {};
}

} // namespace gk
