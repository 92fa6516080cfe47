// SPDX-License-Identifier: GPL-3.0-or-later
// The game's real processes: Wine on Linux, CreateProcess on Windows.
#include "qt_processes.h"

#include "code_page.h"
#include "runtime_error.h"
#include "windows_args.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "win32_start.h"

#include <QWinEventNotifier>
#else
#include <unistd.h>
#endif

namespace gk {

#ifdef Q_OS_WIN

void QtProcesses::startAndWait(const QString& commandLine, const QString& workingDir) {
    win32::Started started = win32::start(commandLine.toStdWString(), workingDir.toStdWString());
    if (!started.process) {
        if (started.notFound)
            throw RuntimeError(ErrorCode::FileNotFound);
        throw RuntimeError(ErrorCode::PathFileAccess, QString::fromStdWString(started.message));
    }
    // The wait runs the program's events; it wakes only when the process ends.
    QEventLoop loop;
    QWinEventNotifier ended(started.process.handle());
    QObject::connect(&ended, &QWinEventNotifier::activated, &loop, &QEventLoop::quit);
    if (started.process.running())
        loop.exec();
    // Left early only when the program quits: the launch still finishes after the game.
    started.process.wait();
}

QString QtProcesses::pathSeenByGame(const QString& folder) {
    return folder;
}

bool QtProcesses::gameRunning(const QString&) {
    return win32::windowExists(L"Papyrus Window");
}

#else

namespace {

QString homePrefix() {
    return QDir::homePath() + QLatin1String("/.wine");
}

QString cleanPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The prefix a game in `folder` runs in: the folder's own, else the caller's.
QString prefixOf(const QString& folder) {
    const QString own = winePrefixOf(folder);
    if (!own.isEmpty())
        return own;
    const QString callers = qEnvironmentVariable("WINEPREFIX");
    return cleanPath(callers.isEmpty() ? homePrefix() : callers);
}

// The program that runs the game: the one WINE names, or `wine` on the search path; "" when
// there is none.
QString wineProgram() {
    QString wine = qEnvironmentVariable("WINE", QStringLiteral("wine"));
    if (!wine.contains(QLatin1Char('/')))
        wine = QStandardPaths::findExecutable(wine);
    return !wine.isEmpty() && QFileInfo(wine).isExecutable() ? wine : QString();
}

bool namesGame(const QByteArray& arg) {
    const qsizetype cut = std::max(arg.lastIndexOf('/'), arg.lastIndexOf('\\'));
    return arg.mid(cut + 1).toLower() == "gpl.exe";
}

QByteArray readProcFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The executable a process runs; "" when it cannot be read (another user's process).
QString executableOf(const QString& procDir) {
    char target[4096];
    const ssize_t n = ::readlink(QFile::encodeName(procDir + QLatin1String("/exe")).constData(),
                                 target, sizeof target);
    if (n <= 0)
        return {};
    QString path = QFile::decodeName(QByteArray(target, n));
    if (path.endsWith(QLatin1String(" (deleted)"))) // replaced while it runs: an update
        path.chop(10);
    return path;
}

// Wine's loaders, or the program that runs the game here (a stand-in named by WINE).
bool isWineProcess(const QString& executable, const QString& startedBy) {
    static const QStringList kLoaders = {QStringLiteral("wine"), QStringLiteral("wine64"),
                                         QStringLiteral("wine-preloader"),
                                         QStringLiteral("wine64-preloader")};
    if (executable.isEmpty())
        return false;
    return kLoaders.contains(QFileInfo(executable).fileName()) || executable == startedBy;
}

// The folder's path as the system names it, links resolved; "" when it cannot be resolved.
QByteArray realPath(const QString& folder) {
    char* real = ::realpath(QFile::encodeName(folder).constData(), nullptr);
    if (!real)
        return {};
    QByteArray path(real);
    std::free(real);
    return path;
}

// Wine reads its arguments and file names in the encoding of LC_CTYPE, and they are UTF-8 here
// whatever the caller's locale. LC_ALL would override LC_CTYPE: it gives way to the
// categories it stood for, so that only LC_CTYPE changes.
void useUtf8Ctype(QProcessEnvironment& env) {
    static const char* const kCategories[] = {"LC_COLLATE",     "LC_MESSAGES",      "LC_MONETARY",
                                              "LC_NUMERIC",     "LC_TIME",          "LC_PAPER",
                                              "LC_NAME",        "LC_ADDRESS",       "LC_TELEPHONE",
                                              "LC_MEASUREMENT", "LC_IDENTIFICATION"};
    QString ctype = env.value(QStringLiteral("LC_ALL"));
    if (!ctype.isEmpty()) {
        for (const char* category : kCategories)
            env.insert(QLatin1String(category), ctype);
        env.remove(QStringLiteral("LC_ALL"));
    } else {
        ctype = env.value(QStringLiteral("LC_CTYPE"));
        if (ctype.isEmpty())
            ctype = env.value(QStringLiteral("LANG"));
    }
    const QString lower = ctype.toLower();
    const bool utf8 =
        lower.contains(QLatin1String("utf-8")) || lower.contains(QLatin1String("utf8"));
    env.insert(QStringLiteral("LC_CTYPE"), utf8 ? ctype : QStringLiteral("C.UTF-8"));
}

// What the game's process writes to stderr goes on to this program's stderr as it comes; the
// lines Wine writes about itself ("wine: cannot find ...") are kept.
class WineMessages {
  public:
    void add(const QByteArray& chunk) {
        std::fwrite(chunk.constData(), 1, static_cast<size_t>(chunk.size()), stderr);
        std::fflush(stderr);
        pending_ += chunk;
        qsizetype start = 0;
        for (qsizetype end; (end = pending_.indexOf('\n', start)) >= 0; start = end + 1)
            keep(QByteArrayView(pending_).sliced(start, end - start));
        pending_.remove(0, start);
        if (pending_.size() > 4096) // no line of Wine's; a game's output without line ends
            pending_.clear();
    }
    QStringList lines() {
        keep(std::exchange(pending_, {}));
        return lines_;
    }

  private:
    void keep(QByteArrayView line) {
        if (line.startsWith("wine: ") && lines_.size() < 20)
            lines_ << QString::fromUtf8(line).trimmed();
    }
    QByteArray pending_;
    QStringList lines_;
};

} // namespace

void QtProcesses::startAndWait(const QString& commandLine, const QString& workingDir) {
    const QString folder = cleanPath(files_.nativePath(workingDir));
    const QString ownPrefix = winePrefixOf(folder);
    const QString prefix = prefixOf(folder);
    // The executable as Windows finds it: an unquoted command line is tried up to each space.
    QString exe;
    for (const QString& candidate : programCandidates(commandLine)) {
        for (QString name : {candidate, candidate + QLatin1String(".exe")}) {
            name = files_.nativePath(wineNativePath(name, prefix));
            if (QFileInfo(name).isFile()) {
                exe = name;
                break;
            }
        }
        if (!exe.isEmpty())
            break;
    }
    const QString wine = wineProgram();
    if (exe.isEmpty() || wine.isEmpty())
        throw RuntimeError(ErrorCode::FileNotFound);
    // Wine names files in UTF-8 (see useUtf8Ctype): a folder whose real name is no UTF-8
    // cannot be named to it.
    const QByteArray real = realPath(folder);
    if (!isUtf8(real))
        throw RuntimeError(ErrorCode::BadFileName,
                           QStringLiteral("The path of the game folder (%1) is not valid UTF-8, "
                                          "and Wine cannot start GPL from such a folder. Rename "
                                          "the folder so that its name is valid UTF-8.")
                               .arg(QString::fromUtf8(real)));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!ownPrefix.isEmpty())
        env.insert(QStringLiteral("WINEPREFIX"), ownPrefix);
    useUtf8Ctype(env);

