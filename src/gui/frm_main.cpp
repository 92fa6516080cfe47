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

constexpr Rgb kBlack{0, 0, 0};
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

// The caption in its colour on the green; the box and its tick black on white, so that the tick
// stands out whatever the caption's colour.
void tickOnWhite(QCheckBox* box, Rgb caption) {
    QPalette colours = box->palette();
    colours.setColor(QPalette::WindowText, color(caption));
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    box->setPalette(colours);
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
    // Rows of one height, chosen also with Shift and Ctrl, never edited in place.
    explicit TrackListView(QWidget* parent) : QListView(parent) {
        setSelectionMode(ExtendedSelection);
        setUniformItemSizes(true);
        setEditTriggers(NoEditTriggers);
    }

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

// How a control looks, and whether it takes input.
struct Look {
    std::optional<Rgb> fore{}; // a check box's caption; the box is white with a black tick
    std::optional<Rgb> back{};
    double arial = 0; // Arial in points; 0: the window's dialog font
    bool bold = false;
    Qt::Alignment align{};
    QFrame::Shape frame = QFrame::NoFrame;
    bool locked = false; // disabled, its text still readable
    bool wrap = false;
};

constexpr Look kTitle{.fore = kBlack, .back = kLightOrange}; // a list's title, showing its count
constexpr Look kHeading{.fore = kBlack, .back = kLightOrange, .arial = 8.25};
constexpr Look kOnLightYellow{.fore = kBlack, .back = kLightYellow};
constexpr Look kShownTrack{.fore = kBlack, .back = kLightYellow, .locked = true};
constexpr Look kEntry{.arial = 8.25, .locked = true};

void applyLook(QWidget* w, const Look& look) {
    if (auto* box = qobject_cast<QCheckBox*>(w))
        tickOnWhite(box, *look.fore);
    else if (look.fore || look.back)
        paint(w, look.fore, look.back);
    if (look.arial > 0)
        w->setFont(arial(look.arial, look.bold));
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (look.align)
            label->setAlignment(look.align);
        if (look.wrap)
            label->setWordWrap(true);
    }
    if (look.frame != QFrame::NoFrame)
        qobject_cast<QFrame*>(w)->setFrameShape(look.frame);
    if (look.locked) {
        w->setEnabled(false);
        readableWhenDisabled(w);
    }
}

// A handler of the form model as the table of controls holds it; `index` goes to the handlers
// of control arrays.
template <auto handler> void call(FormModel& model, int16_t index) {
    if constexpr (std::is_invocable_v<decltype(handler), FormModel&, int16_t>)
        (model.*handler)(index);
    else
        (model.*handler)();
}

// The class of the widget a member keeps: a track list is a TrackListView.
template <class W> struct WidgetOf { using Type = W; };
template <> struct WidgetOf<QListView> { using Type = TrackListView; };

// Makes a control of class W that no member keeps.
template <class W> QWidget* made(FrmMain& /*window*/, QWidget* parent, size_t /*index*/) {
    return new W(parent);
}

// Makes the control `member` keeps (the member of a control array at `index`) and stores it.
template <auto member> QWidget* made(FrmMain& window, QWidget* parent, size_t index) {
    auto& slot = window.*member;
    using Slot = std::remove_reference_t<decltype(slot)>;
    if constexpr (std::is_pointer_v<Slot>) {
        auto* w = new typename WidgetOf<std::remove_pointer_t<Slot>>::Type(parent);
        slot = w;
        return w;
    } else {
        using Member = std::remove_pointer_t<typename Slot::value_type>;
        auto* w = new typename WidgetOf<Member>::Type(parent);
        slot.at(index) = w;
        return w;
    }
}

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

