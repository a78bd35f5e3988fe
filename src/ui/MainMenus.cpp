#include "ui/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "model/GameState.h"
#include "ui/Config.h"

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
    mnuFile = menu(bar, "mnuFile", QStringLiteral("&File"));
    mnuNew = item(mnuFile, "mnuNew", QStringLiteral("&New"));
    mnuSave = item(mnuFile, "mnuSave", QStringLiteral("&Save Game"));
    mnuLoad = item(mnuFile, "mnuLoad", QStringLiteral("&Load Game"));
    sep1 = separator(mnuFile, "sep1");
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));

    mnuView = menu(bar, "mnuView", QStringLiteral("View"));
    mnuGameStatus = item(mnuView, "mnuGameStatus", QStringLiteral("Game &Status"), ctrl(Qt::Key_S));
    mnuHighScores = item(mnuView, "mnuHighScores", QStringLiteral("&High Scores"), ctrl(Qt::Key_H));
    mnuGuide = item(mnuView, "mnuGuide", QStringLiteral("&Guide Lines"), ctrl(Qt::Key_G));
    mnuGuide->setCheckable(true);

    mnuMusic = menu(bar, "mnuMusic", QStringLiteral("Music"));
    mnuNextSong = item(mnuMusic, "mnuNextSong", QStringLiteral("&Next Song"), ctrl(Qt::Key_N));
    mnuLoop = item(mnuMusic, "mnuLoop", QStringLiteral("&Loop Song"), ctrl(Qt::Key_L));
    mnuLoop->setCheckable(true);

    mnuHelp = menu(bar, "mnuHelp", QStringLiteral("Help"));
    mnuOnline = item(mnuHelp, "mnuOnline", QStringLiteral("&Help Online"));
    mnuEmail = item(mnuHelp, "mnuEmail",
                    QStringLiteral("&Email Norvin (") + QString::fromUtf8(config::kAuthorEmail) +
                        QStringLiteral(")"));
    sep2 = separator(mnuHelp, "sep2");
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("&About"));

    // After the game's classic menus, which keep their places.
    mnuExtras = menu(bar, "mnuExtras", QStringLiteral("Extras"));
    mnuShowHints = item(mnuExtras, "mnuShowHints", QStringLiteral("Show &Hints"));
    mnuShowHints->setCheckable(true);
    mnuShowHints->setChecked(true);
    mnuHistory = item(mnuExtras, "mnuHistory", QStringLiteral("Game &History"));

    mnuQuince = menu(bar, "mnuQuince", QStringLiteral("Quince"));
    mnuSetPos = item(mnuQuince, "mnuSetPos", QStringLiteral("&Set Position and start turn"),
                     QKeySequence(Qt::Key_F1));
    mnuSetFrict = item(mnuQuince, "mnuSetFrict", QStringLiteral("&Set Friction"), QKeySequence(Qt::Key_F2));
    mnuSetSpeed = item(mnuQuince, "mnuSetSpeed", QStringLiteral("&Set Speed"), QKeySequence(Qt::Key_F3));
    mnuSetPiece = item(mnuQuince, "mnuSetPiece", QStringLiteral("&Set Piece"), QKeySequence(Qt::Key_F4));
    mnuSetIngame = item(mnuQuince, "mnuSetIngame", QStringLiteral("&Set Ingame"), QKeySequence(Qt::Key_F5));
    mnuSetGuide = item(mnuQuince, "mnuSetGuide", QStringLiteral("&Set Guidelines"), QKeySequence(Qt::Key_F6));
}

void MainMenus::syncFrom(const Field& field) const {
    // No command shows the High Scores item; the end of a game runs its
    // action directly.
    mnuHighScores->setVisible(false);
    mnuGuide->setVisible(field.mnuGuideVisible);
    mnuGuide->setChecked(field.mnuGuideChecked);
    mnuLoop->setChecked(field.mnuLoopChecked);
    mnuQuince->menuAction()->setVisible(field.mnuQuinceVisible);
    for (QAction* a : mnuQuince->actions()) a->setEnabled(field.mnuQuinceVisible);
}

}  // namespace capzel::ui
