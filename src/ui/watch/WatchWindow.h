// The Watch window: a kept game played again on a field of its own, from
// its start. Play and pause, normal pace or eight times faster, the previous
// and next shot, and the list of shots (who shot, what the rules said);
// choosing a row shows the game after that shot. Beside them, the chart of
// every player's score and course position. The watched game runs on a
// match of its own, through the same rulebook, so the game in progress is
// never touched; nothing of the watched game is kept or added to the
// history. A record that plays
// differently stops at that shot and the window says so.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "controls/TurnController.h"
#include "match/Match.h"
#include "model/WindowState.h"
#include "ui/watch/WatchedGame.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace capzel::ui {

class FieldView;
class GameChart;
class QtPlatform;
class StepScheduler;

class WatchWindow : public QWidget {
    Q_OBJECT
public:
    WatchWindow(std::unique_ptr<WatchedGame> game, const QString& title);
    ~WatchWindow() override;

    // Called once the window has closed (the game put aside comes back).
    std::function<void()> onClosed;

    // Shows the game after shot k (0: the start), stopping a shot in play.
    void showShot(int k);
    int shownShot() const { return shown_; }
    // Starts or pauses playing from the shot shown.
    void setPlaying(bool playing);
    bool playing() const { return playing_; }
    bool shotRunning() const;
    // Shots whose end on the field was not the record's, so that the field
    // jumped to it (none: every shot ran as recorded).
    int corrections() const { return corrections_; }

    const WatchedGame& game() const { return *game_; }
    QListWidget* shotList() const { return list_; }
    GameChart* chart() const { return chart_; }
    QLabel* notice() const { return notice_; }
    QPushButton* playButton() const { return play_; }
    QCheckBox* fastBox() const { return fast_; }
    FieldView* view() const { return view_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void playNextShot();
    void shotJudged();
    void syncControls();

    std::unique_ptr<WatchedGame> game_;
    Match match_;
    std::unique_ptr<QtPlatform> platform_;
    std::unique_ptr<TurnController> turn_;
    FieldMarkings marks_ = makeFieldMarkings();
    FieldView* view_ = nullptr;
    StepScheduler* scheduler_ = nullptr;
    QListWidget* list_ = nullptr;
    GameChart* chart_ = nullptr;
    QLabel* notice_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* next_ = nullptr;
    QCheckBox* fast_ = nullptr;
    QTimer* pause_ = nullptr;  // the breath between two shots while playing
    int shown_ = 0;            // the shot whose end the field shows
    int running_ = 0;          // the shot in play on the field, 0 for none
    bool playing_ = false;
    int corrections_ = 0;
};

}  // namespace capzel::ui
