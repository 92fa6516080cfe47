#include "support/fakes.h"
#include "support/game_folder.h"
#include "ui/main/frm_main.h"
#include "ui/main/track_list_model.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

using Rows = std::vector<QByteArray>;

// The real window over the form model, on a copy of a small game folder.
class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        game.addTracks({"monza", "Kyalami", "monaco", "brands", "Zolder", "oulton"});
        game.writeSeason({"monza", "Kyalami", "spa", "monaco"});
        game.writeAllTracks({"monza", "Kyalami", "spa", "monaco", "brands", "Zolder", "oulton"});
        ASSERT_TRUE(model.Form_Load(game.dir()));
        window.render();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    template <class T> T* child(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void clickRow(QListView* view, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, rect.center());
        QApplication::processEvents();
    }
    static int selectedInView(QListView* view) {
        return static_cast<int>(view->selectionModel()->selectedRows().size());
    }

    GameFolder game;
    FakeSettings settings;
    FakeDialogs dialogs;
    QtFileSystem files;
    FakeShell shell;
    FormModel model{{settings, dialogs, files, shell}};
    FrmMain window{model};
};

TEST_F(Window, ShowsBothListsWithTheirCounts) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Gridkeeper"));
    EXPECT_EQ(child<QLabel>("lblAmountLeft")->text(), QStringLiteral("Active Tracks (4)"));
    EXPECT_EQ(child<QLabel>("lblAmountRight")->text(), QStringLiteral("Non-Active Tracks (3)"));
    EXPECT_EQ(child<QLabel>("lblGPLdir")->text(), QStringLiteral("GRIDKEEPER"));
    EXPECT_EQ(window.activeList()->model()->rowCount(), 4);
    EXPECT_EQ(window.activeList()->model()->index(2, 0).data().toString(), QStringLiteral("* spa"));
    for (int i = 0; i < 14; ++i)
        EXPECT_FALSE(window.entryBox(i)->isEnabled());
    EXPECT_FALSE(child<QLineEdit>("txtRunTrack")->isEnabled());
    EXPECT_EQ(window.activeList()->geometry(), QRect(8, 48, 113, 303));
    EXPECT_FALSE(window.grab().isNull());
}

TEST_F(Window, ClicksSelectAndShowEntries) {
    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(model.workspace().listNotActive.current, 1);
    EXPECT_EQ(window.entryBox(9)->text(), QStringLiteral("trackDirectory=Zolder"));
    EXPECT_EQ(child<QLineEdit>("txtRunTrack")->text(), QStringLiteral("Zolder"));
    clickRow(window.inactiveList(), 2, Qt::ControlModifier);
    EXPECT_EQ(model.workspace().listNotActive.selected, (std::vector<uint8_t>{0, 1, 1}));
    QTest::mouseClick(child<QPushButton>("cmdChangeButton3"), Qt::LeftButton);
    EXPECT_EQ(model.workspace().ListTracks.rows,
              (Rows{"monza", "Kyalami", "* spa", "monaco", "Zolder", "oulton"}));
    EXPECT_EQ(window.activeList()->model()->rowCount(), 6);
    EXPECT_EQ(window.inactiveList()->model()->rowCount(), 1);
    EXPECT_EQ(child<QLabel>("lblAmountLeft")->text(), QStringLiteral("Active Tracks (6)"));
    EXPECT_EQ(selectedInView(window.inactiveList()), 0);
    EXPECT_TRUE(model.workspace().bolSeasonChanged);
}

TEST_F(Window, AClickOnTheCurrentRowShowsItAgain) {
    QLineEdit* runTrack = child<QLineEdit>("txtRunTrack");
    clickRow(window.activeList(), 0);
    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(runTrack->text(), QStringLiteral("Zolder"));
    clickRow(window.activeList(), 0);
    EXPECT_EQ(runTrack->text(), QStringLiteral("monza"));
    clickRow(window.inactiveList(), 1, Qt::ControlModifier);
    EXPECT_EQ(runTrack->text(), QStringLiteral("Zolder"));
}

TEST_F(Window, SearchSelectsInBothListsAndTheViewFollows) {
    QLineEdit* search = child<QLineEdit>("txtTrack");
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("mon"));
    EXPECT_EQ(model.workspace().ListTracks.selected, (std::vector<uint8_t>{1, 0, 0, 1}));
    EXPECT_EQ(selectedInView(window.activeList()), 2);
    EXPECT_EQ(window.activeList()->currentIndex().row(), 0);
    EXPECT_EQ(child<QLineEdit>("txtRunTrack")->text(), QStringLiteral("monza"));
}

TEST_F(Window, KeyboardDeletesAndMovesInTheFocusedList) {
    clickRow(window.activeList(), 1);
    window.activeList()->setFocus();
    QTest::keyClick(window.activeList(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(model.workspace().ListTracks.rows, (Rows{"monza", "* spa", "Kyalami", "monaco"}));
    EXPECT_EQ(window.activeList()->currentIndex().row(), 2);
    QTest::keyClick(window.activeList(), Qt::Key_Delete);
    EXPECT_EQ(model.workspace().ListTracks.rows, (Rows{"monza", "* spa", "monaco"}));
    EXPECT_EQ(window.activeList()->model()->rowCount(), 3);
}

TEST_F(Window, TitleClickSortsAndEditModeStoresTypedText) {
    QTest::mouseClick(child<QLabel>("lblAmountRight"), Qt::LeftButton);
    EXPECT_EQ(model.workspace().listNotActive.rows, (Rows{"brands", "oulton", "Zolder"}));
    EXPECT_EQ(window.inactiveList()->model()->index(2, 0).data().toString(),
              QStringLiteral("Zolder"));

    clickRow(window.inactiveList(), 2);
    EXPECT_FALSE(window.entryBox(7)->isEnabled());
    QTest::mouseClick(child<QCheckBox>("chkEdit1"), Qt::LeftButton);
    EXPECT_TRUE(window.entryBox(7)->isEnabled());
    EXPECT_FALSE(window.entryBox(0)->isEnabled());
    window.entryBox(7)->selectAll();
    QTest::keyClicks(window.entryBox(7), QStringLiteral("name=Zolder 1967"));
    EXPECT_EQ(model.workspace().arrInactive[2].entry[0], "name=Zolder 1967");
}

TEST_F(Window, TabOrderFollowsTheLayout) {
    // The entry boxes are disabled outside edit mode, so Tab passes over them.
    const std::vector<const char*> order = {
        "ListTracks",       "listNotActive",    "cmdChangeButton1", "cmdChangeButton0",
        "cmdChangeButton2", "cmdChangeButton3", "cmdLaunchGPL",     "chkEdit0",
        "chkEdit1",         "cmdMakeIni",       "chkSort",          "cboCars",
        "txtTrack"};
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.activeList()->setFocus();
    for (size_t i = 0; i < order.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName().toStdString(), order[i]);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

TEST(TrackListModel, PassesTheModelTester) {
    TrackList list;
    TrackListModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.addRow("a");
    list.addRow(QByteArray("\xE9t\xE9", 3));
    model.refresh();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("\u00e9t\u00e9"));
    list.clear();
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
} // namespace gk::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
