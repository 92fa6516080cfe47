// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper's main(): the real platform objects, the window, start-up.
#include "frm_main.h"
#include "game/game_finder.h"
#include "platform/qt_file_system.h"
#include "platform/qt_file_watch.h"
#include "platform/qt_processes.h"
#include "platform/qt_settings_store.h"
#include "qt_dialogs.h"
#include "qt_shell.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(gk::appTitle());
    // The desktop finds the window's entry and icon by this name (Wayland's application id).
    QApplication::setDesktopFileName(QStringLiteral(GRIDKEEPER_APP_ID));

    // The whole argument text is the game directory, as given.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString commandLine = arguments.join(QLatin1Char(' '));

    gk::QtSettingsStore settings;
    gk::QtDialogs dialogs;
    gk::QtFileSystem files;
    gk::QtShell shell;
    gk::QtFileWatch watch(files);
    gk::QtProcesses processes;
    const gk::GameSearchPlaces gameSearch = gk::systemGameSearchPlaces();
    gk::QtFileSystem detailsFiles; // the background reading's own
    gk::FormModel model({settings, dialogs, files, shell, &processes, &processes, &watch, false,
                         &gameSearch, &detailsFiles});
    gk::FrmMain window(model);
    dialogs.setParent(&window);
    shell.setMainWindow(&window);

    // Start-up: the checks that may end the program come before the window shows; the lists
    // are loaded right after its first frame.
    if (!model.startUp(commandLine))
        return 0;
    window.render();
    window.show();
    bool loaded = true;
    QTimer::singleShot(0, &window, [&] {
        loaded = model.loadWorkspace();
        if (!loaded) {
            QApplication::exit(0);
            return;
        }
        window.render();
    });

    // GRIDKEEPER_SCREENSHOT=file.png: save a picture of the window once shown, then quit.
    const QString screenshot = qEnvironmentVariable("GRIDKEEPER_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, &window, [&] {
            const bool saved = window.grab().save(screenshot);
            std::fprintf(saved ? stdout : stderr, "%s %s\n",
                         saved ? "Screenshot saved to" : "Could not save the screenshot to",
                         qUtf8Printable(screenshot));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