    QProcess process;
    process.setProgram(wine);
    process.setArguments(QStringList{exe} + splitWindowsCommandLine(commandLine).mid(1));
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    WineMessages wineSaid;
    QEventLoop loop;
    bool ended = false;
    bool failed = false;
    QObject::connect(&process, &QProcess::readyReadStandardError, &loop,
                     [&] { wineSaid.add(process.readAllStandardError()); });
    QObject::connect(&process, &QProcess::finished, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        ended = failed = true;
        loop.quit();
    });
    child_ = &process;
    process.start();
    // The wait runs the program's events; it wakes only when the process ends.
    if (!ended)
        loop.exec();
    // The program is quitting (which ends every event loop) while the game runs: the game is
    // left running, and the wait goes on so that the launch finishes after it.
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(-1);
    child_ = nullptr;
    if (failed)
        throw RuntimeError(ErrorCode::PathFileAccess, process.errorString());
    wineSaid.add(process.readAllStandardError());
    // Wine that could not load the program says so and fails; a game that ran and failed
    // has nothing of Wine's to say.
    const QStringList said = wineSaid.lines();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() != 0 && !said.isEmpty())
        throw RuntimeError(ErrorCode::PathFileAccess,
                           QStringLiteral("Wine could not start GPL:\r\n\r\n") +
                               said.join(QStringLiteral("\r\n")));
}

QString QtProcesses::pathSeenByGame(const QString& folder) {
    const QString native = cleanPath(files_.nativePath(folder));
    return wineDosPath(native, winePrefixOf(native));
}

bool QtProcesses::gameRunning(const QString& gameDir) {
    if (child_ && child_->state() != QProcess::NotRunning)
        return true;
    const QString prefix = prefixOf(cleanPath(files_.nativePath(gameDir)));
    const QString wine = wineProgram();
    const QString startedBy = wine.isEmpty() ? QString() : QFileInfo(wine).canonicalFilePath();

    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid[0].isDigit() || pid == self)
            continue;
        const QString dir = QLatin1String("/proc/") + pid;
        const QList<QByteArray> args = readProcFile(dir + QLatin1String("/cmdline")).split('\0');
        if (!namesGame(args.value(0)) && !namesGame(args.value(1)))
            continue;
        // A pager or editor on a file gpl.exe is no game.
        if (!isWineProcess(executableOf(dir), startedBy))
            continue;
        QString theirs = homePrefix();
        for (const QByteArray& var : readProcFile(dir + QLatin1String("/environ")).split('\0'))
            if (var.startsWith("WINEPREFIX="))
                theirs = QFile::decodeName(var.mid(11));
        if (cleanPath(theirs) == prefix)
            return true;
    }
    return false;
}

#endif

} // namespace gk
