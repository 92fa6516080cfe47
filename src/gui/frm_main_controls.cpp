// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: one table of every control, made and bound in one loop.
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
    const auto refuse = [this] { handle([&] { model_.dropForeignData(); }); };
    activeModel_ =
        new DraggableTrackListModel(model_.workspace().ListTracks, FormModel::Side::Active,
                                    dropOnto(FormModel::Side::Active), refuse, this);
    inactiveModel_ =
        new DraggableTrackListModel(model_.workspace().listNotActive, FormModel::Side::Inactive,
                                    dropOnto(FormModel::Side::Inactive), refuse, this);
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

} // namespace gk