// One control of the window, or a run of members of a control array: its widget, name,
// caption, tip, place, tab position, look, and the form model's handlers for the help line and
// for a click. The widget's class is that of the member `make` stores it in.
struct FrmMain::Control {
    QWidget* (*make)(FrmMain& window, QWidget* parent, size_t index);
    const char* name;  // the object name; "%1" stands for the index of an array's member
    int16_t index = 0; // the first array member the row makes
    int16_t count = 1; // how many members, each `step` twips below the one before
    int step = 0;
    const char* caption = "";
    const char* tip = "";
    std::array<int, 4> at{}; // left, top, width, height
    Look look{};
    int tab = 0;           // the place in the tab order; 0: none of its own
    bool tracking = false; // every move over it runs its help line handler, not only entering
    bool hidden = false;
    bool inHelpFrame = false; // placed inside frameInfo, not on the window
    Handler hover = nullptr;  // the help line
    Handler click = nullptr;  // a button's click, or a press on a label (it shows a hand)
};

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

    static constexpr Handler kChangeHover = call<&FormModel::cmdChangeButton_MouseMove>;
    static constexpr Handler kChangeClick = call<&FormModel::cmdChangeButton_Click>;
    static constexpr Handler kArrowHover = call<&FormModel::picArrow_MouseMove>;
    static constexpr Handler kArrowClick = call<&FormModel::picArrow_Click>;
    // In the order they are made: where two overlap, the later one lies on top. Places in
    // twips: left, top, width, height. W is the window, whose members keep the controls; M the
    // form model, whose handlers they run.
    using W = FrmMain;
    using M = FormModel;
    // clang-format off
    static constexpr Control kControls[] = {
        {.make = made<&W::lblGPLdir_>, .name = "lblGPLdir", .at = {120, 120, 9135, 315},
         .look = {.fore = kRed, .back = kLightGrey, .arial = 9.75, .bold = true}, .tracking = true,
         .hover = call<&M::lblGPLdir_MouseMove>},
        {.make = made<&W::txtRunTrack_>, .name = "txtRunTrack", .tip = "Selected track",
         .at = {4680, 120, 1575, 315}, .look = kShownTrack},
        {.make = made<&W::cboCars_>, .name = "cboCars", .tip = "choose a car",
         .at = {6360, 120, 855, 315}, .look = kOnLightYellow, .tab = 36},
        {.make = made<&W::cmdLaunchGPL_>, .name = "cmdLaunchGPL", .caption = "start GPL",
         .tip = "launch Grand Prix Legends", .at = {8160, 120, 1095, 315}, .tab = 18,
         .hover = call<&M::cmdLaunchGPL_MouseMove>, .click = call<&M::cmdLaunchGPL_Click>},
        {.make = made<&W::lblAmountLeft_>, .name = "lblAmountLeft", .at = {120, 480, 1695, 255},
         .look = kTitle,
         .hover = call<&M::lblAmountLeft_MouseMove>, .click = call<&M::lblAmountLeft_Click>},
        {.make = made<&W::lblAmountRight_>, .name = "lblAmountRight", .at = {7440, 480, 1815, 255},
         .look = kTitle,
         .hover = call<&M::lblAmountRight_MouseMove>, .click = call<&M::lblAmountRight_Click>},
        {.make = made<QLabel>, .name = "Label5_%1", .caption = "Track Info / ini entries",
         .at = {2040, 600, 2535, 255}, .look = kHeading},
        {.make = made<QLabel>, .name = "Label5_%1", .index = 1,
         .caption = "Track Info / ini entries", .at = {4680, 600, 2535, 255}, .look = kHeading},
        {.make = made<&W::ListTracks_>, .name = "ListTracks", .tip = "The Track List",
         .at = {120, 720, 1695, 4545}, .look = kOnLightYellow, .tab = 3,
         .hover = call<&M::ListTracks_MouseMove>},
        {.make = made<&W::listNotActive_>, .name = "listNotActive", .tip = "Non activated tracks.",
         .at = {7440, 720, 1815, 4545}, .look = kOnLightYellow, .tab = 5,
         .hover = call<&M::listNotActive_MouseMove>},
        {.make = made<&W::txtEntry_>, .name = "txtEntry%1", .count = 7, .step = 360,
         .at = {2040, 960, 2535, 315}, .look = kEntry, .tab = 11,
         .hover = call<&M::txtEntry_MouseMove>},
        {.make = made<&W::txtEntry_>, .name = "txtEntry%1", .index = 7, .count = 7, .step = 360,
         .at = {4680, 960, 2535, 315}, .look = kEntry, .tab = 24,
         .hover = call<&M::txtEntry_MouseMove>},
        {.make = made<&W::chkEdit_>, .name = "chkEdit%1", .caption = "Edit Mode",
         .at = {2040, 3480, 1215, 255}, .look = {.fore = kYellow}, .tab = 32,
         .hover = call<&M::chkEdit_MouseMove>},
        {.make = made<&W::chkEdit_>, .name = "chkEdit%1", .index = 1, .caption = "Edit Mode",
         .at = {6120, 3480, 1095, 255}, .look = {.fore = kYellow}, .tab = 33,
         .hover = call<&M::chkEdit_MouseMove>},
        {.make = made<QLabel>, .name = "lblChoose", .caption = "Search for track",
         .tip = "Enter first letter(s) of track name to search or click into the track list",
         .at = {3960, 3960, 1575, 255}, .look = {.fore = kYellow, .align = Qt::AlignCenter}},
        {.make = made<&W::txtTrack_>, .name = "txtTrack",
         .tip = "Enter first letter(s) of track name to search.", .at = {3960, 4200, 1575, 315},
         .look = {.fore = kBlack, .back = kOrange}, .tab = 37,
         .hover = call<&M::txtTrack_MouseMove>},
        {.make = made<&W::cmdChangeButton_>, .name = "cmdChangeButton%1", .caption = ">",
         .at = {2400, 4920, 855, 255}, .tab = 8, .hover = kChangeHover, .click = kChangeClick},
        {.make = made<&W::cmdChangeButton_>, .name = "cmdChangeButton%1", .index = 1,
         .caption = "Delete", .at = {2400, 4320, 855, 255}, .tab = 7,
         .hover = kChangeHover, .click = kChangeClick},
        {.make = made<&W::cmdChangeButton_>, .name = "cmdChangeButton%1", .index = 2,
         .caption = "Delete", .at = {6120, 4320, 855, 255}, .tab = 9,
         .hover = kChangeHover, .click = kChangeClick},
        {.make = made<&W::cmdChangeButton_>, .name = "cmdChangeButton%1", .index = 3,
         .caption = "<", .at = {6120, 4920, 855, 255}, .tab = 10,
         .hover = kChangeHover, .click = kChangeClick},
        {.make = made<QLabel>, .name = "Label3", .caption = "Remove", .at = {2400, 4680, 855, 255},
         .look = {.fore = kWhite, .align = Qt::AlignCenter}},
        {.make = made<QLabel>, .name = "Label4", .caption = "Add", .at = {6120, 4680, 855, 255},
         .look = {.fore = kWhite, .align = Qt::AlignCenter}},
        {.make = made<&W::cmdMakeIni_>, .name = "cmdMakeIni", .caption = "Create 67season.ini",
         .at = {3960, 4680, 1575, 375}, .tab = 34,
         .hover = call<&M::cmdMakeIni_MouseMove>, .click = call<&M::cmdMakeIni_Click>},
        {.make = made<&W::picArrow_>, .name = "picArrow%1",
         .at = {1920, 4680, 240, 240}, .hover = kArrowHover, .click = kArrowClick},
        {.make = made<&W::picArrow_>, .name = "picArrow%1", .index = 1,
         .at = {1920, 5040, 240, 240}, .hover = kArrowHover, .click = kArrowClick},
        {.make = made<&W::picArrow_>, .name = "picArrow%1", .index = 2,
         .at = {7080, 4680, 240, 240}, .hover = kArrowHover, .click = kArrowClick},
        {.make = made<&W::picArrow_>, .name = "picArrow%1", .index = 3,
         .at = {7080, 5040, 240, 240}, .hover = kArrowHover, .click = kArrowClick},
        {.make = made<&W::chkSort_>, .name = "chkSort", .caption = "alphabetical order",
         .at = {3960, 5040, 1695, 255}, .look = {.fore = kPaleYellow}, .tab = 35,
         .hover = call<&M::chkSort_MouseMove>},
        // The frame outside its label leaves the help line as it is.
        {.make = made<&W::frameInfo_>, .name = "frameInfo", .at = {120, 5400, 9135, 855},
         .look = {.back = kLightGrey, .frame = QFrame::StyledPanel}},
        {.make = made<&W::lblInfo_>, .name = "lblInfo", .at = {120, 240, 8895, 495},
         .look = {.align = Qt::AlignLeft | Qt::AlignTop, .wrap = true}, .inHelpFrame = true,
         .hover = call<&M::lblInfo_MouseMove>},
        {.make = made<&W::lblTrackSet_>, .name = "lblTrackSet", .at = {120, 6360, 780, 225},
         .look = {.fore = kBlack, .back = kLightGrey, .frame = QFrame::Box}, .hidden = true},
        {.make = made<&W::lblMyMail_>, .name = "lblMyMail",
         .tip = "Bug report, suggestions...just send me a mail", .at = {7920, 6360, 1200, 195},
         .look = {.fore = kLightYellow, .align = Qt::AlignRight | Qt::AlignTop},
         .hover = call<&M::lblMyMail_MouseMove>, .click = call<&M::lblMyMail_Click>},
    };
    // clang-format on

    std::vector<std::pair<int, QWidget*>> tabOrder;
    for (const Control& c : kControls) {
        for (int16_t k = 0; k < c.count; ++k) {
            QWidget* w = makeControl(c, k);
            if (c.tab != 0)
                tabOrder.emplace_back(c.tab + k, w);
        }
    }
    // Tab order of the layout: the lists, the list buttons, the entry boxes, then the rest.
    std::sort(tabOrder.begin(), tabOrder.end());
    for (size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i].second, tabOrder[i + 1].second);

    // What the table does not hold: the pictures, the mail address, the car box's face and
    // the lists' rows.
    for (size_t i = 0; i < picArrow_.size(); ++i)
        picArrow_[i]->setPixmap(layout::arrowIcon(i % 2 == 0).pixmap(16, 16));
    lblMyMail_->setText(about::supportMail());
    auto* carBoxStyle = new PlainFaceStyle;
    carBoxStyle->setParent(cboCars_);
    cboCars_->setStyle(carBoxStyle);
    // A drop of rows is one command of the form model.
    const auto dropOnto = [this](FormModel::Side to) {
        return [this, to](FormModel::Side from, std::vector<int> rows, int position) {
            handle([&] { model_.dropRows(from, std::move(rows), to, position); });
        };
    };
    activeModel_ =
        new DraggableTrackListModel(model_.workspace().ListTracks, FormModel::Side::Active,
                                    dropOnto(FormModel::Side::Active), this);
    inactiveModel_ =
        new DraggableTrackListModel(model_.workspace().listNotActive, FormModel::Side::Inactive,
                                    dropOnto(FormModel::Side::Inactive), this);
    ListTracks_->setModel(activeModel_);
    listNotActive_->setModel(inactiveModel_);
    allowRowDragging(ListTracks_);
    allowRowDragging(listNotActive_);
    connectList(ListTracks_, FormModel::Side::Active);
    connectList(listNotActive_, FormModel::Side::Inactive);
    connectInputs();
}

