// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli's main(): the real platform objects, then the command.
#include "cli.h"
#include "platform/qt_processes.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(GRIDKEEPER_VERSION));
    QList<QByteArray> arguments;
#ifdef Q_OS_WIN
    // Windows hands the arguments over as text.
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        arguments.append(argument.toUtf8());
#else
    // The exact bytes: an argument that is not UTF-8 is kept as typed.
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
#endif
    gk::QtProcesses processes;
    return gk::runCli(arguments, processes, processes);
}
