// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the widgets, shown from the form model and forwarding to it.
#include "frm_main.h"

#include "about.h"
#include "frm_reports.h"
#include "frm_restore.h"
#include "infoform.h"
#include "layout.h"
#include "platform/code_page.h"
#include "track_list_drag.h"
#include "track_list_model.h"
#include "window_look.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <type_traits>
#include <vector>

namespace gk {
namespace {

using namespace look;

using layout::arial;
using layout::place;
using layout::px;

} // namespace

FrmMain::FrmMain(FormModel& model, QWidget* parent) : QMainWindow(parent), model_(model) {
    setWindowTitle(appTitle());
    setWindowIcon(layout::windowIcon());
    buildControls();
    buildMenus();
    activeModel_->setToolTips(
        [this](int row) { return model_.trackToolTip(FormModel::Side::Active, row); });
    inactiveModel_->setToolTips(
        [this](int row) { return model_.trackToolTip(FormModel::Side::Inactive, row); });
    render();
    // A change on disk is handled as an event of its own, after the handler that runs (a
    // message box or the wait for the game keeps events flowing inside one).
    model_.onChangedOnDisk = [this] {
        if (handling_ > 0)
            diskChangePending_ = true;
        else
            handle([this] { model_.seasonFilesChanged(); });
    };
}

FrmMain::~FrmMain() {
    model_.onChangedOnDisk = nullptr;
}

void FrmMain::handle(const std::function<void()>& handler) {
    if (rendering_)
        return;
    ++handling_;
    handler();
    --handling_;
    if (handling_ == 0 && diskChangePending_) {
        diskChangePending_ = false;
        model_.seasonFilesChanged();
    }
    if (model_.ended()) {
        QApplication::exit(0);
        return;
    }
    if (model_.closeRequested()) {
        model_.clearCloseRequest();
        close();
    }
    render();
    if (model_.takeReportRequest())
        openReport();
    if (model_.takeAboutRequest())
        openAbout();
}

void FrmMain::openReport() {
    // Computed once, when the window opens; it is not refreshed while it is open.
    FrmReports report(model_.trackReport(), this);
    report.move(frameGeometry().center() - report.rect().center());
    report.exec();
}

void FrmMain::openAbout() {
    Infoform about(this);
    about.move(frameGeometry().center() - about.rect().center());
    about.exec();
}

// The values typed or chosen in the entry boxes, the search box, the check boxes and the car
// box go into the model.
void FrmMain::connectInputs() {
    for (size_t i = 0; i < txtEntry_.size(); ++i) {
        const auto index = static_cast<int16_t>(i);
        connect(txtEntry_[i], &QLineEdit::textEdited, this, [this, index](const QString& text) {
            handle([this, index, &text] { model_.editEntry(index, text); });
        });
    }
    connect(txtTrack_, &QLineEdit::textEdited, this,
            [this](const QString& text) { handle([this, &text] { model_.setSearchText(text); }); });
    for (int16_t i = 0; i < 2; ++i)
        connect(chkEdit_[static_cast<size_t>(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) {
                    handle([this, i, checked] {
                        model_.controls().chkEdit[static_cast<size_t>(i)] = checked ? 1 : 0;
                        model_.chkEdit_Click(i);
                    });
                });
    connect(chkSort_, &QCheckBox::clicked, this, [this](bool checked) {
        handle([this, checked] {
            model_.controls().chkSort = checked ? 1 : 0;
            model_.chkSort_Click();
        });
    });
    connect(cboCars_, &QComboBox::activated, this, [this](int index) {
        handle([this, index] { model_.controls().cboCarsIndex = index; });
    });
}

void FrmMain::connectList(QListView* view, FormModel::Side side) {
    QItemSelectionModel* marks = view->selectionModel();
    uint64_t& seen = side == FormModel::Side::Active ? seenActiveMarks_ : seenInactiveMarks_;
    const TrackList& list = model_.list(side);
    // The user's selection goes into the model; the model stays the one owner of the marks.
    connect(marks, &QItemSelectionModel::selectionChanged, this,
            [this, side, &seen, &list](const QItemSelection& on, const QItemSelection& off) {
                if (rendering_)
                    return;
                for (const QItemSelectionRange& range : off)
                    model_.setRowsSelected(side, range.top(), range.bottom(), false);
                for (const QItemSelectionRange& range : on)
                    model_.setRowsSelected(side, range.top(), range.bottom(), true);
                seen = list.marksVersion;
                scheduleRender();
            });
    bool& changedByPress = currentChangedByPress_[side == FormModel::Side::Active ? 0 : 1];
    connect(marks, &QItemSelectionModel::currentChanged, this,
            [this, side, &seen, &list, &changedByPress](const QModelIndex& current) {
                if (rendering_)
                    return;
                changedByPress = true;
                model_.setCurrentRow(side, current.isValid() ? current.row() : -1);
                seen = list.marksVersion;
                scheduleRender();
            });
    // A click (plain or with Ctrl) on the row that is already current changes no current
    // row, so Qt reports no change; the click handler runs all the same, as for any click.
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::pressed, this,
            [this, side, &seen, &list, &changedByPress](const QModelIndex& index) {
                if (rendering_ || changedByPress || !index.isValid())
                    return;
                model_.setCurrentRow(side, index.row());
                seen = list.marksVersion;
                scheduleRender();
            });
}

void FrmMain::scheduleRender() {
    // Qt is still inside its own selection update; show the model's state right after it.
    if (renderScheduled_)
        return;
    renderScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        renderScheduled_ = false;
        if (model_.ended()) {
            QApplication::exit(0);
            return;
        }
        render();
    });
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        showHelp(watched, event);
        break;
    case QEvent::KeyPress:
        if (listKeyTaken(watched, static_cast<const QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::MouseButtonPress:
        if (pressTaken(watched))
            return true;
        break;
    case QEvent::FocusIn:
        if (watched == txtTrack_)
            searchBoxFocused();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The help line's texts are the form model's, each control's handler choosing its own. Qt's
// status tips (one fixed text per widget, sent when the pointer enters it) could not carry two
// of them: lblGPLdir's text is decided on every move over it, by whether driver.ini can be
// opened then, and the bare background's on every move over it, which Qt reports to the window
// with no entering when the pointer comes back from a control.
void FrmMain::showHelp(QObject* watched, QEvent* event) {
    // A move reaches the window background also from a control without a help text of its own
    // (Qt passes it on to the parent); only the bare background counts.
    if (watched == client_) {
        if (event->type() != QEvent::MouseMove ||
            client_->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            return;
        model_.Form_MouseMove();
    } else if (const auto it = hover_.constFind(watched); it != hover_.cend()) {
        it->handler(model_, it->index);
    } else {
        return;
    }
    lblInfo_->setText(model_.controls().lblInfo.caption);
}

// Delete, Alt+Up and Alt+Down in a list; false when the list handles the key itself.
bool FrmMain::listKeyTaken(QObject* watched, const QKeyEvent* key) {
    if (watched != ListTracks_ && watched != listNotActive_)
        return false;
    const auto side = watched == ListTracks_ ? FormModel::Side::Active : FormModel::Side::Inactive;
    std::optional<FormModel::ListKey> listKey;
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier)
        listKey = FormModel::ListKey::Delete;
    else if (key->key() == Qt::Key_Up && key->modifiers() == Qt::AltModifier)
        listKey = FormModel::ListKey::AltUp;
    else if (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)
        listKey = FormModel::ListKey::AltDown;
    if (!listKey)
        return false;
    bool taken = false;
    handle([&] { taken = model_.listKeyPressed(side, *listKey); });
    return taken;
}

bool FrmMain::pressTaken(QObject* watched) {
    // A press starts a click; whether it changes the current row is seen next.
    if (watched == ListTracks_->viewport())
        currentChangedByPress_[0] = false;
    else if (watched == listNotActive_->viewport())
        currentChangedByPress_[1] = false;
    const auto it = press_.constFind(watched);
    if (it == press_.cend())
        return false;
    const Bound click = *it;
    handle([this, click] { click.handler(model_, click.index); });
    return true;
}

void FrmMain::searchBoxFocused() {
    model_.txtTrack_GotFocus();
    // Select after Qt's own focus handling, which would otherwise place the cursor.
    QTimer::singleShot(0, this, [this] {
        txtTrack_->setSelection(model_.controls().txtTrackSelStart,
                                model_.controls().txtTrackSelLength);
    });
}

void FrmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* create = file->addAction(QStringLiteral("&Create 67season.ini"));
    connect(create, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(1); }); });
    QAction* restore = file->addAction(QStringLiteral("&Restore an earlier season…"));
    connect(restore, &QAction::triggered, this,
            [this] { handle([this] { FrmRestore(model_, this).exec(); }); });
    file->addSeparator();
    QAction* check = file->addAction(QStringLiteral("Ch&eck tracks"));
    connect(check, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(6); }); });
    file->addSeparator();
    QAction* closeAction = file->addAction(QStringLiteral("&Close"));
    connect(closeAction, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(11); }); });

    // The "&Edit" menu: undo and redo of the changes to the lists, captions from the model.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuUndo_ = edit->addAction(QStringLiteral("&Undo"));
    mnuUndo_->setObjectName(QStringLiteral("mnuUndo"));
    mnuUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(mnuUndo_, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuUndo_Click(); }); });
    mnuRedo_ = edit->addAction(QStringLiteral("&Redo"));
    mnuRedo_->setObjectName(QStringLiteral("mnuRedo"));
    mnuRedo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)
