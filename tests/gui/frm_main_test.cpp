// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and message boxes on the offscreen platform.
#include "frm_main.h"
#include "launch/command_line.h"
#include "qt_dialogs.h"
#include "qt_shell.h"
#include "support/harness.h"

#include <QTest>
#include <QtWidgets>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

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
    child<QLineEdit>("txtTrack")->setFocus();
    QTest::keyClicks(child<QLineEdit>("txtTrack"), u"mon"_s);
    EXPECT_EQ(window.activeList()->selectionModel()->selectedRows().size(), 2);

    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(window.entryBox(9)->text(), u"trackDirectory=Zolder"_s);
    clickRow(window.inactiveList(), 2, Qt::ControlModifier);
    EXPECT_EQ(selectedMarks(h.ws().listNotActive), (std::vector<uint8_t>{0, 1, 1}));
    QTest::mouseClick(child<QPushButton>("cmdChangeButton3"), Qt::LeftButton);
    EXPECT_EQ(texts(h.ws().ListTracks),
              (Rows{"monza", "Kyalami", "* spa", "monaco", "Zolder", "oulton"}));
    EXPECT_EQ(child<QLabel>("lblAmountLeft")->text(), u"Active Tracks (6)"_s);
    clickRow(window.inactiveList(), 0);
    QTest::mouseClick(child<QCheckBox>("chkEdit1"), Qt::LeftButton);
    window.entryBox(7)->selectAll();
    QTest::keyClicks(window.entryBox(7), u"name=Brands 1967"_s);
    EXPECT_EQ(h.ws().listNotActive.rows[0].entries.entry[0], "name=Brands 1967");

    h.game.write(u"gpl.exe"_s, "MZ");
    h.dialogs.allowAnyMessage(Answer::No); // "not saved": start without saving
    h.ctl().txtRunTrack.text = "monza";
    QTest::mouseClick(child<QPushButton>("cmdLaunchGPL"), Qt::LeftButton);
    ASSERT_EQ(h.processes.started.size(), 1u);
    child<QAction>("mnuHelp1")->trigger();
    const Message& box = h.dialogs.shown().back();
    EXPECT_EQ(box.title, u"Parameter"_s);
    EXPECT_EQ(box.text, QStringLiteral("With the options you choosed GPL will be started with the "
                                       "following command line when you press the 'GPL' "
                                       "button:\r\n\r\n") +
                            h.processes.started[0].section(QLatin1Char('|'), 0, 0));
}

// The Edit menu sits between File and Track Sets and shows what the model names; its keys undo
// and redo.
TEST_F(Window, TheEditMenuShowsTheStepAndItsKeysUndoAndRedo) {
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{u"&File"_s, u"&Edit"_s, u"&Track Sets"_s, u"&?"_s}));
    auto* undo = child<QAction>("mnuUndo");
    auto* redo = child<QAction>("mnuRedo");
    const auto menu = [&] {
        return std::tuple{undo->text(), undo->isEnabled(), redo->text(), redo->isEnabled()};
    };
    clickRow(window.inactiveList(), 1);
    QTest::mouseClick(child<QPushButton>("cmdChangeButton3"), Qt::LeftButton);
    const QString step = u"Move Zolder to Active Tracks"_s;
    EXPECT_EQ(menu(), std::tuple(u"&Undo "_s + step, true, u"&Redo"_s, false));
    window.activateWindow();
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"brands", "Zolder", "oulton"}));
    EXPECT_EQ(child<QLabel>("lblAmountRight")->text(), u"Non-Active Tracks (3)"_s);
    EXPECT_EQ(menu(), std::tuple(u"&Undo"_s, false, u"&Redo "_s + step, true));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"brands", "oulton"}));
}

// What a drop or a button leaves: the lists with their marks and entries, the current rows,
// the boxes, the captions and the flags.
std::tuple<Rows, Rows, std::vector<uint8_t>, std::vector<uint8_t>, int, int, QByteArray, QString,
           QString, QByteArray, bool>
outcome(Harness& h) {
    return {texts(h.ws().ListTracks),         texts(h.ws().listNotActive),
            selectedMarks(h.ws().ListTracks), selectedMarks(h.ws().listNotActive),
            h.ws().ListTracks.current,        h.ws().listNotActive.current,
            h.ctl().txtRunTrack.text,         h.ctl().lblAmountLeft.caption,
            h.ctl().lblAmountRight.caption,   h.ctl().txtEntry[2].text + h.ctl().txtEntry[9].text,
            h.ws().bolSeasonChanged};
}

