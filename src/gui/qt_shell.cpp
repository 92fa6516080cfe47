// SPDX-License-Identifier: GPL-3.0-or-later
// The real desktop services: the busy pointer, centring, opening a mail link.
#include "qt_shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace gk {
namespace {

// Title bar and borders: what the window's frame adds to its size.
QSize frameExtra(const QWidget* window) {
    return window->frameGeometry().size() - window->size();
}

// A window centred before its first show does not know its frame yet: the window system adds
// it as the window appears. Once the frame is known the window is centred again, once, so that
// start-up leaves it where every later centring (after a game run) puts it.
class CentreOnceFramed : public QObject {
  public:
    static constexpr const char* kName = "centreOnceFramed";
    explicit CentreOnceFramed(QWidget* window) : QObject(window), extra_(frameExtra(window)) {
        setObjectName(QLatin1String(kName));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) {
            // Looked at after Qt's own handling of the event.
            QTimer::singleShot(0, this, [this, window = QPointer(static_cast<QWidget*>(watched))] {
                if (window && window->isVisible() && frameExtra(window) != extra_) {
                    window->removeEventFilter(this);
                    deleteLater();
                    QtShell::centerWindow(window);
                }
            });
        }
        return false;
    }

  private:
    QSize extra_;
};

} // namespace

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
        if (!window->isVisible()) {
            // Before its first show a window still has Qt's default size, and no frame.
            if (!window->testAttribute(Qt::WA_Resized))
                window->adjustSize();
            if (!window->findChild<QObject*>(QLatin1String(CentreOnceFramed::kName),
                                             Qt::FindDirectChildrenOnly))
                new CentreOnceFramed(window);
        }
        const QRect area = screen->availableGeometry();
        // The whole window, frame included, is centred; move() places the frame.
        const QSize size = window->frameGeometry().size();
        const double top = area.height() / 2.0 - size.height() / 2.0;
        const double left = area.width() / 2.0 - size.width() / 2.0;
        window->move(area.left() + static_cast<int>(left), area.top() + static_cast<int>(top));
    }
    QGuiApplication::restoreOverrideCursor();
}

} // namespace gk
