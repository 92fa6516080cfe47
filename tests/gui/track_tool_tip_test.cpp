// SPDX-License-Identifier: GPL-3.0-or-later
// A list row's tooltip in the real window: the track's details once read, never waited for.
#include "frm_main.h"
#include "support/gated_files.h"
#include "support/harness.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// The window draws its frames while the details are held up, and its rows have no tooltip
// then; once read, a row's tooltip shows the picture at most 240 px wide, the full name, the
// lines and the badges, and a row with nothing readable still has none.
TEST(TrackToolTip, ShowsTheDetailsOnceReadAndNeverWaitsForThem) {
    GameFolder game;
    game.write(u"tracks/watglen/track.ini"_s,
               "[ track ]\r\ntrack_name = Watkins Glen <Int'l>\r\ntrack_name_short = Glen & Co\r\n"
               "track_length = 2.35m\r\n");
    game.write(u"tracks/watglen/track69.ini"_s, "");
    game.write(u"tracks/monza/track.ini"_s, "[ track ]\r\ntrack_name = Monza\r\n");
    game.write(u"tracks/spa/track.ini"_s, "[ track ]\r\n");
    ASSERT_TRUE(
        QImage(480, 200, QImage::Format_RGB32).save(game.path(u"tracks/watglen/watglen.jpg"_s)));
    ASSERT_TRUE(QImage(100, 50, QImage::Format_RGB32).save(game.path(u"tracks/monza/MONZA.jpg"_s)));
    game.writeSeason({"watglen", "monza", "spa"});
    game.writeAllTracks({"watglen", "monza", "spa"});

    FakeSettings settings;
    FakeDialogs dialogs;
    QtFileSystem files;
    FakeShell shell;
    GatedFiles detailsFiles;
    FormModel model{{settings, dialogs, files, shell, nullptr, nullptr, nullptr, false, nullptr,
                     &detailsFiles}};
    FrmMain window(model);
    // A failed check must not leave the reading waiting at the gate.
    const std::shared_ptr<void> opener(nullptr, [&](void*) { detailsFiles.open(); });
    // As the program starts: the first frame, then the load, then the frame of the lists.
    ASSERT_TRUE(model.startUp(game.dir()));
    window.render();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(model.loadWorkspace());
    window.render();
    EXPECT_FALSE(window.grab().isNull());
    ASSERT_TRUE(detailsFiles.reached());
    const QAbstractItemModel* rows = window.activeList()->model();
    const auto tip = [&](int row) { return rows->index(row, 0).data(Qt::ToolTipRole).toString(); };
    EXPECT_EQ(tip(0), QString());

    detailsFiles.open();
    ASSERT_TRUE(model.trackDetails().waitForIdle(30000));
    const QString src = QUrl::fromLocalFile(game.path(u"tracks/watglen/watglen.jpg"_s)).toString();
    EXPECT_EQ(tip(0), u"<qt><img src=\""_s + src +
                          u"\" width=\"240\" height=\"100\"><br><b>Watkins Glen &lt;Int'l&gt;</b>"
                          "<br>Short name: Glen &amp; Co<br>2.35 mi, 3.78 km<br><span "
                          "style=\"background-color:#1f4e79; "
                          "color:#ffffff;\">&nbsp;69&nbsp;</span></qt>"_s);
    EXPECT_TRUE(tip(1).contains(u"width=\"100\" height=\"50\""_s)) << tip(1).toStdString();
    EXPECT_EQ(tip(2), QString());

    // The list shows it as its tooltip.
    QWidget* viewport = window.activeList()->viewport();
    const QPoint at = window.activeList()->visualRect(rows->index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &help);
    EXPECT_EQ(QToolTip::text(), tip(0));
    QToolTip::hideText();
}

} // namespace
} // namespace gk::test
