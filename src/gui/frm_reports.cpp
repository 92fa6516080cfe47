// SPDX-License-Identifier: GPL-3.0-or-later
// The track check report window.
#include "frm_reports.h"

#include "layout.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>

namespace gk {

FrmReports::FrmReports(const TrackReport& report, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmReports"));
    setWindowTitle(QStringLiteral("Report"));
    setWindowIcon(layout::windowIcon());
    setModal(true);
    setFont(layout::dialogFont());
    setFixedSize(layout::px(7275), layout::px(4995));

    const std::array<const char*, 3> captions = {"missing track files",
                                                 "not found in 67AllTracks.ini", "unknown folders"};
    const std::array<const char*, 3> tips = {
        "Tracks who have an entry in the 67AllTracks.ini but who aren't installed properly "
        "(missing track.ini)",
        "Tracks who aren't in the 67AllTracks.ini",
        "Folders who don't seem to be a valid track folder"};
    const std::array<int, 3> lefts = {120, 2520, 4920};
    for (size_t i = 0; i < 3; ++i) {
        labels_[i] = new QLabel(QString::fromLatin1(captions[i]), this);
        labels_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        layout::place(labels_[i], lefts[i], 120, 1935, 255);
        auto* text = new QPlainTextEdit(this);
        text->setObjectName(QStringLiteral("txtReport%1").arg(i));
        text->setReadOnly(true);
        text->setToolTip(QString::fromLatin1(tips[i]));
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout::place(text, lefts[i], 480, 2175, 4335);
        txtReport_[i] = text;
    }
    setTabOrder(txtReport_[0], txtReport_[1]);
    setTabOrder(txtReport_[1], txtReport_[2]);

    setWindowTitle(report.caption);
    for (size_t i = 0; i < 3; ++i) {
        QString text = report.columns[i];
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        txtReport_[i]->setPlainText(text);
    }
}

} // namespace gk
