// The main window: the field, the menu bar, the music, and the window's
// handlers for the mouse, the keyboard and the "Go" button. It opens a board
// on the application's game session (session/GameSession.h) and draws it:
// the field, and the turn's controls. It owns the platform through which the
// game reaches the player while this window is the home of the game, the
// menus' states and songs, and the clock that drives the turn: the power
// bar's charge and the shot run from the window's timer, between the events
// it handles. A New command closes it and a new one replaces it; a charge
// or a shot under way goes with the window.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/TurnController.h"
#include "players/PlannedShot.h"
#include "model/Game.h"
#include "model/WindowState.h"
#include "ui/windows/Twips.h"
#include "ui/windows/MainMenus.h"

namespace capzel {
class GameSession;
}

namespace capzel::ui {

class GameHost;
class ComputerPlay;
class FieldView;
class FirstGameCoach;
class MusicPlayer;
class QtPlatform;
class RuleBanner;
class SettingsDialog;
class SidePanel;
}  // namespace capzel::ui

class QKeyEvent;

namespace capzel::ui {
class StepScheduler;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area in twips and logical pixels, and where it opens.
    static constexpr int kClientWidthPx = kFieldWidthPx;
    static constexpr int kClientHeightPx = kFieldHeightPx;
    static constexpr int kOpenLeftTwips = 705;
    static constexpr int kOpenTopTwips = 840;

    explicit MainWindow(GameHost& app);
    ~MainWindow() override;

    const Game& game();
    GameSession& session();
    QtPlatform& platform();
    FieldView* view() const { return view_; }
    const MainMenus& menus() const { return menus_; }
    MusicPlayer* music() const { return music_.get(); }
    // The menus' states and the songs, as long as the window lives.
    MenuState& menuState() { return menuState_; }
    const std::string& musicFolder() const { return musicFolder_; }

    // The turn played on this window's field, and the clock that drives
    // its charge and its shot.
    TurnController& turn() { return *turn_; }
    StepScheduler& scheduler() const { return *scheduler_; }
    // The computer at this board: its turns, and the suggestion for a person.
    ComputerPlay& computerPlay() const { return *computerPlay_; }

    // The player's size (100 is the designed size): the field, its controls
    // and the menu bar grow alike, the game's twips stay what they are, and a
    // window that outgrows the screen moves back onto it. A size at which
    // the window would not fit the screen's free area is not taken: the
    // largest that fits is.
    void setSizePercent(int percent);
    // The window's outer size, frame included, at a zoom; and the largest
    // size (percent) at which it fits its screen's free area.
    QSize outerSizeAt(double zoom) const;
    int largestFittingPercent() const;

    // Starts song n of the music folder.
    void playSong(int n);
    // The music player's play-state notification (song end = 2 -> 0).
    void musicStateChanged(int previous, int current);
    // Another player for the music and the effects (a test's), with the
    // sound settings applied to it.
    void setMusicPlayer(std::unique_ptr<MusicPlayer> player);
    // The player's sound settings, applied at once: the music's volume or
    // its mute, and whether the game's effects sound and how loud.
    void applySoundSettings();

    // Brings the menus, the "Go" button and the picture up to date with
    // the model: after every command and key, and as a run advances.
    void syncMenus();
    void refreshField();
    // Repaints what the turn's run changed and tells the other windows
    // that the game changed.
    void showProgress();
    // Tells what the judging of the last shot announced, one box each, in
    // order, then shows the high scores when the game `ended`.
    void tellJudgement(bool ended);
    // Tells what a rule call outside a shot announced (a game's first turn,
    // a hidden command) as the player chose: boxes, or the banner.
    GameFlow tell(const Judgement& judgement);

    // The player's comforts take effect at once: how the rules' messages
    // show, the aim line, the power bar's pace, the sound.
    void applySettings();
    // "Settings...": the settings window, or the open one brought up.
    void showSettings();
    RuleBanner* banner() const { return banner_; }
    // The strip beside the field (messages, the watching cue, the chat).
    SidePanel* side() const { return side_; }
    // Docks `widget` in the strip beneath the messages (null: takes the
    // docked one away); the strip shows while it holds anything.
    void dockBeside(QWidget* widget);
    // The strip shows while the messages go there or it holds anything,
    // and the window keeps to the screen as it grows.
    void updateSide();

    // Menu commands of this window.
    void showGameStatus();
    void toggleGuideLines();
    void nextSong();
    void toggleLoop();
    void openOnlineHelp();
    void writeEmail();
    // The first game's three steps over the field (null once closed).
    FirstGameCoach* coach() const { return coach_; }

    // Window handlers: the mouse and "Go" go to the turn, keys to the
    // hidden menu's matcher.
    void handleMouseMove(int buttons, int shift, float x, float y);
    void handleMouseUp(int buttons, int shift, float x, float y);
    void handleGoButton();
    void onKeyDown(int keyCode, int shift);

    // The shots of the game beyond the classic turn: fast forward (Space
    // held, or the checked menu item), the last shot replayed or taken
    // back, and the turn's keys (Space or Enter for "Go", Esc to call off
    // an aim or a charge).
    // Ctrl+Z takes shots back one at a time as far as the first, Ctrl+Shift+Z
    // plays them again until a new shot is played.
    void undoShot();
    void redoShot();
    void replayLastShot();
    void syncShotState();
    bool handleShotKey(const QKeyEvent& key);
    static bool isShotKey(int key);

signals:
    // The window is shown at another zoom (the other windows follow).
    void zoomChanged(double zoom);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // True when the seat at the board is the computer's.
    bool computerAtBoard() const;
    void initialize();
    void placeOnScreen();
    void zoomTo(double zoom);
    void fitOnScreen();
    void connectMenus();
    // Undo and redo, and the whole-game records' items.
    void connectRecordItems(const std::function<void(QAction*, std::function<void()>)>& on);
    bool ownsSessionBoard() const;
    void connectComputerPlay();
    // Draws the computer's suggested shot over the field (nothing: it goes).
    void showSuggestion(const std::optional<players::PlannedShot>& shot);
    void buildClientArea();
    void followCoach();
    template <class Fn>
    void runCommand(Fn&& fn);

    GameHost& app_;
    MainMenus menus_;
    MenuState menuState_;
    FieldMarkings marks_ = makeFieldMarkings();
    FieldView* view_ = nullptr;
    FirstGameCoach* coach_ = nullptr;
    std::unique_ptr<QtPlatform> platform_;
    std::unique_ptr<MusicPlayer> music_;
    std::string musicFolder_;
    // The board's turn, held for as long as the window lives: a handler
    // still running in a closed window touches its own turn, not the next.
    std::shared_ptr<TurnController> turn_;
    bool boardOpen_ = true;  // until the window closes
    StepScheduler* scheduler_ = nullptr;
    bool spaceHeld_ = false;
    quint64 spaceReleasedAt_ = ~quint64(0);  // the display's clock at the last release of Space
    int shotState_ = -1;
    ComputerPlay* computerPlay_ = nullptr;
    RuleBanner* banner_ = nullptr;
    SidePanel* side_ = nullptr;
    QPointer<SettingsDialog> settingsDialog_;
    bool aimShown_ = false;  // the aim line was on the field at the last look
    // The rules' messages go to the banner, not to boxes.
    bool bannerMode() const;
    // An aim that started since the last look clears the banner's messages.
    void noticeAim();
    // This computer follows an online game without a seat of its own.
    bool watchingOnly() const;
    void tellNotYourTurn();
};

}  // namespace capzel::ui
