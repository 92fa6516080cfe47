#include "qt_processes.h"

#include "runtime_error.h"
#include "windows_args.h"

#include <algorithm>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#include <windows.h>
#endif

namespace gk {

#ifdef Q_OS_WIN

void QtProcesses::startAndWait(const QString& commandLine, const QString& workingDir) {
    std::wstring text = commandLine.toStdWString();
    const std::wstring folder = workingDir.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            throw RuntimeError(ErrorCode::FileNotFound);
        throw RuntimeError(ErrorCode::PathFileAccess, qt_error_string(static_cast<int>(error)));
    }
    CloseHandle(info.hThread);
    QEventLoop loop;
    QWinEventNotifier ended(info.hProcess);
    QObject::connect(&ended, &QWinEventNotifier::activated, &loop, [&loop] { loop.quit(); });
    loop.exec();
    // Left early only when the program quits: the launch still finishes after the game.
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
}

bool QtProcesses::gameRunning(const QString&) {
    return FindWindowA(nullptr, "Papyrus Window") != nullptr;
}

#else

namespace {

QString homePrefix() {
    return QDir::homePath() + QLatin1String("/.wine");
}

QString cleanPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool namesGame(const QByteArray& arg) {
    const qsizetype cut = std::max(arg.lastIndexOf('/'), arg.lastIndexOf('\\'));
    return arg.mid(cut + 1).toLower() == "gpl.exe";
}

QByteArray readProcFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void QtProcesses::startAndWait(const QString& commandLine, const QString& workingDir) {
    // The executable as Windows finds it: an unquoted command line is tried up to each space.
    QString exe;
    for (const QString& candidate : programCandidates(commandLine)) {
        for (QString name : {candidate, candidate + QLatin1String(".exe")}) {
            name = files_.nativePath(name);
            if (QFileInfo(name).isFile()) {
                exe = name;
                break;
            }
        }
        if (!exe.isEmpty())
            break;
    }
    QString wine = qEnvironmentVariable("WINE", QStringLiteral("wine"));
    if (!wine.contains(QLatin1Char('/')))
        wine = QStandardPaths::findExecutable(wine);
    if (exe.isEmpty() || wine.isEmpty() || !QFileInfo(wine).isExecutable())
        throw RuntimeError(ErrorCode::FileNotFound);

    const QString folder = cleanPath(files_.nativePath(workingDir));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString prefix = winePrefixOf(folder);
    if (!prefix.isEmpty())
        env.insert(QStringLiteral("WINEPREFIX"), prefix);

    QProcess process;
    process.setProgram(wine);
    process.setArguments(QStringList{exe} + splitWindowsCommandLine(commandLine).mid(1));
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    bool ended = false;
    bool failed = false;
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
}

bool QtProcesses::gameRunning(const QString& gameDir) {
    if (child_ && child_->state() != QProcess::NotRunning)
        return true;
    QString prefix = winePrefixOf(cleanPath(files_.nativePath(gameDir)));
    if (prefix.isEmpty())
        prefix = qEnvironmentVariable("WINEPREFIX", homePrefix());
    prefix = cleanPath(prefix);

    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid[0].isDigit() || pid == self)
            continue;
        const QString dir = QLatin1String("/proc/") + pid;
        const QList<QByteArray> args = readProcFile(dir + QLatin1String("/cmdline")).split('\0');
        if (!namesGame(args.value(0)) && !namesGame(args.value(1)))
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
