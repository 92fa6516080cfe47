// SPDX-License-Identifier: GPL-3.0-or-later
// The window's measures (twips), fonts and pictures.
#include "layout.h"

#include <QPixmap>
#include <QWidget>

// The pictures are compiled into the static view library; its resources are registered here.
static void registerPictures() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace gk::layout {

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QFont dialogFont() {
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setPointSizeF(8.0);
    return font;
}

QFont arial(double points, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QIcon windowIcon() {
    registerPictures();
    QIcon icon;
    icon.addFile(QStringLiteral(":/gridkeeper/icon16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/gridkeeper/icon32.png"), QSize(32, 32));
    return icon;
}

QIcon arrowIcon(bool up) {
    registerPictures();
    const QString name =
        up ? QStringLiteral(":/gridkeeper/arrow_up") : QStringLiteral(":/gridkeeper/arrow_down");
    QIcon icon;
    icon.addFile(name + QStringLiteral("16.png"), QSize(16, 16));
    icon.addFile(name + QStringLiteral("32.png"), QSize(32, 32));
    return icon;
}

QPixmap aboutBackground() {
    registerPictures();
    return QPixmap(QStringLiteral(":/gridkeeper/about_background.png"));
}

} // namespace gk::layout
