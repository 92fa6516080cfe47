#include "qt_shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace gk {

void QtShell::setBusyPointer(bool busy) {
    if (busy) {
        ++busyDepth_;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QGuiApplication::restoreOverrideCursor();
    }
}

void QtShell::centerMainWindow() {
    centerWindow(window_);
}

void QtShell::openUrl(const QString& url) {
    // The result is of no use: without a mail program nothing happens, as intended.
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void QtShell::centerWindow(QWidget* window) {
    if (!window)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size = window->frameGeometry().size();
        const double top = area.height() / 2.0 - size.height() / 2.0;
        const double left = area.width() / 2.0 - size.width() / 2.0;
        window->move(area.left() + static_cast<int>(left), area.top() + static_cast<int>(top));
    }
    QGuiApplication::restoreOverrideCursor();
}

} // namespace gk
