// SPDX-License-Identifier: GPL-3.0-or-later
// The About window.
#include "infoform.h"

#include "about.h"
#include "layout.h"

#include <QLabel>
#include <QPainter>

namespace gk {

Infoform::Infoform(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Infoform"));
    setWindowTitle(QStringLiteral("About Gridkeeper"));
    setWindowIcon(layout::windowIcon());
    setModal(true);
    setFont(layout::dialogFont());
    setFixedSize(layout::px(3630), layout::px(1905));

    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setPixmap(layout::windowIcon().pixmap(32, 32));
    layout::place(Image1_, 120, 120, 480, 480);

    Label1_ = new QLabel(this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    QPalette palette = Label1_->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Label1_->setPalette(palette);
    layout::place(Label1_, 840, 120, 480, 195);
    // The text's lines are parted by a carriage return alone; the label breaks at a line feed.
    QString text = about::aboutText();
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Label1_->setText(text);
    Label1_->adjustSize(); // grows with its text
}

void Infoform::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, layout::aboutBackground());
    QDialog::paintEvent(event);
}

} // namespace gk
