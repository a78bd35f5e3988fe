// The application with its main window active, modal windows answered by `modals`.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "records/NewGame.h"
#include "support/ModalAnswerer.h"
#include "app/App.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NewGameDialog.h"
#include "desktop/StepScheduler.h"
#include "desktop/QtPlatform.h"

namespace capzel::test {

// Aims down-left from where player 1's piece starts in box 1 (the same line wherever the current piece stands).
inline void aim(ui::MainWindow& w) {
    w.turn().showAim(Line{1580, 8420, 1500, 8900, true}, std::nullopt);
    w.refreshField();
}

// Fires the aimed shot with the strength at "Go"; true once the shot is over and its announcements told.
inline bool shoot(ui::MainWindow& w, std::int16_t strength = 4000) {
    if (w.turn().fire(w.turn().pendingShot(strength))) return false;
    w.scheduler().start();
    return QTest::qWaitFor([&w] { return !w.turn().running() && w.turn().phase() != TurnPhase::Judging; }, 60000);
}

class WindowFixture {
public:
    std::unique_ptr<ui::CapzelApp> app;
    std::unique_ptr<ModalAnswerer> modals;

    // False when the window never showed or never became active.
    bool open() {
        modals = std::make_unique<ModalAnswerer>();
        app = std::make_unique<ui::CapzelApp>();
        ui::MainWindow& w = app->openMainWindow();
        w.activateWindow();
        return QTest::qWaitForWindowExposed(&w) && QTest::qWaitForWindowActive(&w);
    }
    void close() { app.reset(), modals.reset(); }

    ui::MainWindow& window() { return *app->mainWindow(); }
    const Game& game() { return app->game(); }
    const Board& board() { return game().board; }
    ui::QtPlatform& platform() { return window().platform(); }

    QImage fieldPicture() {  // as drawn now, in RGB32
        window().refreshField();
        return window().view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The mouse moved over the field to `at` (pixels), `buttons` held.
    void moveOverField(QPointF at, Qt::MouseButtons buttons = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        QMouseEvent e(QEvent::MouseMove, at, window().view()->mapToGlobal(at), Qt::NoButton, buttons, mods);
        QApplication::sendEvent(window().view(), &e);
    }

    void key(int key, int modifiers = 0) { QTest::keyClick(window().windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers)); }

    // Ann and Bob's game in the given seats at Ann's turn, set up without the dialog.
    void play(PlayerKind ann = PlayerKind::Human, PlayerKind bob = PlayerKind::Human) {
        NewGameSettings s;
        s.players = 2, s.names = {"", "Ann", "Bob"}, s.seats = {PlayerKind::Human, ann, bob};
        app->session().beginNewGame(s);
        shown();
    }

    // The game goes on from `g` in the same window, as one taken over midway: no turn start is told.
    void takeOver(const Game& g) {
        app->session().beginOnlineGame(g, std::nullopt);
        shown();
    }
    template <class Edit>
    void change(Edit&& edit) {  // the running game, changed by `edit`, taken over
        Game g = game();
        edit(g);
        takeOver(g);
    }

    void shown() {  // the windows show the game as it now stands
        window().syncMenus();
        window().refreshField();
        app->notifyStateChanged();
    }

    // New, one row per name, Play; false when no game began in an active main window.
    bool startGame(const QStringList& names) {
        app->newGame();
        ui::NewGameDialog* dialog = app->newGameDialog();
        if (!dialog || !dialog->isVisible()) return false;
        dialog->playerCountOption(int(names.size()))->click();
        for (int i = 0; i < names.size(); ++i) dialog->nameEdit(i + 1)->setText(names[i]);
        dialog->playButton()->click();
        if (!game().gameRunning || !app->mainWindow()) return false;
        window().activateWindow();  // the new main window, for its shortcuts
        return QTest::qWaitForWindowActive(&window());
    }
};

}  // namespace capzel::test
