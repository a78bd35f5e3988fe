// The menu tree of the main window: every item under its control name (as
// the QObject name, so it can be found by name), its caption with access
// letter and its shortcut. Visibility and check marks mirror the menu
// states the window keeps (model/WindowState.h); syncFrom() applies them.
#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace capzel {
struct MenuState;
}

namespace capzel::ui {

struct MainMenus {
    QMenu* fileMenu = nullptr;
    QAction* newAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* loadAction = nullptr;
    QAction* fileSeparator = nullptr;
    QAction* exitAction = nullptr;

    QMenu* viewMenu = nullptr;
    QAction* gameStatusAction = nullptr;
    QAction* highScoresAction = nullptr;
    QAction* guideLinesAction = nullptr;

    QMenu* musicMenu = nullptr;
    QAction* nextSongAction = nullptr;
    QAction* loopAction = nullptr;

    QMenu* helpMenu = nullptr;
    QAction* onlineHelpAction = nullptr;
    QAction* emailAction = nullptr;
    QAction* helpSeparator = nullptr;
    QAction* aboutAction = nullptr;
    // After the classic items: the game's own guide, with pictures.
    QAction* howToPlaySeparator = nullptr;
    QAction* howToPlayAction = nullptr;

    // Additions of this game: the hints on the field, the game history and
    // the computer's suggestion for a person's shot.
    QMenu* extrasMenu = nullptr;
    QAction* showHintsAction = nullptr;
    QAction* historyAction = nullptr;
    // Whole-game records: a kept game watched again, the running one exported.
    QAction* watchRecordAction = nullptr;
    QAction* exportRecordAction = nullptr;
    // A game across computers: hosted here, or joined at another's.
    QAction* onlineSeparator = nullptr;
    QAction* hostOnlineAction = nullptr;
    QAction* joinOnlineAction = nullptr;
    // The running game's shots: faster, again, taken back.
    QAction* playSeparator = nullptr;
    QAction* fastForwardAction = nullptr;
    QAction* replayAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* suggestShotAction = nullptr;
    // The player's comforts: messages, size, sound, aim line, bar pace.
    QAction* settingsSeparator = nullptr;
    QAction* settingsAction = nullptr;

    QMenu* hiddenMenu = nullptr;
    QAction* setPositionAction = nullptr;
    QAction* setFrictionAction = nullptr;
    QAction* setSpeedAction = nullptr;
    QAction* setPieceAction = nullptr;
    QAction* setInGameAction = nullptr;
    QAction* setGuidelinesAction = nullptr;

    // Creates the whole tree in the bar, as every load shows it.
    void build(QMenuBar* bar);

    // Visibility and check marks from the window's menu states. The items
    // of a hidden menu are also disabled, so their shortcut keys do not act
    // while the menu is hidden (a hidden item's own shortcut does not act
    // either).
    void syncFrom(const MenuState& state) const;

    // While an online game runs, the commands that would change its game
    // at this computer alone (New, Load, the hidden commands, Undo and
    // Redo) are greyed, and say why.
    void syncOnline(bool online) const;

    // The shot items: each enabled only when it can act now.
    void syncShotItems(bool gameRunning, bool canReplay, bool canUndo, bool canRedo) const;

private:
    void buildShotItems();
};

}  // namespace capzel::ui
