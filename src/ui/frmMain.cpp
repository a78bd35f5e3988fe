#include "ui/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "controls/HiddenMenu.h"
#include "ui/App.h"
#include "ui/Config.h"
#include "ui/FieldView.h"
#include "ui/InputCodes.h"
#include "ui/MessageBoxes.h"
#include "ui/MusicPlayer.h"
#include "ui/QtPlatform.h"
#include "ui/StepScheduler.h"
#include "ui/Twips.h"

namespace capzel::ui {

namespace {
const QString kStatusQuestion = QStringLiteral(
    "A game must be running in order to view the status.  Would you like to start a new game?");
const QString kNoHelpMessage =
    QStringLiteral("You must be connected to the internet in order to get online help.");
const QString kNoEmailMessage =
    QStringLiteral("You must be connected to the internet in order to email Norvin.");
}  // namespace

frmMain::frmMain(CapzelApp& app)
    : app_(app),
      platform_(std::make_unique<QtPlatform>(*this, app)),
      turn_(GameContext{app.state(), field_, *platform_}) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Capzel"));
    // A fixed border with a close button only: no maximise, no minimise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    menus_.build(menuBar());
    view_ = new FieldView(field_, this);
    view_->setFixedSize(kClientWidthPx, kClientHeightPx);
    setCentralWidget(view_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    scheduler_ = new StepScheduler(turn_, this);
    scheduler_->onAdvanced = [this] { showProgress(); };
    scheduler_->onGameEnded = [this] { app_.gameEnded(); };
    music_ = createMusicPlayer();
    musicFolder_ = ui::musicFolder();
    if (music_)
        music_->onPlayStateChange = [this](int previous, int current) {
            mdpGameMusic_PlayStateChange(previous, current);
        };

    view_->onMouseMove = [this](int b, int s, float x, float y) {
        emit mouseMoved(b, s, x, y);
        runCommand([&] { Form_MouseMove(b, s, x, y); });
    };
    view_->onMouseUp = [this](int b, int s, float x, float y) {
        emit mouseReleased(b, s, x, y);
        runCommand([&] { Form_MouseUp(b, s, x, y); });
    };
    view_->onResized = [this] { Form_Resize(); };
    connect(view_->goButton(), &QPushButton::clicked, this, [this] { runCommand([this] { cmdGo_Click(); }); });
    connectMenus();

    Form_Load();
    placeOnScreen();

    // Every key-down of this window passes its top-level window first,
    // whichever control holds the focus (the "Go" button included).
    (void)winId();
    if (QWindow* w = windowHandle()) w->installEventFilter(this);
    view_->setFocus();
}

frmMain::~frmMain() {
    scheduler_->stop();
    if (music_) music_->onPlayStateChange = nullptr;
}

modCapzel& frmMain::state() { return app_.state(); }
QtPlatform& frmMain::platform() { return *platform_; }
GameContext frmMain::context() { return GameContext{app_.state(), field_, *platform_}; }

void frmMain::Form_Load() {
    app_.seedRandom();
    state().SongCount = countSongs(musicFolder_);
    field_.mnuQuinceVisible = false;
    Form_Resize();
    syncMenus();
}

void frmMain::placeOnScreen() {
    layout()->activate();
    const QPoint clientOffset = view_->mapTo(this, QPoint(0, 0));
    QPoint origin;
    if (QScreen* s = screen()) origin = s->geometry().topLeft();
    const QPoint client = origin + QPoint(ipx(kOpenLeftTwips), ipx(kOpenTopTwips));
    setGeometry(QRect(client - clientOffset, size()));
}

void frmMain::Form_Resize() {
    Board& b = field_.board;
    b.ScaleWidth = float(twips(view_->width()));
    b.ScaleHeight = float(twips(view_->height()));
    b.linLeft.Y1 = 0;
    b.linLeft.Y2 = b.ScaleHeight;
    b.linRight.Y1 = 0;
    b.linRight.Y2 = b.ScaleHeight;
    view_->update();
}

void frmMain::Form_Activate() {
    for (int i = 1; i <= kMaxPlayers; ++i) field_.board.Player[i].FillColor = state().PlayerColor[i];
    view_->update();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) Form_Activate();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A charge or a shot under way ends with its window.
    scheduler_->stop();
    turn_.drop();
    if (music_) {
        // The window's player goes with it, silently: no song-end handling.
        music_->onPlayStateChange = nullptr;
        music_->halt();
    }
    event->accept();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == windowHandle()) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const int vk = virtualKey(key->key(), key->modifiers() & Qt::KeypadModifier);
        if (vk != 0) {
            const int shift = keyShiftSet(key->key(), key->modifiers());
            emit keyDown(vk, shift);
            runCommand([&] { onKeyDown(vk, shift); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

template <class Fn>
void frmMain::runCommand(Fn&& fn) {
    QPointer<frmMain> self(this);
    fn();
    if (!self) return;
    syncMenus();
    refreshField();
    app_.notifyStateChanged();
    // A release may have started the power bar, "Go" ended it.
    scheduler_->start();
}

void frmMain::syncMenus() {
    menus_.syncFrom(field_);
    menus_.mnuShowHints->setChecked(app_.showHints());
    view_->setHints(app_.showHints() ? &state() : nullptr);
}

void frmMain::refreshField() {
    view_->syncGoButton();
    view_->update();
}

void frmMain::showProgress() {
    if (view_->isStale()) refreshField();
    app_.notifyStateChanged();
}

void frmMain::connectMenus() {
    auto on = [this](QAction* a, auto fn) {
        connect(a, &QAction::triggered, this, [this, fn] { runCommand([&] { fn(); }); });
    };
    on(menus_.mnuNew, [this] { app_.newGame(); });
    on(menus_.mnuSave, [this] { app_.saveGame(); });
    on(menus_.mnuLoad, [this] { app_.loadGame(); });
    on(menus_.mnuExit, [this] { app_.exitProgram(); });
    on(menus_.mnuGameStatus, [this] { mnuGameStatus_Click(); });
    on(menus_.mnuHighScores, [this] { app_.showHighScores(); });
    on(menus_.mnuGuide, [this] { mnuGuide_Click(); });
    on(menus_.mnuNextSong, [this] { mnuNextSong_Click(); });
    on(menus_.mnuLoop, [this] { mnuLoop_Click(); });
    on(menus_.mnuOnline, [this] { mnuOnline_Click(); });
    on(menus_.mnuEmail, [this] { mnuEmail_Click(); });
    on(menus_.mnuShowHints, [this] { app_.setShowHints(menus_.mnuShowHints->isChecked()); });
    on(menus_.mnuHistory, [this] { app_.showHistory(); });
    on(menus_.mnuAbout, [this] { app_.showAbout(); });
    on(menus_.mnuSetPos, [this] { app_.mnuSetPos(); });
    on(menus_.mnuSetFrict, [this] { app_.mnuSetFrict(); });
    on(menus_.mnuSetSpeed, [this] { app_.mnuSetSpeed(); });
    on(menus_.mnuSetPiece, [this] { app_.mnuSetPiece(); });
    on(menus_.mnuSetIngame, [this] { app_.mnuSetIngame(); });
    on(menus_.mnuSetGuide, [this] { app_.mnuSetGuide(); });
}

void frmMain::mnuGameStatus_Click() {
    if (state().GameRunning) {
        app_.showStatus();
        return;
    }
    if (askYesNo(this, kStatusQuestion)) app_.newGame();
}

void frmMain::mnuGuide_Click() {
    field_.mnuGuideChecked = !field_.mnuGuideChecked;
    Board& b = field_.board;
    for (int g = 0; g < kGuideCount; ++g) {
        if (!Board::guideExists(g)) continue;
        b.linGuide[g].Visible = field_.mnuGuideChecked;
        b.bringToFront(b.linGuide[g]);
    }
    b.bringToFront(b.Pointer);
}

void frmMain::mnuLoop_Click() { field_.mnuLoopChecked = !field_.mnuLoopChecked; }

void frmMain::mnuNextSong_Click() { mdpGameMusic_PlayStateChange(MusicPlayer::kPlaying, MusicPlayer::kStopped); }

void frmMain::mdpGameMusic_PlayStateChange(int previous, int current) {
    if (!music_) return;
    songEnded(state(), field_.mnuLoopChecked, *music_, musicFolder_, previous, current);
}

void frmMain::playSong(int n) {
    if (music_) music_->setFile(songPath(musicFolder_, n));
}

void frmMain::mnuOnline_Click() {
    if (platform_->connected && platform_->connected())
        platform_->openUrl(config::kHelpPage);
    else
        showMessage(this, kNoHelpMessage);
}

void frmMain::mnuEmail_Click() {
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
// The field picture Image1 is painted inside the client area by the field
// view, so a move or release over it already arrives here in window twips:
// its own coordinates plus Image1's Left and Top.

// Aiming and hand placement of the current player's piece.
void frmMain::Form_MouseMove(int Button, int Shift, float X, float Y) { turn_.mouseMove(Button, Shift, X, Y); }

// A release starts the power bar; "Go" fires the shot.
void frmMain::Form_MouseUp(int, int, float, float) { turn_.mouseUp(); }

// Stops the power bar.
void frmMain::cmdGo_Click() { turn_.goClicked(); }

// The main window's keyboard: every key-down goes to the access-word matcher
// of the hidden menu "Quince". The window passes on the key-downs of its
// top-level window, so keys reach here whichever control holds the focus
// (the "Go" button too), and shows or hides the menu after the call.
void frmMain::onKeyDown(int KeyCode, int Shift) {
    GameContext ctx = context();
    KeyMatcher(ctx, KeyCode, Shift);
}

}  // namespace capzel::ui
