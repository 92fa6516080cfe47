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
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <cmath>
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
    FakeProcesses processes;
    FormModel model{{settings, dialogs, files, shell, &processes, &processes}};
    FrmMain window{model};
};

// "start GPL" and "&Parameter" reach the launch.
TEST_F(Window, LaunchButtonAndParameterEntry) {
    game.write(QStringLiteral("gpl.exe"), "MZ");
    model.controls().txtRunTrack.text = "monza";
    QTest::mouseClick(child<QPushButton>("cmdLaunchGPL"), Qt::LeftButton);
    EXPECT_EQ(processes.started.size(), 1u);
    dialogs.allowAnyMessage(Answer::Ok);
    child<QAction>("mnuHelp1")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Parameter"));
}

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

// The room a control leaves its caption: inside its frame, margins and check mark.
QSize roomOf(QWidget* w) {
    QStyle* style = w->style();
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return button->size() - QSize(2 * (frame + margin), 2 * frame);
    }
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).size();
    }
    auto* label = qobject_cast<QLabel*>(w);
    const int inset = 2 * label->margin() + std::max(label->indent(), 0);
    return label->contentsRect().size() - QSize(inset, 2 * label->margin());
}

// Relative luminance contrast of two colours.
double contrast(const QColor& a, const QColor& b) {
    const auto lum = [](const QColor& c) {
        const auto ch = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    const double x = lum(a), y = lum(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

TEST_F(Window, EveryCaptionFitsItsRoom) {
    struct Case {
        const char* name;
        QString caption; // empty: the control's own
        QRect twips;
        const char* tooltip;
    };
    const std::vector<Case> cases = {
        {"lblGPLdir",
         QStringLiteral("GPL directory invalid or not set!"),
         {120, 120, 9135, 315},
         ""},
        {"cmdLaunchGPL", {}, {8160, 120, 1095, 315}, "launch Grand Prix Legends"},
        {"lblAmountLeft", QStringLiteral("Active Tracks (8888)"), {120, 480, 1695, 255}, ""},
        {"lblAmountRight", QStringLiteral("Non-Active Tracks (8888)"), {7440, 480, 1815, 255}, ""},
        {"Label5_0", {}, {2040, 600, 2535, 255}, ""},
        {"Label5_1", {}, {4680, 600, 2535, 255}, ""},
        {"chkEdit0", {}, {2040, 3480, 1215, 255}, ""},
        {"chkEdit1", {}, {6120, 3480, 1095, 255}, ""},
        {"lblChoose",
         {},
         {3960, 3960, 1575, 255},
         "Enter first letter(s) of track name to search or click into the track list"},
        {"cmdChangeButton1", {}, {2400, 4320, 855, 255}, ""},
        {"cmdChangeButton2", {}, {6120, 4320, 855, 255}, ""},
        {"Label3", {}, {2400, 4680, 855, 255}, ""},
        {"Label4", {}, {6120, 4680, 855, 255}, ""},
        {"cmdMakeIni", {}, {3960, 4680, 1575, 375}, ""},
        {"cmdChangeButton0", {}, {2400, 4920, 855, 255}, ""},
        {"cmdChangeButton3", {}, {6120, 4920, 855, 255}, ""},
        {"chkSort", {}, {3960, 5040, 1695, 255}, ""},
        {"lblMyMail", {}, {7920, 6360, 1200, 195}, "Bug report, suggestions...just send me a mail"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* w = child<QWidget>(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), QRect(c.twips.x() / 15, c.twips.y() / 15, c.twips.width() / 15,
                                       c.twips.height() / 15));
        EXPECT_EQ(w->toolTip(), QString::fromLatin1(c.tooltip));
        QString caption = c.caption;
        if (caption.isEmpty())
            caption = w->property("text").toString();
        caption.remove(QLatin1Char('&'));
        ASSERT_FALSE(caption.isEmpty());
        const QFontMetricsF metrics(w->font(), w);
        const QSize room = roomOf(w);
        EXPECT_LE(std::ceil(metrics.horizontalAdvance(caption)), room.width())
            << caption.toStdString() << " in " << w->font().family().toStdString();
        EXPECT_LE(std::ceil(metrics.ascent() + metrics.descent()), room.height() + 1)
            << caption.toStdString();
    }
    EXPECT_FALSE(window.windowIcon().isNull());
    for (const char* arrow : {"picArrow0", "picArrow1", "picArrow2", "picArrow3"})
        EXPECT_EQ(child<QLabel>(arrow)->pixmap().deviceIndependentSize(), QSizeF(16, 16)) << arrow;
    // Disabled entry boxes are there to be read; a filled box shows the start of its text.
    for (QWidget* box :
         {static_cast<QWidget*>(window.entryBox(0)), child<QWidget>("txtRunTrack")}) {
        const QPalette& p = box->palette();
        EXPECT_GE(contrast(p.color(QPalette::Disabled, QPalette::Text),
                           p.color(QPalette::Disabled, QPalette::Base)),
                  4.5);
    }
    clickRow(window.activeList(), 0);
    EXPECT_FALSE(window.entryBox(2)->text().isEmpty());
    EXPECT_EQ(window.entryBox(2)->cursorPosition(), 0);
}

TEST_F(Window, HelpLineFollowsThePointer) {
    QLabel* info = child<QLabel>("lblInfo");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(window.activeList(), &enter);
    EXPECT_TRUE(info->text().startsWith(QStringLiteral("This is the list, which shows")));
    // A move over a control without help text reaches the background, which leaves it alone.
    const auto moveOverClient = [&](QPointF at) {
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(child<QWidget>("client"), &move);
    };
    moveOverClient(QRectF(child<QLabel>("lblChoose")->geometry()).center());
    EXPECT_TRUE(info->text().startsWith(QStringLiteral("This is the list, which shows")));
    moveOverClient(QPointF(2, 2));
    EXPECT_EQ(info->text(), QStringLiteral("Move over a menu to get some additional info"));
}

TEST_F(Window, MenusOpenTheReportAndTheAboutWindowModally) {
    settings.set(QStringLiteral("GPLDir"), game.dir());
    QStringList seen; // what each modal window showed: its title and texts
    for (const char* item : {"Ch&eck tracks", "About"}) {
        QTimer::singleShot(0, [&seen] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            seen << modal->windowTitle();
            for (auto* column : modal->findChildren<QPlainTextEdit*>())
                seen << column->toPlainText();
            if (auto* label = modal->findChild<QLabel*>(QStringLiteral("Label1")))
                seen << label->text();
            modal->close();
        });
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == QLatin1String(item))
                action->trigger();
    }
    EXPECT_EQ(seen, QStringList(
                        {QStringLiteral("Report: ") + game.dir() + QStringLiteral("\\tracks\\"),
                         QStringLiteral("spa"), QStringLiteral("(none)"), QStringLiteral("(none)"),
                         QStringLiteral("missing track files"), QStringLiteral("About Gridkeeper"),
                         QStringLiteral("Gridkeeper, Version " GK_PROJECT_VERSION
                                        "\nFor Windows 95 oder higher")}));
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