// Makes the control of a row, or member k of its run, and binds the form model's handlers.
QWidget* FrmMain::makeControl(const Control& c, int16_t k) {
    const auto index = static_cast<int16_t>(c.index + k);
    QWidget* w = c.make(*this, c.inHelpFrame ? frameInfo_ : client_, static_cast<size_t>(index));
    const QString name = QString::fromLatin1(c.name);
    w->setObjectName(name.contains(QLatin1String("%1")) ? name.arg(index) : name);
    if (*c.caption) {
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(QString::fromLatin1(c.caption));
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(QString::fromLatin1(c.caption));
    }
    if (*c.tip)
        w->setToolTip(QString::fromLatin1(c.tip));
    place(w, c.at[0], c.at[1] + c.step * k, c.at[2], c.at[3]);
    applyLook(w, c.look);
    if (c.tracking)
        w->setMouseTracking(true);
    if (c.hidden)
        w->hide();
    if (c.hover) {
        w->installEventFilter(this);
        hover_.insert(w, {c.hover, index});
    }
    if (!c.click)
        return w;
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        connect(button, &QPushButton::clicked, this, [this, click = c.click, index] {
            handle([this, click, index] { click(model_, index); });
        });
    } else {
        w->setCursor(Qt::PointingHandCursor);
        w->installEventFilter(this);
        press_.insert(w, {c.click, index});
    }
    return w;
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