// Drops through the real views, within the active list and across, give what the arrows and
// "<" give for the same rows; each is one step; rows from elsewhere are refused.
TEST_F(Window, DropsMoveRowsAsTheButtonsDo) {
    // Qt sends a move and the drop to the widget that took the drag's entry.
    const auto dropData = [](QListView* to, QMimeData* data, QPoint at,
                             Qt::DropAction action = Qt::MoveAction) {
        QDragEnterEvent enter(at, action, data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(action);
        QApplication::sendEvent(to->viewport(), &enter);
        QDragMoveEvent move(at, action, data, Qt::LeftButton, Qt::NoModifier);
        move.setDropAction(action);
        QApplication::sendEvent(to->viewport(), &move);
        QDropEvent dropped(at, action, data, Qt::LeftButton, Qt::NoModifier);
        dropped.setDropAction(action);
        dropped.setAccepted(false);
        QApplication::sendEvent(to->viewport(), &dropped);
        QApplication::processEvents();
    };
    const auto drop = [&](QListView* from, QListView* to, const QList<int>& rows, int before) {
        QModelIndexList dragged;
        for (int row : rows)
            dragged.append(from->model()->index(row, 0));
        std::unique_ptr<QMimeData> data(from->model()->mimeData(dragged));
        dropData(to, data.get(),
                 before < to->model()->rowCount()
                     ? to->visualRect(to->model()->index(before, 0)).topLeft() + QPoint(4, 1)
                     : QPoint(4, to->viewport()->height() - 2));
    };
    Harness buttons;
    ASSERT_TRUE(buttons.loadSmallGame());
    // monza dropped below * spa; monza moved down twice.
    clickRow(window.activeList(), 0);
    drop(window.activeList(), window.activeList(), {0}, 3);
    buttons.m().setCurrentRow(FormModel::Side::Active, 0);
    buttons.m().setRowsSelected(FormModel::Side::Active, 0, 0, true);
    buttons.m().picArrow_Click(1);
    buttons.m().picArrow_Click(1);
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"Kyalami", "* spa", "monza", "monaco"}));
    EXPECT_EQ(outcome(h), outcome(buttons));
    // brands and oulton dropped below the active list's last row: "<".
    clickRow(window.inactiveList(), 0);
    clickRow(window.inactiveList(), 2, Qt::ControlModifier);
    drop(window.inactiveList(), window.activeList(), {0, 2}, 4);
    buttons.m().setRowsSelected(FormModel::Side::Inactive, 0, 0, true);
    buttons.m().setRowsSelected(FormModel::Side::Inactive, 2, 2, true);
    buttons.m().setCurrentRow(FormModel::Side::Inactive, 2);
    buttons.m().cmdChangeButton_Click(3);
    EXPECT_EQ(outcome(h), outcome(buttons));
    EXPECT_EQ(child<QAction>("mnuUndo")->text(), u"&Undo Move 2 tracks to Active Tracks"_s);
    // Zolder dropped between the first two active rows; undone in one step.
    const auto before = outcome(h);
    clickRow(window.inactiveList(), 0);
    drop(window.inactiveList(), window.activeList(), {0}, 1);
    EXPECT_EQ(texts(h.ws().ListTracks),
              (Rows{"Kyalami", "Zolder", "* spa", "monza", "monaco", "brands", "oulton"}));
    child<QAction>("mnuUndo")->trigger();
    EXPECT_EQ(std::get<0>(outcome(h)), std::get<0>(before));
    EXPECT_EQ(std::get<1>(outcome(h)), std::get<1>(before));
    // Text from another program, and rows of another Gridkeeper, are refused with a message
    // once the drop is over; nothing moves.
    QMimeData text;
    text.setText(u"monza"_s);
    QMimeData other;
    QByteArray rows; // row 0 of the active list, as another process's drag carries it
    QDataStream(&rows, QIODevice::WriteOnly)
        << QCoreApplication::applicationPid() + 1 << qint32(0) << QList<qint32>{0};
    other.setData(u"application/x-gridkeeper-rows"_s, rows);
    for (QMimeData* data : {&text, &other}) {
        h.dialogs.expectMessage({u"Only tracks dragged from Gridkeeper's own lists can be dropped "
                                 u"here."_s,
                                 u"Gridkeeper"_s, Buttons::Ok, Icon::Exclamation,
                                 MessageKind::Refusal});
        // Text is offered to be copied, rows to be moved.
        dropData(window.activeList(), data, QPoint(4, 4),
                 data == &text ? Qt::CopyAction : Qt::MoveAction);
        h.dialogs.verify();
    }
    EXPECT_EQ(std::get<0>(outcome(h)), std::get<0>(before));
}

