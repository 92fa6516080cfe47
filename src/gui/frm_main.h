// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the widgets, shown from the form model and forwarding to it.
#pragma once

#include "form_model.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QMenu;
class QAction;
class QKeyEvent;

namespace gk {

class TrackListModel;

// The main window: builds the controls, forwards every event to the form model and shows
// what the model holds. It decides nothing itself.
class FrmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit FrmMain(FormModel& model, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Shows the model's state in the controls.
    void render();

    QListView* activeList() const { return ListTracks_; }
    QListView* inactiveList() const { return listNotActive_; }
    QLineEdit* entryBox(int index) const { return txtEntry_[static_cast<size_t>(index)]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // A handler of the form model, for a control or the member of a control array at `index`.
    using Handler = void (*)(FormModel& model, int16_t index);
    struct Bound {
        Handler handler = nullptr;
        int16_t index = 0;
    };
    struct Control;

    void buildControls();
    QWidget* makeControl(const Control& c, int16_t k);
    void connectInputs();
    void buildMenus();
    void renderList(QListView* view, TrackListModel* model, const TrackList& list,
                    uint64_t& seenMarks);
    // Runs a handler of the form model, then shows what it changed (never while rendering).
    void handle(const std::function<void()>& handler);
    void connectList(QListView* view, FormModel::Side side);
    void scheduleRender();
    // The parts of eventFilter: the help line, the keys of a list, a press on a label that takes
    // clicks, the search box getting the focus.
    void showHelp(QObject* watched, QEvent* event);
    bool listKeyTaken(QObject* watched, const QKeyEvent* key);
    bool pressTaken(QObject* watched);
    void searchBoxFocused();
    void openReport();
    void openAbout();

    FormModel& model_;
    bool rendering_ = false;
    int handling_ = 0;               // handlers running (nested through modal loops)
    bool diskChangePending_ = false; // the season files changed while a handler ran
    bool renderScheduled_ = false;

    QWidget* client_ = nullptr;
    QLabel* lblGPLdir_ = nullptr;
    QLineEdit* txtRunTrack_ = nullptr;
    QComboBox* cboCars_ = nullptr;
    QPushButton* cmdLaunchGPL_ = nullptr;
    QLabel* lblAmountLeft_ = nullptr;
    QLabel* lblAmountRight_ = nullptr;
    QListView* ListTracks_ = nullptr;
    QListView* listNotActive_ = nullptr;
    TrackListModel* activeModel_ = nullptr;
    TrackListModel* inactiveModel_ = nullptr;
    uint64_t seenActiveMarks_ = ~uint64_t{0};
    uint64_t seenInactiveMarks_ = ~uint64_t{0};
    // Per list (active, inactive): whether the mouse press under way changed the current row.
    std::array<bool, 2> currentChangedByPress_{true, true};
    std::array<QLineEdit*, 14> txtEntry_{};
    std::array<QCheckBox*, 2> chkEdit_{};
    QLineEdit* txtTrack_ = nullptr;
    std::array<QPushButton*, 4> cmdChangeButton_{};
    QPushButton* cmdMakeIni_ = nullptr;
    std::array<QLabel*, 4> picArrow_{};
    QCheckBox* chkSort_ = nullptr;
    QFrame* frameInfo_ = nullptr;
    QLabel* lblInfo_ = nullptr;
    QLabel* lblTrackSet_ = nullptr;
    QLabel* lblMyMail_ = nullptr;
    QHash<QObject*, Bound> hover_; // what writes the help line for each control that has it
    QHash<QObject*, Bound> press_; // the click handler of each label that takes clicks
    std::array<QAction*, 22> mnuTrackSet_{};
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuUndo_ = nullptr;
    QAction* mnuRedo_ = nullptr;
};

} // namespace gk
