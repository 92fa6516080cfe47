#include "support/harness.h"
#include "ui/main/frm_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

// The real window over the form model, on a small game folder.
class Window : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.loadSmallGame());
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
    QString runTrack() { return child<QLineEdit>("txtRunTrack")->text(); }

    Harness h;
    FrmMain window{h.model};
};

// Typing in the search box, clicks, a move, typing in edit mode, a launch.
TEST_F(Window, ShowsClicksTypesMovesAndLaunches) {
    EXPECT_EQ(window.activeList()->model()->index(2, 0).data().toString(), u"* spa"_s);
    EXPECT_EQ(window.activeList()->geometry(), QRect(8, 48, 113, 303));
    child<QLineEdit>("txtTrack")->setFocus();
    QTest::keyClicks(child<QLineEdit>("txtTrack"), u"mon"_s);
    EXPECT_EQ(window.activeList()->selectionModel()->selectedRows().size(), 2);

    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(window.entryBox(9)->text(), u"trackDirectory=Zolder"_s);
    clickRow(window.inactiveList(), 2, Qt::ControlModifier);
    EXPECT_EQ(h.ws().listNotActive.selected, (std::vector<uint8_t>{0, 1, 1}));
    QTest::mouseClick(child<QPushButton>("cmdChangeButton3"), Qt::LeftButton);
    EXPECT_EQ(h.ws().ListTracks.rows,
              (Rows{"monza", "Kyalami", "* spa", "monaco", "Zolder", "oulton"}));
    EXPECT_EQ(child<QLabel>("lblAmountLeft")->text(), u"Active Tracks (6)"_s);
    clickRow(window.inactiveList(), 0);
    QTest::mouseClick(child<QCheckBox>("chkEdit1"), Qt::LeftButton);
    window.entryBox(7)->selectAll();
    QTest::keyClicks(window.entryBox(7), u"name=Brands 1967"_s);
    EXPECT_EQ(h.ws().arrInactive[0].entry[0], "name=Brands 1967");

    h.game.write(u"gpl.exe"_s, "MZ");
    h.dialogs.allowAnyMessage(Answer::No); // "not saved": start without saving
    h.ctl().txtRunTrack.text = "monza";
    QTest::mouseClick(child<QPushButton>("cmdLaunchGPL"), Qt::LeftButton);
    ASSERT_EQ(h.processes.started.size(), 1u);
    child<QAction>("mnuHelp1")->trigger();
    const MessageBox& box = h.dialogs.shown().back();
    EXPECT_EQ(box.title, u"Parameter"_s);
    EXPECT_EQ(box.text, QStringLiteral("With the options you choosed GPL will be started with the "
                                       "following command line when you press the 'GPL' "
                                       "button:\r\n\r\n") +
                            h.processes.started[0].section(QLatin1Char('|'), 0, 0));
}

TEST_F(Window, AClickOnTheCurrentRowShowsItAgain) {
    clickRow(window.activeList(), 0);
    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(runTrack(), u"Zolder"_s);
    clickRow(window.activeList(), 0);
    EXPECT_EQ(runTrack(), u"monza"_s);
    clickRow(window.inactiveList(), 1, Qt::ControlModifier);
    EXPECT_EQ(runTrack(), u"Zolder"_s);
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

// Run at 100 % and (by CTest) at 200 %.
TEST_F(Window, EveryCaptionFitsItsRoom) {
    // Each control, and the longest caption it shows ("": its own).
    const std::pair<const char*, const char*> cases[] = {
        // clang-format off
        {"lblGPLdir", "GPL directory invalid or not set!"}, {"lblAmountLeft", "Active Tracks (8888)"},
        {"lblAmountRight", "Non-Active Tracks (8888)"}, {"cmdLaunchGPL", ""}, {"Label5_0", ""},
        {"Label5_1", ""}, {"chkEdit0", ""}, {"chkEdit1", ""}, {"lblChoose", ""}, {"Label3", ""},
        {"Label4", ""}, {"cmdChangeButton0", ""}, {"cmdChangeButton1", ""}, {"cmdChangeButton2", ""},
        {"cmdChangeButton3", ""}, {"cmdMakeIni", ""}, {"chkSort", ""}, {"lblMyMail", ""},
        // clang-format on
    };
    for (const auto& [name, own] : cases) {
        SCOPED_TRACE(name);
        QWidget* w = child<QWidget>(name);
        ASSERT_NE(w, nullptr);
        QString caption = *own ? QString::fromLatin1(own) : w->property("text").toString();
        caption.remove(QLatin1Char('&'));
        ASSERT_FALSE(caption.isEmpty());
        const QFontMetricsF metrics(w->font(), w);
        const QSize room = roomOf(w);
        EXPECT_LE(std::ceil(metrics.horizontalAdvance(caption)), room.width())
            << caption.toStdString() << " in " << w->font().family().toStdString();
        EXPECT_LE(std::ceil(metrics.ascent() + metrics.descent()), room.height() + 1)
            << caption.toStdString();
    }
    // A filled entry box shows the start of its text.
    clickRow(window.activeList(), 0);
    EXPECT_FALSE(window.entryBox(2)->text().isEmpty());
    EXPECT_EQ(window.entryBox(2)->cursorPosition(), 0);
}

} // namespace
} // namespace gk::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
