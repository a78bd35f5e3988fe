#include "ui/windows/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "controls/AccessWord.h"
#include "session/GameSession.h"
#include "ui/windows/GameHost.h"
#include "desktop/ComputerPlay.h"
#include "ui/windows/Config.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/FirstGameCoach.h"
#include "ui/windows/HowToPlayWindow.h"
#include "audio/FluidMusicPlayer.h"
#include "ui/windows/InputCodes.h"
#include "ui/windows/RuleBanner.h"
#include "desktop/MessageBoxes.h"
#include "audio/MusicPlayer.h"
#include "audio/Songs.h"
#include "desktop/QtPlatform.h"
#include "desktop/StepScheduler.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {
const QString kStatusQuestion = QStringLiteral(
    "A game must be running in order to view the status.  Would you like to start a new game?");
const QString kNoHelpMessage =
    QStringLiteral("You must be connected to the internet in order to get online help.");
const QString kNoEmailMessage =
    QStringLiteral("You must be connected to the internet in order to email Norvin.");
}  // namespace

MainWindow::MainWindow(GameHost& app)
    : app_(app),
      platform_(std::make_unique<QtPlatform>(this)),
      turn_(app.session().openBoard(*platform_)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Capzel"));
    // A fixed border with a close button only: no maximise, no minimise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    menus_.build(menuBar());
    buildClientArea();
    coach_ = new FirstGameCoach(app_, *turn_, view_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setSizePercent(app.settings().sizePercent);

    scheduler_ = new StepScheduler(*turn_, this);
    scheduler_->onAdvanced = [this] { showProgress(); };
    scheduler_->hasNews = [this] { return turn_->hasAnnouncements(); };
    scheduler_->onNews = [this](bool ended) { tellJudgement(ended); };
    scheduler_->charging = [this] { return turn_->charging(); };
    musicFolder_ = ui::musicFolder();
    setMusicPlayer(createMusicPlayer());

    view_->onMouseMove = [this](int b, int s, float x, float y) {
        runCommand([&] { handleMouseMove(b, s, x, y); });
    };
    view_->onMouseUp = [this](int b, int s, float x, float y) {
        runCommand([&] { handleMouseUp(b, s, x, y); });
    };
    view_->onResized = [this] { view_->update(); };
    connect(view_->goButton(), &QPushButton::clicked, this, [this] { runCommand([this] { handleGoButton(); }); });
    connectMenus();
    connectComputerPlay();
    applySettings();

    initialize();
    placeOnScreen();

    // Every key-down of this window passes its top-level window first,
    // whichever control holds the focus (the "Go" button included).
    (void)winId();
    if (QWindow* w = windowHandle()) w->installEventFilter(this);
    view_->setFocus();
}

MainWindow::~MainWindow() {
    scheduler_->stop();
    // A closed window has given its board back already; the application
    // that holds the session may be gone by the time it is deleted.
    if (boardOpen_) computerPlay_->stop();
    if (music_) music_->onPlayStateChange = nullptr;
    // The children that use the members (the computer plays on the turn
    // and asks the platform, the scheduler drives the turn, the view draws
    // the field) go while the members are still there: ~QWidget would
    // delete them only after the members.
    platform_->unattended = nullptr;
    platform_->beforeBox = nullptr;
    platform_->effect = nullptr;
    delete computerPlay_;
    computerPlay_ = nullptr;
    delete scheduler_;
    scheduler_ = nullptr;
    banner_ = nullptr;  // goes with the side panel
    delete view_;
    view_ = nullptr;
    if (boardOpen_) app_.session().closeBoard(*platform_);
}

GameSession& MainWindow::session() { return app_.session(); }
const Game& MainWindow::game() { return session().game(); }
QtPlatform& MainWindow::platform() { return *platform_; }

void MainWindow::initialize() {
    app_.seedRandom();
    menuState_.songCount = countSongs(musicFolder_);
    syncMenus();
}

void MainWindow::placeOnScreen() {
    layout()->activate();
    const QPoint clientOffset = view_->mapTo(this, QPoint(0, 0));
    QPoint origin;
    if (QScreen* s = screen()) origin = s->geometry().topLeft();
    const QPoint client = origin + QPoint(ipx(kOpenLeftTwips), ipx(kOpenTopTwips));
    setGeometry(QRect(client - clientOffset, size()));
    // A larger window opens at the same place, as far as the screen allows.
    if (view_->zoom() != 1.0) fitOnScreen();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A Space let go in another window is never seen here.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && spaceHeld_) {
        spaceHeld_ = false;
        syncShotState();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A charge or a shot under way ends with its window, and so does a
    // computer's turn or its planning.
    scheduler_->stop();
    computerPlay_->stop();
    if (boardOpen_) app_.session().closeBoard(*platform_);
    boardOpen_ = false;
    turn_->drop();
    if (music_) {
        // The window's player goes with it, silently: no song-end handling.
        music_->onPlayStateChange = nullptr;
        music_->halt();
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == windowHandle()) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const int vk = virtualKey(key->key(), key->modifiers() & Qt::KeypadModifier);
        QPointer<MainWindow> self(this);
        if (vk != 0) {
            const int shift = keyShiftSet(key->key(), key->modifiers());
            runCommand([&] { onKeyDown(vk, shift); });
        }
        if (!self) return false;
        if (isShotKey(key->key())) runCommand([&] { handleShotKey(*key); });
        if (!self) return false;
    } else if (event->type() == QEvent::KeyRelease && watched == windowHandle()) {
        handleShotKey(*static_cast<const QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

template <class Fn>
void MainWindow::runCommand(Fn&& fn) {
    QPointer<MainWindow> self(this);
    const auto person = computerPlay_->personCommand();
    fn();
    if (!self) return;
    noticeAim();
    syncMenus();
    refreshField();
    app_.notifyStateChanged();
    // A release may have started the power bar, "Go" ended it.
    scheduler_->start();
}

void MainWindow::syncMenus() {
    menus_.syncFrom(menuState_);
    menus_.syncOnline(session().online());
    menus_.showHintsAction->setChecked(app_.showHints());
    view_->setHints(app_.showHints() ? &game() : nullptr);
    syncShotState();
    followCoach();
    updateSide();
}


void MainWindow::refreshField() {
    view_->syncGoButton();
    view_->update();
}

void MainWindow::showProgress() {
    // The menus change only when a run ends or a shot is judged.
    const int shotState = turn_->judgedShots() * 4 + (turn_->running() ? 2 : 0) + (turn_->replay() ? 1 : 0);
    if (shotState != shotState_) {
        shotState_ = shotState;
        syncMenus();
    }
    noticeAim();
    // The coach's steps follow the charge and the shot as they run.
    followCoach();
    switch (view_->staleness()) {
    case FieldView::Staleness::Field:
        refreshField();
        break;
    case FieldView::Staleness::PowerBar:
        // A charge's ticks come far faster than frames: the bar alone,
        // once a frame.
        view_->updatePowerBar();
        break;
    case FieldView::Staleness::None:
        break;
    }
    // Every judged shot is kept for a start after a crash or a close.
    if (session().hasBoard() && &session().turn() == turn_.get()) session().advanced();
    app_.notifyStateChanged();
}

void MainWindow::tellJudgement(bool ended) {
    QPointer<MainWindow> alive(this);
    // Each is marked told once its box has closed: until then the turn is
    // still being judged, and no computer's turn begins.
    // In an online game the rules speak in boxes at the computer whose
    // player shot, and in the banner at the others.
    // There the boxes do not stop the game: another player's shot is shown
    // while they are open.
    const RecordedShot* shot = session().match().lastShot();
    const bool elsewhere = shot && !session().seatPlayedHere(shot->seat);
    while (turn_->hasAnnouncements()) {
        const Announcement& next = turn_->nextAnnouncement();
        if (bannerMode() || elsewhere)
            banner_->post(displayText(next.text));
        else if (session().online())
            showLooseMessage(this, displayText(next.text));
        else
            platform_->announce(next.text, computerPlay_->unattendedFor(next.player));
        if (!alive) return;
        turn_->announcementTold();
    }
    if (ended) app_.gameEnded();
    if (!alive) return;
    syncMenus();
    app_.notifyStateChanged();
}

void MainWindow::connectMenus() {
    auto on = [this](QAction* a, auto fn) {
        connect(a, &QAction::triggered, this, [this, fn] { runCommand([&] { fn(); }); });
    };
    on(menus_.newAction, [this] { app_.newGame(); });
    on(menus_.saveAction, [this] { app_.saveGame(); });
    on(menus_.loadAction, [this] { app_.loadGame(); });
    on(menus_.exitAction, [this] { app_.exitProgram(); });
    on(menus_.gameStatusAction, [this] { showGameStatus(); });
    on(menus_.highScoresAction, [this] { app_.showHighScores(); });
    on(menus_.guideLinesAction, [this] { toggleGuideLines(); });
    on(menus_.nextSongAction, [this] { nextSong(); });
    on(menus_.loopAction, [this] { toggleLoop(); });
    on(menus_.onlineHelpAction, [this] { openOnlineHelp(); });
    on(menus_.emailAction, [this] { writeEmail(); });
    on(menus_.showHintsAction, [this] { app_.setShowHints(menus_.showHintsAction->isChecked()); });
    on(menus_.historyAction, [this] { app_.showHistory(); });
    on(menus_.fastForwardAction, [] {});  // the speed follows the check mark
    on(menus_.replayAction, [this] { replayLastShot(); });
    connectRecordItems([&](QAction* a, std::function<void()> fn) { on(a, fn); });
    on(menus_.suggestShotAction, [this] { computerPlay_->suggestShot(); });
    on(menus_.settingsAction, [this] { showSettings(); });
    on(menus_.aboutAction, [this] { app_.showAbout(); });
    on(menus_.howToPlayAction, [this] { HowToPlayWindow::showOne(view_->zoom()); });
    on(menus_.setPositionAction, [this] { app_.setPosition(); });
    on(menus_.setFrictionAction, [this] { app_.setFriction(); });
    on(menus_.setSpeedAction, [this] { app_.setSpeed(); });
    on(menus_.setPieceAction, [this] { app_.setPiece(); });
    on(menus_.setInGameAction, [this] { app_.setInGame(); });
    on(menus_.setGuidelinesAction, [this] { app_.setGuidelines(); });
}

// The computer plays the turns of its seats from this window's clock, and
// looks whether it is to play whenever the game changes. Its turns' rules'
// messages close by themselves.
void MainWindow::connectComputerPlay() {
    computerPlay_ = new ComputerPlay({*this, *turn_, *scheduler_, *menus_.suggestShotAction,
                                      [this](const auto& shot) { showSuggestion(shot); }},
                                     app_.session(), app_.random());
    platform_->unattended = [this] { return computerPlay_->unattended(); };
    platform_->beforeBox = [this] {
        if (coach_) coach_->stepAside();
        refreshField();
        app_.notifyStateChanged();
    };
}

void MainWindow::showGameStatus() {
    if (game().gameRunning) {
        app_.showStatus();
        return;
    }
    if (askYesNo(this, kStatusQuestion)) app_.newGame();
}

void MainWindow::toggleGuideLines() {
    menuState_.guideLinesChecked = !menuState_.guideLinesChecked;
    for (int g = 0; g < kGuideCount; ++g)
        if (FieldMarkings::guideExists(g)) marks_.guideLines[std::size_t(g)].visible = menuState_.guideLinesChecked;
    turn_->bringGuidesForward();
}

void MainWindow::toggleLoop() { menuState_.loopChecked = !menuState_.loopChecked; }

void MainWindow::nextSong() { musicStateChanged(MusicPlayer::kPlaying, MusicPlayer::kStopped); }

void MainWindow::musicStateChanged(int previous, int current) {
    if (!music_) return;
    songEnded(menuState_, menuState_.loopChecked, *music_, musicFolder_, previous, current);
}

void MainWindow::playSong(int n) {
    if (music_) music_->setFile(songPath(musicFolder_, n));
}

void MainWindow::openOnlineHelp() {
    if (platform_->connected && platform_->connected())
        platform_->openUrl(config::kHelpPage);
    else
        showMessage(this, kNoHelpMessage);
}

void MainWindow::writeEmail() {
    if (platform_->connected && platform_->connected())
        platform_->openUrl(std::string("mailto:") + config::kAuthorEmail);
    else
        showMessage(this, kNoEmailMessage);
}

// The main window's handlers for the field's mouse input and the "Go"
// button. The window maps the toolkit's events to the values these receive
// (button and shift sets, window twips) and brings the menus and the picture
// up to date after each one returns; a release that starts the power bar
// leaves the charge to the window's clock.
//
// The field picture fieldPicture is painted inside the client area by the field
// view, so a move or release over it already arrives here in window twips:
// its own coordinates plus fieldPicture's Left and Top.

// Aiming and hand placement of the current player's piece.
// On a computer's turn the computer alone aims, charges and presses "Go".
void MainWindow::handleMouseMove(int buttons, int shift, float x, float y) {
    if (computerPlay_->seatIsComputer()) {
        // A drag on a turn played at another computer is not taken: say so.
        if ((buttons & kLeftButtonBit) && session().seatIsRemote()) tellNotYourTurn();
        return;
    }
    turn_->mouseMove(buttons, shift, x, y);
}

// A release starts the power bar; "Go" fires the shot.
void MainWindow::handleMouseUp(int, int, float, float) {
    if (computerPlay_->seatIsComputer()) return;
    turn_->mouseUp();
}

// Stops the power bar.
void MainWindow::handleGoButton() {
    if (computerPlay_->seatIsComputer()) return;
    turn_->goClicked();
}

// The main window's keyboard: every key-down goes to the access-word matcher
// of the hidden menu "Quince". The window passes on the key-downs of its
// top-level window, so keys reach here whichever control holds the focus
// (the "Go" button too), and shows or hides the menu after the call.
void MainWindow::onKeyDown(int keyCode, int shift) { matchAccessWord(menuState_, *platform_, keyCode, shift); }

}  // namespace capzel::ui
