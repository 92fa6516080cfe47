// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the widgets, shown from the form model and forwarding to it.
#include "frm_main.h"

#include "about.h"
#include "frm_reports.h"
#include "infoform.h"
#include "layout.h"
#include "platform/code_page.h"
#include "track_list_model.h"

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
#include <functional>
#include <optional>

namespace gk {
namespace {

using layout::arial;
using layout::place;
using layout::px;

QColor color(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Colours go through palettes: style sheets would make Qt style every control the slow way.
void paint(QWidget* w, std::optional<Rgb> fore, std::optional<Rgb> back) {
    QPalette palette = w->palette();
    if (fore) {
        palette.setColor(QPalette::WindowText, color(*fore));
        palette.setColor(QPalette::Text, color(*fore));
        palette.setColor(QPalette::ButtonText, color(*fore));
    }
    if (back) {
        palette.setColor(QPalette::Window, color(*back));
        palette.setColor(QPalette::Base, color(*back));
        palette.setColor(QPalette::Button, color(*back));
        w->setAutoFillBackground(true);
    }
    w->setPalette(palette);
}

constexpr Rgb kGreen{58, 135, 99};
constexpr Rgb kLightOrange{255, 224, 192};
constexpr Rgb kLightYellow{255, 255, 192};
constexpr Rgb kOrange{255, 192, 128};
constexpr Rgb kLightGrey{224, 224, 224};
constexpr Rgb kPaleYellow{255, 255, 128};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kWhite{255, 255, 255};

// Text of a disabled entry box: it is there to be read (contrast above 7:1 on the box).
const QColor kDisabledText(64, 64, 64);

void readableWhenDisabled(QWidget* w) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, kDisabledText);
    w->setPalette(palette);
}

// A long entry shows its beginning (the key), not its end.
void showText(QLineEdit* box, const QString& text) {
    if (box->text() == text)
        return;
    box->setText(text);
    box->setCursorPosition(0);
}

// A list that gets the keyboard focus back keeps the current row it had. With none, Qt would
// make the first row current (without marking it), and the window would take that for the
// user's choice of that row; only a click, a key or a command chooses a row.
class TrackListView : public QListView {
  public:
    using QListView::QListView;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        if (currentIndex().isValid() || !selectionModel()) {
            QListView::focusInEvent(event);
            return;
        }
        const QSignalBlocker quiet(selectionModel());
        QListView::focusInEvent(event);
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
};

// Fusion draws a drop-down list as a button, shaded from its colour to near white. This one
// fills the face with the palette's button colour alone, so the car box shows the same light
// yellow as the "Selected track" box beside it.
class PlainFaceStyle : public QProxyStyle {
  public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_PanelButtonCommand) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const bool focus = option->state.testFlag(State_HasFocus);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(focus ? option->palette.color(QPalette::Highlight)
                              : option->palette.color(QPalette::Window).darker(140));
        painter->setBrush(option->palette.button());
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        painter->restore();
    }
};

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