// A row becomes current by a click, also on the row already current; focus coming back to a
// list (a closed box, a click elsewhere) after a delete or a sort chooses no row.
TEST_F(Window, OnlyAClickChoosesARow) {
    clickRow(window.activeList(), 0);
    clickRow(window.inactiveList(), 1);
    EXPECT_EQ(runTrack(), u"Zolder"_s);
    clickRow(window.activeList(), 0);
    EXPECT_EQ(runTrack(), u"monza"_s);
    clickRow(window.inactiveList(), 1, Qt::ControlModifier);
    EXPECT_EQ(runTrack(), u"Zolder"_s);

    clickRow(window.inactiveList(), 1);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const char* command : {"cmdChangeButton2", "lblAmountLeft"}) {
        QTest::mouseClick(child<QWidget>(command), Qt::LeftButton);
        const auto shown = [this] {
            QStringList texts{runTrack()};
            for (int i = 0; i < 14; ++i)
                texts << window.entryBox(i)->text();
            return texts << QString::number(h.ws().ListTracks.current)
                         << QString::number(h.ws().listNotActive.current);
        };
        const QStringList before = shown();
        for (QListView* list : {window.activeList(), window.inactiveList()}) {
            child<QLineEdit>("txtTrack")->setFocus();
            list->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            ASSERT_TRUE(list->hasFocus());
        }
        EXPECT_EQ(shown(), before) << command;
    }
}

// Where a label shows its caption or picture (its alignment puts it there), in its parent.
QRect contentOf(const QLabel* label) {
    const QSize content = label->pixmap().isNull()
                              ? QFontMetrics(label->font()).size(Qt::TextSingleLine, label->text())
                              : label->pixmap().deviceIndependentSize().toSize();
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), content,
                               label->contentsRect())
        .translated(label->pos());
}

// What a user sees of a control: all of it, except of a label on the window's own green only
// its caption or picture.
QRect seenOf(QWidget* w) {
    auto* label = qobject_cast<QLabel*>(w);
    return label && !label->autoFillBackground() ? contentOf(label) : w->geometry();
}

// The controls as a user sees them (the track set's label too, shown only while a set is
// open): inside the window; two of them apart, or one standing on a coloured label without
// covering its caption; and in their reading order. Positions are measured in twips and
// rounded down to pixels, so neighbours may share one row or column.
TEST_F(Window, ControlsStandApartInReadingOrder) {
    auto* client = child<QWidget>("client");
    child<QLabel>("lblGPLdir")->setText(u"GPL directory invalid or not set!"_s); // the longest
    const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_GE(controls.size(), 40);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QWidget* const a = controls[i];
        EXPECT_TRUE(client->rect().contains(seenOf(a))) << a->objectName().toStdString();
        for (QWidget* b : controls.mid(i + 1)) {
            const QRect shared = seenOf(a) & seenOf(b);
            if (shared.width() <= 1 || shared.height() <= 1)
                continue;
            // One stands on the other, a coloured label that shows its caption.
            const bool aHolds = a->geometry().contains(b->geometry());
            auto* backdrop = qobject_cast<QLabel*>(aHolds ? a : b);
            const QWidget* on = aHolds ? b : a;
            ASSERT_TRUE(backdrop && backdrop->autoFillBackground() &&
                        backdrop->geometry().contains(on->geometry()))
                << (a->objectName() + u" and "_s + b->objectName()).toStdString();
            EXPECT_FALSE(contentOf(backdrop).intersects(on->geometry()))
                << on->objectName().toStdString();
        }
    }
    // Each row from left to right, each column from top to bottom.
    const std::vector<std::pair<std::vector<const char*>, bool>> lines = {
        {{"txtRunTrack", "cboCars", "cmdLaunchGPL"}, true},
        {{"lblAmountLeft", "Label5_0", "Label5_1", "lblAmountRight"}, true},
        {{"ListTracks", "txtEntry0", "txtEntry7", "listNotActive"}, true},
        {{"ListTracks", "picArrow0", "Label3", "cmdMakeIni", "Label4", "picArrow2",
          "listNotActive"},
         true},
        {{"lblGPLdir", "lblAmountLeft", "ListTracks", "frameInfo", "lblMyMail"}, false},
        {{"Label5_0", "txtEntry0", "txtEntry1", "txtEntry2", "txtEntry3", "txtEntry4", "txtEntry5",
          "txtEntry6", "chkEdit0", "cmdChangeButton1", "Label3", "cmdChangeButton0", "frameInfo"},
         false},
        {{"Label5_1", "txtEntry7", "txtEntry13", "chkEdit1", "cmdChangeButton2", "Label4",
          "cmdChangeButton3"},
         false},
        {{"lblChoose", "txtTrack", "cmdMakeIni", "chkSort", "frameInfo"}, false},
        {{"picArrow0", "picArrow1"}, false},
    };
    for (const auto& [line, across] : lines)
        for (size_t i = 1; i < line.size(); ++i) {
            const QRect before = seenOf(child<QWidget>(line[i - 1]));
            const QRect after = seenOf(child<QWidget>(line[i]));
            EXPECT_LE(across ? before.right() : before.bottom(),
                      (across ? after.left() : after.top()) + 1)
                << line[i - 1] << (across ? " left of " : " above ") << line[i];
        }
}

