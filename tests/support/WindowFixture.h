// The application with its main window active, modal windows answered by `modals`.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "records/NewGame.h"
#include "rules/TurnStart.h"
#include "support/ModalAnswerer.h"
#include "app/App.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NewGameDialog.h"
#include "ui/windows/StepScheduler.h"
#include "ui/desktop/QtPlatform.h"

namespace capzel::test {

// Aims player 1's piece down-left of box 1, as a person would before a shot.
inline void aim(ui::MainWindow& w) {
    w.field().board.pointer = {1580, 8420, 1500, 8900};
    w.field().board.pointer.visible = true;
    w.refreshField();
}

// Shoots the aimed piece; true once the shot is over and its announcements told.
inline bool shoot(ui::MainWindow& w, std::int16_t power = 4000) {
    w.state().power = power;
    w.turn().startShot();
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
    void close() {
        app.reset();
        modals.reset();
    }

    ui::MainWindow& window() { return *app->mainWindow(); }
    Game& state() { return app->state(); }
    Field& field() { return window().field(); }
    Board& board() { return field().board; }
    ui::QtPlatform& platform() { return window().platform(); }

    // The field as drawn now, in RGB32.
    QImage fieldPicture() {
        window().refreshField();
        return window().view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    void key(int key, int modifiers = 0) {
        QTest::keyClick(window().windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }

    // Ann and Bob's game in the given seats at Ann's turn, set up without the dialog.
    void play(PlayerKind ann = PlayerKind::Human, PlayerKind bob = PlayerKind::Human) {
        NewGameSettings s;
        s.players = 2;
        s.names = {"", "Ann", "Bob"};
        s.seats = {PlayerKind::Human, ann, bob};
        GameContext ctx = window().context();
        applyNewGame(ctx, s);
        startTurn(ctx, 1);
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
        if (!state().gameRunning || !app->mainWindow()) return false;
        window().activateWindow();  // the new main window, for its shortcuts
        return QTest::qWaitForWindowActive(&window());
    }
};

}  // namespace capzel::test