template <class F> void FrmMain::handle(F&& handler) {
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

void FrmMain::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setAutoFillBackground(true);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, QColor(kGreen.r, kGreen.g, kGreen.b));
    client_->setPalette(palette);
    client_->setMinimumSize(px(9375), px(6645));
    client_->setFont(layout::dialogFont());
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setCentralWidget(client_);

    const auto label = [this](const QString& caption, Rgb fore, Rgb back, bool transparent) {
        auto* l = new QLabel(caption, client_);
        paint(l, fore, transparent ? std::nullopt : std::optional<Rgb>(back));
        return l;
    };
    const auto coloured = [](QWidget* w, Rgb back) { paint(w, Rgb{0, 0, 0}, back); };

    lblGPLdir_ = label(QString(), kRed, kLightGrey, false);
    lblGPLdir_->setObjectName(QStringLiteral("lblGPLdir"));
    lblGPLdir_->setFont(arial(9.75, true));
    place(lblGPLdir_, 120, 120, 9135, 315);

    txtRunTrack_ = new QLineEdit(client_);
    txtRunTrack_->setObjectName(QStringLiteral("txtRunTrack"));
    txtRunTrack_->setToolTip(QStringLiteral("Selected track"));
    txtRunTrack_->setEnabled(false);
    coloured(txtRunTrack_, kLightYellow);
    readableWhenDisabled(txtRunTrack_);
    place(txtRunTrack_, 4680, 120, 1575, 315);

    cboCars_ = new QComboBox(client_);
    cboCars_->setObjectName(QStringLiteral("cboCars"));
    cboCars_->setToolTip(QStringLiteral("choose a car"));
    connect(cboCars_, &QComboBox::activated, this, [this](int index) {
        handle([this, index] { model_.controls().cboCarsIndex = index; });
    });
    coloured(cboCars_, kLightYellow);
    auto* carBoxStyle = new PlainFaceStyle;
    carBoxStyle->setParent(cboCars_);
    cboCars_->setStyle(carBoxStyle);
    place(cboCars_, 6360, 120, 855, 315);

    cmdLaunchGPL_ = new QPushButton(QStringLiteral("start GPL"), client_);
    cmdLaunchGPL_->setObjectName(QStringLiteral("cmdLaunchGPL"));
    cmdLaunchGPL_->setToolTip(QStringLiteral("launch Grand Prix Legends"));
    place(cmdLaunchGPL_, 8160, 120, 1095, 315);
    connect(cmdLaunchGPL_, &QPushButton::clicked, this,
            [this] { handle([this] { model_.cmdLaunchGPL_Click(); }); });

    lblAmountLeft_ = label(QString(), {0, 0, 0}, kLightOrange, false);
    lblAmountLeft_->setObjectName(QStringLiteral("lblAmountLeft"));
    place(lblAmountLeft_, 120, 480, 1695, 255);
    lblAmountRight_ = label(QString(), {0, 0, 0}, kLightOrange, false);
    lblAmountRight_->setObjectName(QStringLiteral("lblAmountRight"));
    place(lblAmountRight_, 7440, 480, 1815, 255);

    for (int i = 0; i < 2; ++i) {
        auto* heading =
            label(QStringLiteral("Track Info / ini entries"), {0, 0, 0}, kLightOrange, false);
        heading->setObjectName(QStringLiteral("Label5_%1").arg(i));
        heading->setFont(arial(8.25));
        place(heading, i == 0 ? 2040 : 4680, 600, 2535, 255);
        Label5_[static_cast<size_t>(i)] = heading;
    }

    const auto list = [this, &coloured](const QString& name, const QString& tip) {
        auto* view = new TrackListView(client_);
        view->setObjectName(name);
        view->setToolTip(tip);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setUniformItemSizes(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        coloured(view, kLightYellow);
        return view;
    };
    ListTracks_ = list(QStringLiteral("ListTracks"), QStringLiteral("The Track List"));
    place(ListTracks_, 120, 720, 1695, 4545);
    listNotActive_ = list(QStringLiteral("listNotActive"), QStringLiteral("Non activated tracks."));
    place(listNotActive_, 7440, 720, 1815, 4545);
    activeModel_ = new TrackListModel(model_.workspace().ListTracks, this);
    inactiveModel_ = new TrackListModel(model_.workspace().listNotActive, this);
    ListTracks_->setModel(activeModel_);
    listNotActive_->setModel(inactiveModel_);
    connectList(ListTracks_, FormModel::Side::Active);
    connectList(listNotActive_, FormModel::Side::Inactive);
    ListTracks_->installEventFilter(this);
    listNotActive_->installEventFilter(this);
    lblAmountLeft_->installEventFilter(this);
    lblAmountRight_->installEventFilter(this);
    lblAmountLeft_->setCursor(Qt::PointingHandCursor);
    lblAmountRight_->setCursor(Qt::PointingHandCursor);

    for (int i = 0; i < 14; ++i) {
        auto* box = new QLineEdit(client_);
        box->setObjectName(QStringLiteral("txtEntry%1").arg(i));
        box->setFont(arial(8.25));
        readableWhenDisabled(box);
        box->setEnabled(false);
        const int left = i < 7 ? 2040 : 4680;
        place(box, left, 960 + 360 * (i % 7), 2535, 315);
        txtEntry_[static_cast<size_t>(i)] = box;
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            handle([this, i, &text] { model_.editEntry(static_cast<int16_t>(i), text); });
        });
    }

    // The caption in its colour on the green; the box and its tick black on white, so that
    // the tick stands out whatever the caption's colour.
    const auto check = [this](const QString& caption, Rgb fore) {
        auto* c = new QCheckBox(caption, client_);
        QPalette colours = c->palette();
        colours.setColor(QPalette::WindowText, color(fore));
        colours.setColor(QPalette::Text, Qt::black);
        colours.setColor(QPalette::Base, Qt::white);
        c->setPalette(colours);
        return c;
    };
    chkEdit_[0] = check(QStringLiteral("Edit Mode"), kYellow);
    chkEdit_[0]->setObjectName(QStringLiteral("chkEdit0"));
    place(chkEdit_[0], 2040, 3480, 1215, 255);
    chkEdit_[1] = check(QStringLiteral("Edit Mode"), kYellow);
    chkEdit_[1]->setObjectName(QStringLiteral("chkEdit1"));
    place(chkEdit_[1], 6120, 3480, 1095, 255);
    for (int16_t i = 0; i < 2; ++i)
        connect(chkEdit_[static_cast<size_t>(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) {
                    handle([this, i, checked] {
                        model_.controls().chkEdit[static_cast<size_t>(i)] = checked ? 1 : 0;
                        model_.chkEdit_Click(i);
                    });
                });

    lblChoose_ = label(QStringLiteral("Search for track"), kYellow, {}, true);
    lblChoose_->setObjectName(QStringLiteral("lblChoose"));
    lblChoose_->setAlignment(Qt::AlignCenter);
    lblChoose_->setToolTip(QStringLiteral(
        "Enter first letter(s) of track name to search or click into the track list"));
    place(lblChoose_, 3960, 3960, 1575, 255);

    txtTrack_ = new QLineEdit(client_);
    txtTrack_->setObjectName(QStringLiteral("txtTrack"));
    txtTrack_->setToolTip(QStringLiteral("Enter first letter(s) of track name to search."));
    coloured(txtTrack_, kOrange);
    place(txtTrack_, 3960, 4200, 1575, 315);
    txtTrack_->installEventFilter(this);
    connect(txtTrack_, &QLineEdit::textEdited, this,
            [this](const QString& text) { handle([this, &text] { model_.setSearchText(text); }); });

    const std::array<const char*, 4> captions = {">", "Delete", "Delete", "<"};
    const std::array<std::array<int, 2>, 4> spots = {
        {{2400, 4920}, {2400, 4320}, {6120, 4320}, {6120, 4920}}};
    for (size_t i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[i]), client_);
        button->setObjectName(QStringLiteral("cmdChangeButton%1").arg(i));
        place(button, spots[i][0], spots[i][1], 855, 255);
        cmdChangeButton_[i] = button;
        const auto index = static_cast<int16_t>(i);
        connect(button, &QPushButton::clicked, this,
                [this, index] { handle([this, index] { model_.cmdChangeButton_Click(index); }); });
    }
    Label3_ = label(QStringLiteral("Remove"), kWhite, {}, true);
    Label3_->setObjectName(QStringLiteral("Label3"));
    Label3_->setAlignment(Qt::AlignCenter);
    place(Label3_, 2400, 4680, 855, 255);
    Label4_ = label(QStringLiteral("Add"), kWhite, {}, true);
    Label4_->setObjectName(QStringLiteral("Label4"));
    Label4_->setAlignment(Qt::AlignCenter);
    place(Label4_, 6120, 4680, 855, 255);

    cmdMakeIni_ = new QPushButton(QStringLiteral("Create 67season.ini"), client_);
    cmdMakeIni_->setObjectName(QStringLiteral("cmdMakeIni"));
    place(cmdMakeIni_, 3960, 4680, 1575, 375);
    connect(cmdMakeIni_, &QPushButton::clicked, this,
            [this] { handle([this] { model_.cmdMakeIni_Click(); }); });

    const std::array<std::array<int, 2>, 4> arrowSpots = {
        {{1920, 4680}, {1920, 5040}, {7080, 4680}, {7080, 5040}}};
    for (size_t i = 0; i < 4; ++i) {
        auto* arrow = new QLabel(client_);
        arrow->setObjectName(QStringLiteral("picArrow%1").arg(i));
        arrow->setPixmap(layout::arrowIcon(i % 2 == 0).pixmap(16, 16));
        place(arrow, arrowSpots[i][0], arrowSpots[i][1], 240, 240);
        arrow->setCursor(Qt::PointingHandCursor);
        arrow->installEventFilter(this);
        picArrow_[i] = arrow;
    }

    chkSort_ = check(QStringLiteral("alphabetical order"), kPaleYellow);
    chkSort_->setObjectName(QStringLiteral("chkSort"));
    place(chkSort_, 3960, 5040, 1695, 255);
    connect(chkSort_, &QCheckBox::clicked, this, [this](bool checked) {
        handle([this, checked] {
            model_.controls().chkSort = checked ? 1 : 0;
            model_.chkSort_Click();
        });
    });

    frameInfo_ = new QFrame(client_);
    frameInfo_->setObjectName(QStringLiteral("frameInfo"));
    frameInfo_->setFrameShape(QFrame::StyledPanel);
    paint(frameInfo_, std::nullopt, kLightGrey);
    place(frameInfo_, 120, 5400, 9135, 855);
    lblInfo_ = new QLabel(frameInfo_);
    lblInfo_->setObjectName(QStringLiteral("lblInfo"));
    lblInfo_->setWordWrap(true);
    lblInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblInfo_, 120, 240, 8895, 495);

    lblTrackSet_ = new QLabel(client_);
    lblTrackSet_->setObjectName(QStringLiteral("lblTrackSet"));
    paint(lblTrackSet_, Rgb{0, 0, 0}, kLightGrey);
    lblTrackSet_->setFrameShape(QFrame::Box);
    place(lblTrackSet_, 120, 6360, 780, 225);
    lblTrackSet_->hide();

    lblMyMail_ = label(about::supportMail(), kLightYellow, {}, true);
    lblMyMail_->setObjectName(QStringLiteral("lblMyMail"));
    lblMyMail_->setToolTip(QStringLiteral("Bug report, suggestions...just send me a mail"));
    lblMyMail_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblMyMail_->setCursor(Qt::PointingHandCursor);
    lblMyMail_->installEventFilter(this);
    place(lblMyMail_, 7920, 6360, 1200, 195);

    // The help line: each of these controls explains itself when the pointer enters it.
    const auto hover = [this](QWidget* w, std::function<void()> handler) {
        w->installEventFilter(this);
        hoverHandlers_.insert(w, std::move(handler));
    };
    FormModel& m = model_;
    hover(lblInfo_, [&m] { m.lblInfo_MouseMove(); });
    hover(frameInfo_, [] {}); // the frame outside its label leaves the line as it is
    for (int16_t i = 0; i < 2; ++i)
        hover(chkEdit_[static_cast<size_t>(i)], [&m, i] { m.chkEdit_MouseMove(i); });
    hover(chkSort_, [&m] { m.chkSort_MouseMove(); });
    for (int16_t i = 0; i < 4; ++i) {
        hover(cmdChangeButton_[static_cast<size_t>(i)],
              [&m, i] { m.cmdChangeButton_MouseMove(i); });
        hover(picArrow_[static_cast<size_t>(i)], [&m, i] { m.picArrow_MouseMove(i); });
    }
    hover(cmdLaunchGPL_, [&m] { m.cmdLaunchGPL_MouseMove(); });
    hover(cmdMakeIni_, [&m] { m.cmdMakeIni_MouseMove(); });
    hover(lblAmountLeft_, [&m] { m.lblAmountLeft_MouseMove(); });
    hover(lblAmountRight_, [&m] { m.lblAmountRight_MouseMove(); });
    hover(lblGPLdir_, [&m] { m.lblGPLdir_MouseMove(); });
    lblGPLdir_->setMouseTracking(true); // its text depends on the game directory: every move
    hover(lblMyMail_, [&m] { m.lblMyMail_MouseMove(); });
    hover(listNotActive_, [&m] { m.listNotActive_MouseMove(); });
    hover(ListTracks_, [&m] { m.ListTracks_MouseMove(); });
    for (int16_t i = 0; i < 14; ++i)
        hover(txtEntry_[static_cast<size_t>(i)], [&m, i] { m.txtEntry_MouseMove(i); });
    hover(txtTrack_, [&m] { m.txtTrack_MouseMove(); });

    // Tab order of the layout: the lists, the list buttons, the entry boxes, then the rest.
    std::vector<QWidget*> order = {ListTracks_,         listNotActive_,      cmdChangeButton_[1],
                                   cmdChangeButton_[0], cmdChangeButton_[2], cmdChangeButton_[3]};
    order.insert(order.end(), txtEntry_.begin(), txtEntry_.begin() + 7);
    order.push_back(cmdLaunchGPL_);
    order.insert(order.end(), txtEntry_.begin() + 7, txtEntry_.end());
    order.insert(order.end(),
                 {chkEdit_[0], chkEdit_[1], cmdMakeIni_, chkSort_, cboCars_, txtTrack_});
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
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
    // The help line. A move reaches the window background also from a control without a help
    // text of its own (Qt passes it on to the parent); only the bare background counts.
    if (event->type() == QEvent::MouseMove && watched == client_) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!client_->childAt(at)) {
            model_.Form_MouseMove();
            lblInfo_->setText(model_.controls().lblInfo.caption);
        }
    } else if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (const auto it = hoverHandlers_.constFind(watched); it != hoverHandlers_.cend()) {
            (*it)();
            lblInfo_->setText(model_.controls().lblInfo.caption);
        }
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == ListTracks_ || watched == listNotActive_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto side =
            watched == ListTracks_ ? FormModel::Side::Active : FormModel::Side::Inactive;
        std::optional<FormModel::ListKey> listKey;
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier)
            listKey = FormModel::ListKey::Delete;
        else if (key->key() == Qt::Key_Up && key->modifiers() == Qt::AltModifier)
            listKey = FormModel::ListKey::AltUp;
        else if (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)
            listKey = FormModel::ListKey::AltDown;
        if (listKey) {
            bool taken = false;
            handle([&] { taken = model_.listKeyPressed(side, *listKey); });
            return taken;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == lblMyMail_) {
            handle([this] { model_.lblMyMail_Click(); });
            return true;
        }
        // A press starts a click; whether it changes the current row is seen next.
        if (watched == ListTracks_->viewport())
            currentChangedByPress_[0] = false;
        else if (watched == listNotActive_->viewport())
            currentChangedByPress_[1] = false;
        if (watched == lblAmountLeft_) {
            handle([this] { model_.lblAmountLeft_Click(); });
            return true;
        }
        if (watched == lblAmountRight_) {
            handle([this] { model_.lblAmountRight_Click(); });
            return true;
        }
        for (size_t i = 0; i < picArrow_.size(); ++i) {
            if (watched == picArrow_[i]) {
                handle([this, i] { model_.picArrow_Click(static_cast<int16_t>(i)); });
                return true;
            }
        }
    }
    if (event->type() == QEvent::FocusIn && watched == txtTrack_) {
        model_.txtTrack_GotFocus();
        // Select after Qt's own focus handling, which would otherwise place the cursor.
        QTimer::singleShot(0, this, [this] {
            txtTrack_->setSelection(model_.controls().txtTrackSelStart,
                                    model_.controls().txtTrackSelLength);
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* create = file->addAction(QStringLiteral("&Create 67season.ini"));
    connect(create, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(1); }); });
    file->addSeparator();
    QAction* check = file->addAction(QStringLiteral("Ch&eck tracks"));
    connect(check, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(6); }); });
    file->addSeparator();
    QAction* closeAction = file->addAction(QStringLiteral("&Close"));
    connect(closeAction, &QAction::triggered, this,
            [this] { handle([this] { model_.mnuFile_Click(11); }); });

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
        if (!list.selected[static_cast<size_t>(r)]) {
            ++r;
            continue;
        }
        int end = r;
        while (end + 1 < n && list.selected[static_cast<size_t>(end) + 1])
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
