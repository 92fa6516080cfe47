// SPDX-License-Identifier: GPL-3.0-or-later
// Runs gridkeeper-cli as a process over a temporary game folder.
#pragma once

#include "game_folder.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace gk::test {

// gridkeeper-cli on a game folder, with the tool's settings in the folder's root.
struct CliRig {
    explicit CliRig(const QString& below) : game(below) {
        env.insert(u"GRIDKEEPER_CONFIG_DIR"_s, game.root());
    }
    struct Result {
        int status = -1;
        QByteArray out, err;
    };
    // gridkeeper-cli --gpl-dir with the arguments, in which "\\xHH" stands for a byte; the folder
    // named by the bytes `rawDir` when they are set (a name that need not be UTF-8).
    void start(QProcess& p, const QStringList& args) {
        QString dir;
        for (const char c : rawDir.isEmpty() ? QFile::encodeName(game.dir()) : rawDir)
            dir += u"\\x%1"_s.arg(static_cast<uchar>(c), 2, 16, QLatin1Char('0'));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(workingDir);
        p.start(u"bash"_s,
                QStringList{u"-c"_s,
                            u"a=(); for x in \"${@:2}\"; do a+=(\"$(printf %b \"$x\")\"); done; "
                            "exec \"$0\" --gpl-dir \"$(printf %b \"$1\")\" \"${a[@]}\""_s,
                            QStringLiteral(GK_CLI_PATH), dir} +
                    args);
    }
    Result run(const QStringList& args) {
        QProcess p;
        start(p, args);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

    GameFolder game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QByteArray rawDir;
    QString workingDir; // the tool's, when set
};

} // namespace gk::test
