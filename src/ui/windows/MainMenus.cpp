#include "ui/windows/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "model/WindowState.h"
#include "model/Game.h"
#include "ui/windows/Config.h"

namespace capzel::ui {

namespace {

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* item(QMenu* m, const char* name, const QString& caption,
              const QKeySequence& shortcut = QKeySequence()) {
    QAction* a = m->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

QAction* separator(QMenu* m, const char* name) {
    QAction* a = m->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

}  // namespace

void MainMenus::build(QMenuBar* bar) {
    fileMenu = menu(bar, "fileMenu", QStringLiteral("&File"));
    fileMenu->setToolTipsVisible(true);
    newAction = item(fileMenu, "newAction", QStringLiteral("&New"));
    saveAction = item(fileMenu, "saveAction", QStringLiteral("&Save Game"));
    loadAction = item(fileMenu, "loadAction", QStringLiteral("&Load Game"));
    fileSeparator = separator(fileMenu, "fileSeparator");
    exitAction = item(fileMenu, "exitAction", QStringLiteral("E&xit"));

    viewMenu = menu(bar, "viewMenu", QStringLiteral("View"));
    gameStatusAction = item(viewMenu, "gameStatusAction", QStringLiteral("Game &Status"), ctrl(Qt::Key_S));
    highScoresAction = item(viewMenu, "highScoresAction", QStringLiteral("&High Scores"), ctrl(Qt::Key_H));
    guideLinesAction = item(viewMenu, "guideLinesAction", QStringLiteral("&Guide Lines"), ctrl(Qt::Key_G));
    guideLinesAction->setCheckable(true);

    musicMenu = menu(bar, "musicMenu", QStringLiteral("Music"));
    nextSongAction = item(musicMenu, "nextSongAction", QStringLiteral("&Next Song"), ctrl(Qt::Key_N));
    loopAction = item(musicMenu, "loopAction", QStringLiteral("&Loop Song"), ctrl(Qt::Key_L));
    loopAction->setCheckable(true);

    helpMenu = menu(bar, "helpMenu", QStringLiteral("Help"));
    onlineHelpAction = item(helpMenu, "onlineHelpAction", QStringLiteral("&Help Online"));
    emailAction = item(helpMenu, "emailAction",
                    QStringLiteral("&Email Norvin (") + QString::fromUtf8(config::kAuthorEmail) +
                        QStringLiteral(")"));
    helpSeparator = separator(helpMenu, "helpSeparator");
    aboutAction = item(helpMenu, "aboutAction", QStringLiteral("&About"));
    howToPlaySeparator = separator(helpMenu, "howToPlaySeparator");
    howToPlayAction = item(helpMenu, "howToPlayAction", QStringLiteral("How to &Play"));

    // After the game's classic menus, which keep their places.
    extrasMenu = menu(bar, "extrasMenu", QStringLiteral("&Extras"));
    extrasMenu->setToolTipsVisible(true);
    showHintsAction = item(extrasMenu, "showHintsAction", QStringLiteral("Show &Hints"));
    showHintsAction->setCheckable(true);
    showHintsAction->setChecked(false);
    historyAction = item(extrasMenu, "historyAction", QStringLiteral("Game &History"));
    watchRecordAction = item(extrasMenu, "watchRecordAction", QStringLiteral("&Watch Game Record..."));
    exportRecordAction = item(extrasMenu, "exportRecordAction", QStringLiteral("&Export Game Record..."));
    onlineSeparator = separator(extrasMenu, "onlineSeparator");
    hostOnlineAction = item(extrasMenu, "hostOnlineAction", QStringLiteral("Host &Online Game..."));
    joinOnlineAction = item(extrasMenu, "joinOnlineAction", QStringLiteral("&Join Online Game..."));
    buildShotItems();
    suggestShotAction = item(extrasMenu, "suggestShotAction", QStringLiteral("Suggest &Shot"), ctrl(Qt::Key_T));
    suggestShotAction->setEnabled(false);
    settingsSeparator = separator(extrasMenu, "settingsSeparator");
    settingsAction = item(extrasMenu, "settingsAction", QStringLiteral("&Settings..."));

    hiddenMenu = menu(bar, "hiddenMenu", QStringLiteral("Quince"));
    hiddenMenu->setToolTipsVisible(true);
    setPositionAction = item(hiddenMenu, "setPositionAction", QStringLiteral("&Set Position and start turn"),
                     QKeySequence(Qt::Key_F1));
    setFrictionAction = item(hiddenMenu, "setFrictionAction", QStringLiteral("&Set Friction"), QKeySequence(Qt::Key_F2));
    setSpeedAction = item(hiddenMenu, "setSpeedAction", QStringLiteral("&Set Speed"), QKeySequence(Qt::Key_F3));
    setPieceAction = item(hiddenMenu, "setPieceAction", QStringLiteral("&Set Piece"), QKeySequence(Qt::Key_F4));
    setInGameAction = item(hiddenMenu, "setInGameAction", QStringLiteral("&Set Ingame"), QKeySequence(Qt::Key_F5));
    setGuidelinesAction = item(hiddenMenu, "setGuidelinesAction", QStringLiteral("&Set Guidelines"), QKeySequence(Qt::Key_F6));
}

void MainMenus::buildShotItems() {
    playSeparator = separator(extrasMenu, "playSeparator");
    // Checked, every shot runs eight times faster (as while Space is held).
    fastForwardAction = item(extrasMenu, "fastForwardAction", QStringLiteral("&Fast Forward"));
    fastForwardAction->setCheckable(true);
    replayAction = item(extrasMenu, "replayAction", QStringLiteral("&Replay Last Shot"));
    undoAction = item(extrasMenu, "undoAction", QStringLiteral("&Undo Shot"), ctrl(Qt::Key_Z));
    redoAction = item(extrasMenu, "redoAction", QStringLiteral("Re&do Shot"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

void MainMenus::syncShotItems(bool gameRunning, bool canReplay, bool canUndo, bool canRedo) const {
    fastForwardAction->setEnabled(gameRunning || canReplay);
    replayAction->setEnabled(canReplay);
    undoAction->setEnabled(canUndo);
    redoAction->setEnabled(canRedo);
}

void MainMenus::syncOnline(bool online) const {
    static const QString why = QStringLiteral("Not available in an online game");
    for (QAction* a : {newAction, loadAction, undoAction, redoAction}) {
        if (online) a->setEnabled(false);
        a->setToolTip(online ? why : QString());
    }
    newAction->setEnabled(!online);
    loadAction->setEnabled(!online);
    for (QAction* a : hiddenMenu->actions()) {
        if (online) a->setEnabled(false);
        a->setToolTip(online ? why : QString());
    }
}

void MainMenus::syncFrom(const MenuState& state) const {
    // No command shows the High Scores item; the end of a game runs its
    // action directly.
    highScoresAction->setVisible(false);
    guideLinesAction->setVisible(state.guideItemVisible);
    guideLinesAction->setChecked(state.guideLinesChecked);
    loopAction->setChecked(state.loopChecked);
    hiddenMenu->menuAction()->setVisible(state.hiddenMenuVisible);
    for (QAction* a : hiddenMenu->actions()) a->setEnabled(state.hiddenMenuVisible);
}

}  // namespace capzel::ui
