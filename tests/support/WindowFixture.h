// The application with its main window active, modal windows answered by `modals`.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "support/ModalAnswerer.h"
#include "app/App.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NewGameDialog.h"
#include "ui/desktop/QtPlatform.h"

namespace capzel::test {

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
    GameState& state() { return app->state(); }
    Field& field() { return window().field(); }
    Board& board() { return field().board; }
    ui::QtPlatform& platform() { return window().platform(); }

    void key(int key, int modifiers = 0) {
        QTest::keyClick(window().windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
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
