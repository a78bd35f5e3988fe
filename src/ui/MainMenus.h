// The menu tree of the main window: every item under its control name (as
// the QObject name, so it can be found by name), its caption with access
// letter and its shortcut. Visibility and check marks mirror the menu
// states the Field keeps; syncFrom() applies them.
#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace capzel {
struct Field;
}

namespace capzel::ui {

struct MainMenus {
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuLoad = nullptr;
    QAction* sep1 = nullptr;
    QAction* mnuExit = nullptr;

    QMenu* mnuView = nullptr;
    QAction* mnuGameStatus = nullptr;
    QAction* mnuHighScores = nullptr;
    QAction* mnuGuide = nullptr;

    QMenu* mnuMusic = nullptr;
    QAction* mnuNextSong = nullptr;
    QAction* mnuLoop = nullptr;

    QMenu* mnuHelp = nullptr;
    QAction* mnuOnline = nullptr;
    QAction* mnuEmail = nullptr;
    QAction* sep2 = nullptr;
    QAction* mnuAbout = nullptr;

    // Additions of this game: the hints on the field and the game history.
    QMenu* mnuExtras = nullptr;
    QAction* mnuShowHints = nullptr;
    QAction* mnuHistory = nullptr;

    QMenu* mnuQuince = nullptr;
    QAction* mnuSetPos = nullptr;
    QAction* mnuSetFrict = nullptr;
    QAction* mnuSetSpeed = nullptr;
    QAction* mnuSetPiece = nullptr;
    QAction* mnuSetIngame = nullptr;
    QAction* mnuSetGuide = nullptr;

    // Creates the whole tree in the bar, as every load shows it.
    void build(QMenuBar* bar);

    // Visibility and check marks from the window's menu states. The items
    // of a hidden menu are also disabled, so their shortcut keys do not act
    // while the menu is hidden (a hidden item's own shortcut does not act
    // either).
    void syncFrom(const Field& field) const;
};

}  // namespace capzel::ui
