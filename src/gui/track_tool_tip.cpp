// SPDX-License-Identifier: GPL-3.0-or-later
// A track's tooltip drawn as rich text: picture, full name, lines and mod badges.
#include "track_tool_tip.h"

#include <QImageReader>
#include <QUrl>
#include <algorithm>

namespace gk {

QString toolTipHtml(const TrackToolTip& tip) {
    QString html = QStringLiteral("<qt>");
    if (!tip.picture.isEmpty()) {
        // Only the picture's header is read here; the tooltip loads the picture itself.
        QSize size = QImageReader(tip.picture).size();
        if (size.isValid() && !size.isEmpty()) {
            if (size.width() > kToolTipPictureWidth)
                size = QSize(kToolTipPictureWidth,
                             std::max(1, size.height() * kToolTipPictureWidth / size.width()));
            html += QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\"><br>")
                        .arg(QUrl::fromLocalFile(tip.picture).toString().toHtmlEscaped())
                        .arg(size.width())
                        .arg(size.height());
        }
    }
    QStringList lines;
    if (!tip.name.isEmpty())
        lines.append(QStringLiteral("<b>%1</b>").arg(tip.name.toHtmlEscaped()));
    for (const QString& line : tip.lines)
        lines.append(line.toHtmlEscaped());
    if (!tip.badges.isEmpty()) {
        QStringList badges;
        for (const QString& badge : tip.badges)
            badges.append(QStringLiteral("<span style=\"background-color:#1f4e79; "
                                         "color:#ffffff;\">&nbsp;%1&nbsp;</span>")
                              .arg(badge.toHtmlEscaped()));
        lines.append(badges.join(QLatin1Char(' ')));
    }
    return html + lines.join(QLatin1String("<br>")) + QStringLiteral("</qt>");
}

} // namespace gk