// Contrast ratio of two colours (as WCAG, with a plain 2.2 gamma).
double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        return 0.2126 * std::pow(c.redF(), 2.2) + 0.7152 * std::pow(c.greenF(), 2.2) +
               0.0722 * std::pow(c.blueF(), 2.2) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

QColor mostUsedColour(QWidget* w) {
    const QImage image = w->grab().toImage();
    QHash<QRgb, int> count;
    for (int i = 0; i < image.width() * image.height(); ++i)
        ++count[image.pixel(i % image.width(), i / image.width())];
    return QColor(std::max_element(count.cbegin(), count.cend()).key());
}

// The tick stands out from its box while the caption keeps its colour; the car box is the
// light yellow of the "Selected track" box.
TEST_F(Window, CheckMarksAndCarBoxReadWell) {
    const std::pair<const char*, QColor> boxes[] = {
        {"chkEdit0", Qt::yellow}, {"chkEdit1", Qt::yellow}, {"chkSort", QColor(255, 255, 128)}};
    for (const auto& [name, caption] : boxes) {
        auto* box = child<QCheckBox>(name);
        const QImage off = box->grab().toImage();
        box->setChecked(true);
        const QImage on = box->grab().toImage();
        double tick = 0; // the tick's pixels against the box they are drawn on
        for (int i = 0; i < on.width() * on.height(); ++i)
            tick = std::max(tick, contrast(on.pixel(i % on.width(), i / on.width()),
                                           off.pixel(i % on.width(), i / on.width())));
        EXPECT_GE(tick, 4.5) << name;
        EXPECT_EQ(box->palette().color(QPalette::WindowText), caption) << name;
    }
    EXPECT_EQ(mostUsedColour(child<QComboBox>("cboCars")), QColor(255, 255, 192));
    EXPECT_EQ(mostUsedColour(child<QLineEdit>("txtRunTrack")), QColor(255, 255, 192));
}

// The whole window is centred alike at start-up, before its first show, and after a game run.
TEST(Shell, CentresTheWindowAlikeBeforeAndAfterItsFirstShow) {
    Harness h;
    FrmMain window{h.model};
    QtShell::centerWindow(&window);
    const QSize size = window.size(); // its own size, not Qt's default
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    EXPECT_EQ(window.size(), size);
    const QRect first = window.frameGeometry();
    EXPECT_LE((first.center() - window.screen()->availableGeometry().center()).manhattanLength(),
              2);
    QtShell::centerWindow(&window);
    EXPECT_EQ(window.frameGeometry(), first);
}

// A message line stays whole where the screen allows, and the box stays on the screen.
TEST(MessageBox, KeepsLinesWholeWhereTheScreenAllows) {
    QtDialogs dialogs;
    const QString command = QStringLiteral(
        R"(C:\GPL\gpl.exe -ko"20:Personal Information:lastTrackSelection:monza" -ko"20:Personal Information:team:4")");
    for (const QString& line : {command.left(60), command, command + command + command}) {
        const QString text = parameterText(line);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const QRect area = box->screen()->availableGeometry();
            EXPECT_EQ(label->text(), QString(text).replace(QLatin1String("\r\n"), u"\n"_s));
            EXPECT_TRUE(area.contains(box->frameGeometry()));
            const bool wraps =
                QFontMetricsF(label->font()).horizontalAdvance(line) > label->width();
            EXPECT_EQ(box->frameGeometry().width(),
                      wraps ? area.width() : box->frameGeometry().width())
                << line.toStdString();
            box->done(QMessageBox::Ok);
        });
        dialogs.messageBox(
            {text, u"Parameter"_s, Buttons::Ok, Icon::Information, MessageKind::Information});
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