#ifdef Q_OS_WIN
                                ,
                            QKeySequence(Qt::CTRL | Qt::Key_Y)
#endif
    });
    connect(mnuRedo_, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuRedo_Click(); }); });

    QMenu* sets = menuBar()->addMenu(QStringLiteral("&Track Sets"));
    for (int16_t i = 0; i < 22; ++i) {
        QAction* action = i == 1 ? sets->addSeparator() : sets->addAction(QString());
        if (i != 1)
            connect(action, &QAction::triggered, this,
                    [this, i] { handle([this, i] { model_.mnuTrackSet_Click(i); }); });
        mnuTrackSet_[static_cast<size_t>(i)] = action;
    }

    // The "&?" menu: entry 0 "About", entry 1 "&Parameter".
    mnuHelp_ = menuBar()->addMenu(QStringLiteral("&?"));
    QAction* about = mnuHelp_->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuHelp0"));
    connect(about, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuHelp_Click(0); }); });
    QAction* parameter = mnuHelp_->addAction(QStringLiteral("&Parameter"));
    parameter->setObjectName(QStringLiteral("mnuHelp1"));
    connect(parameter, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuHelp_Click(1); }); });
}

void FrmMain::renderList(QListView* view, TrackListModel* model, const TrackList& list,
                         uint64_t& seenMarks) {
    const bool reset = model->refresh();
    if (!reset && seenMarks == list.marksVersion)
        return;
    seenMarks = list.marksVersion;
    QItemSelection selection;
    const int n = static_cast<int>(list.rows.size());
    for (int r = 0; r < n;) {
        if (!list.rows[static_cast<size_t>(r)].selected) {
            ++r;
            continue;
        }
        int end = r;
        while (end + 1 < n && list.rows[static_cast<size_t>(end) + 1].selected)
            ++end;
        selection.select(model->index(r), model->index(end));
        r = end + 1;
    }
    QItemSelectionModel* marks = view->selectionModel();
    marks->select(selection, QItemSelectionModel::ClearAndSelect);
    if (list.current >= 0 && list.current < n) {
        marks->setCurrentIndex(model->index(list.current), QItemSelectionModel::NoUpdate);
        view->scrollTo(model->index(list.current));
    } else {
        marks->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void FrmMain::render() {
    rendering_ = true;
    const FormControls& c = model_.controls();
    const Workspace& ws = model_.workspace();

    lblGPLdir_->setText(c.lblGPLdir.caption);
    if (lblGPLdir_->palette().color(QPalette::WindowText) != color(c.lblGPLdir.foreColor))
        paint(lblGPLdir_, c.lblGPLdir.foreColor, kLightGrey);
    lblAmountLeft_->setText(c.lblAmountLeft.caption);
    lblAmountRight_->setText(c.lblAmountRight.caption);
    lblInfo_->setText(c.lblInfo.caption);
    lblTrackSet_->setText(c.lblTrackSet.caption);
    lblTrackSet_->adjustSize();
    lblTrackSet_->setVisible(c.lblTrackSet.visible);

    renderList(ListTracks_, activeModel_, ws.ListTracks, seenActiveMarks_);
    renderList(listNotActive_, inactiveModel_, ws.listNotActive, seenInactiveMarks_);

    for (size_t i = 0; i < 14; ++i) {
        showText(txtEntry_[i], decodeGameText(c.txtEntry[i].text));
        txtEntry_[i]->setEnabled(model_.entryBoxEnabled(static_cast<int16_t>(i)));
    }
    showText(txtRunTrack_, decodeGameText(c.txtRunTrack.text));
    if (txtTrack_->text() != c.txtTrack)
        txtTrack_->setText(c.txtTrack);
    for (size_t i = 0; i < 2; ++i)
        chkEdit_[i]->setCheckState(c.chkEdit[i] == 1   ? Qt::Checked
                                   : c.chkEdit[i] == 2 ? Qt::PartiallyChecked
                                                       : Qt::Unchecked);
    chkSort_->setCheckState(c.chkSort == 1 ? Qt::Checked : Qt::Unchecked);

    if (cboCars_->count() != c.cboCars.size()) {
        cboCars_->clear();
        cboCars_->addItems(c.cboCars);
    }
    cboCars_->setCurrentIndex(c.cboCarsIndex);

    for (size_t i = 0; i < mnuTrackSet_.size(); ++i) {
        if (i != 1) {
            QString caption = c.mnuTrackSet[i].caption;
            if (i >= 2)
                caption.replace(QLatin1Char('&'), QLatin1String("&&"));
            mnuTrackSet_[i]->setText(caption);
        }
        mnuTrackSet_[i]->setVisible(c.mnuTrackSet[i].visible);
    }
    mnuUndo_->setText(model_.undoCaption());
    mnuUndo_->setEnabled(model_.undoEnabled());
    mnuRedo_->setText(model_.redoCaption());
    mnuRedo_->setEnabled(model_.redoEnabled());
    rendering_ = false;
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (model_.ended()) {
        event->accept();
        return;
    }
    bool cancel = false;
    model_.Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        render();
    } else {
        event->accept();
    }
}

void FrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        model_.Form_Activate();
        txtTrack_->setFocus();
        txtTrack_->setSelection(model_.controls().txtTrackSelStart,
                                model_.controls().txtTrackSelLength);
    }
}

void FrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!ListTracks_)
        return;
    // The lists grow downwards and the help frame and bottom line follow the lower edge;
    // up to the design height the layout keeps its design values.
    const int outer = frameGeometry().height() * 15;
    const int e = std::max(outer, 7455);
    ListTracks_->resize(ListTracks_->width(), px(e - 2910));
    listNotActive_->resize(listNotActive_->width(), px(e - 2910));
    frameInfo_->move(frameInfo_->x(), px(e - 2055));
    lblTrackSet_->move(lblTrackSet_->x(), px(e - 1095));
    lblMyMail_->move(lblMyMail_->x(), px(e - 1095));
}

} // namespace gk
