#include "app/AppOnline.h"

#include <QApplication>
#include <QHostInfo>
#include <QSettings>
#include <cstdio>

#include "app/OnlineHost.h"
#include "capzel_version.h"
#include "network/LanDiscovery.h"
#include "network/ServerHost.h"
#include "desktop/MessageBoxes.h"
#include "desktop/ProgramFolder.h"
#include "desktop/QtPlatform.h"
#include "ui/online/ChatLine.h"
#include "ui/online/LobbyWindow.h"
#include "ui/online/OnlineEntries.h"
#include "ui/windows/FramePlacement.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/RuleBanner.h"
#include "ui/windows/SidePanel.h"
#include "ui/windows/StatusWindow.h"
#include "desktop/StepScheduler.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

namespace {

// How often the online game looks at the board between the clock's steps.
constexpr int kPollMs = 20;

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Capzel"), QStringLiteral("Capzel"));
}

std::string versionText() {
    return std::to_string(CAPZEL_VERSION_MAJOR) + "." + std::to_string(CAPZEL_VERSION_MINOR) + "." +
           std::to_string(CAPZEL_VERSION_PATCH);
}

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

std::optional<KeptSeat> keptOnlineSeat() {
    QSettings s = store();
    KeptSeat seat{s.value(QStringLiteral("online/url")).toString(), s.value(QStringLiteral("online/code")).toString(),
                  s.value(QStringLiteral("online/name")).toString(),
                  s.value(QStringLiteral("online/token")).toString().toStdString(),
                  quint16(s.value(QStringLiteral("online/hostedPort")).toUInt())};
    if (network::GameClient::serverUrl(seat.url).isEmpty() || !protocol::isRoomCode(seat.code.toStdString()) ||
        !protocol::isSeatToken(seat.token) || seat.name.isEmpty())
        return std::nullopt;
    return seat;
}

void keepOnlineSeat(const KeptSeat& seat) {
    QSettings s = store();
    s.setValue(QStringLiteral("online/url"), seat.url);
    s.setValue(QStringLiteral("online/code"), seat.code);
    s.setValue(QStringLiteral("online/name"), seat.name);
    s.setValue(QStringLiteral("online/token"), text(seat.token));
    s.setValue(QStringLiteral("online/hostedPort"), seat.hostedPort);
}

void forgetOnlineSeat() {
    QSettings s = store();
    s.remove(QStringLiteral("online"));
}

OnlinePlay::OnlinePlay(OnlineHost& app, QObject* parent) : QObject(parent), app_(app) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &OnlinePlay::poll);
    connect(&client_, &network::GameClient::welcomed, this, [this] {
        if (making_) client_.createRoom(*std::exchange(making_, std::nullopt));
        if (joining_) client_.joinRoom(*std::exchange(joining_, std::nullopt));
    });
    connect(&client_, &network::GameClient::joined, this, &OnlinePlay::joined);
    connect(&client_, &network::GameClient::stateReceived, this, &OnlinePlay::stateReceived);
    connect(&client_, &network::GameClient::seatsChanged, this, &OnlinePlay::seatsChanged);
    connect(&client_, &network::GameClient::refused, this, &OnlinePlay::refused);
    connect(&client_, &network::GameClient::connectionLost, this, &OnlinePlay::lost);
    // A message that cannot be read (a game, a shot) is told. Before the
    // game is shown there is nothing to go on from: the server is left as if
    // its connection were lost. After, the chat's log says so and the
    // server's game is asked for again.
    connect(&client_, &network::GameClient::unreadable, this, [this](const QString& why) {
        if (!game_) return;
        if (!gameShown_) {
            client_.close();
            return lost(why);
        }
        addChatLine(ChatLine::lineText(QStringLiteral("(server)"), why));
        game_->onUnreadable();
    });
    connect(&client_, &network::GameClient::roomUnanswered, this, &OnlinePlay::unanswered);
    connect(&client_, &network::GameClient::accepted, this, [this](const protocol::Accepted& a) {
        if (game_) game_->onAccepted(a);
    });
    connect(&client_, &network::GameClient::aimed, this, [this](const protocol::Aim& a) {
        if (!game_) return;
        game_->onAim(a);
        if (MainWindow* w = app_.mainWindow()) w->refreshField();
    });
    connect(&client_, &network::GameClient::chatReceived, this, [this](const protocol::Chat& c) {
        if (!game_) return;
        QString who = QStringLiteral("Spectator");
        for (const protocol::SeatStatus& s : game_->seats())
            if (s.seat == c.seat) who = text(s.name);
        addChatLine(ChatLine::lineText(who, text(c.text)));
    });
}

OnlinePlay::~OnlinePlay() { leave(); }

// A connection and a game afresh; a server this program runs stays.
void OnlinePlay::start(const QUrl& url, const std::string& name) {
    client_.close();
    if (lobby_) lobby_->close();
    making_.reset();
    joining_.reset();
    asked_.clear();
    url_ = url.toString();
    name_ = text(name);
    chatLines_.clear();
    game_ = std::make_unique<OnlineGame>(app_.session(), static_cast<OnlineOutbox&>(*this));
    gameShown_ = false;
    lostWhy_.clear();
    waiting_.clear();
    client_.connectTo(url, name, versionText());
    poll_.start();
}

bool OnlinePlay::startServer(quint16 port, QString* error) {
    network::ServerOptions options;
    options.port = port;
    options.dataDir = text(userDataFolder()) + QStringLiteral("/hosted");
    auto server = std::make_unique<network::ServerHost>(options);
    leave();
    if (!server->start(error)) return false;
    server_ = std::move(server);
    return true;
}

bool OnlinePlay::rejoin(const KeptSeat& seat, QString* error) {
    if (seat.hostedPort != 0 && !startServer(seat.hostedPort, error)) return false;
    start(network::GameClient::serverUrl(seat.url), seat.name.toStdString());
    joining_ = protocol::JoinRoom{seat.code.toStdString(), seat.token, {}, {}, false};
    asked_ = joining_->code;
    return true;
}

bool OnlinePlay::host(const HostChoices& choices, QString* error) {
    if (!startServer(choices.port, error)) return false;
    protocol::CreateRoom room;
    room.walls = choices.walls;
    std::string name;
    for (std::size_t i = 0; i < choices.seats.size(); ++i) {
        const HostSeat& seat = choices.seats[i];
        room.seats.push_back(seat.who == HostSeat::Who::Computer ? seat.kind : PlayerKind::Human);
        room.names.push_back(seat.who == HostSeat::Who::Remote ? std::string() : seat.name);
        if (seat.who == HostSeat::Who::ThisComputer) {
            room.mine.push_back(int(i + 1));
            if (name.empty()) name = seat.name;
        }
    }
    start(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(server_->port())), name.empty() ? std::string("Host") : name);
    making_ = room;
    return true;
}

void OnlinePlay::join(const JoinChoices& choices, const std::optional<std::string>& token) {
    leave();
    const QUrl url = network::GameClient::serverUrl(text(choices.url));
    if (url.isEmpty()) {
        showMessage(app_.mainWindow(),
                    QStringLiteral("\"%1\" is not a server's address (ws://host:port).").arg(text(choices.url)));
        return;
    }
    start(url, choices.name);
    joining_ = protocol::JoinRoom{choices.code, token, {}, {}, choices.spectate};
    asked_ = choices.code;
}

void OnlinePlay::leave() {
    poll_.stop();
    client_.close();
    if (announcer_) announcer_->stop();
    announcer_.reset();
    if (server_) server_->stop();
    server_.reset();
    game_.reset();
    making_.reset();
    joining_.reset();
    if (lobby_) lobby_->close();
    hideChat();
    if (MainWindow* w = app_.mainWindow()) w->syncMenus();
}

void OnlinePlay::joined(const protocol::Joined& joined) {
    // One answer, for the room asked: another would take the seat and the
    // token kept for this one.
    if (!game_ || game_->hasJoined() || (!asked_.empty() && joined.code != asked_)) return;
    game_->onJoined(joined);
    if (!joined.token.empty())
        keepOnlineSeat(KeptSeat{url_, text(joined.code), name_, joined.token, server_ ? server_->port() : quint16(0)});
    emit roomJoined(text(joined.code));
    if (server_) announce();
    if (!gameShown_) showLobby();
    showChat();
}

// The first state begins the game in a fresh main window; a later one (the
// game here differed, or a seat was taken back) replaces the game in place.
void OnlinePlay::stateReceived(const protocol::State& state) {
    if (!game_ || !game_->hasJoined()) return;
    if (!gameShown_) {
        gameShown_ = true;
        if (lobby_) lobby_->hide();
        // The chat docked in the new window before its first box shows.
        app_.beginGameInFreshWindow([this, state] {
            const Judgement begun = game_->onState(state).begun.value_or(Judgement{});
            showChat();
            return begun;
        });
        // While the beginning's boxes waited for their answers, the game may
        // have gone off line and been left to this computer.
        if (!game_) return;
        std::printf("playing %s from shot %d\n", game_->code().c_str(), state.shotNumber);
        std::fflush(stdout);
        if (StatusWindow* status = app_.statusWindow()) status->setPresence(game_->seats());
        return;
    }
    const OnlineNews news = game_->onState(state);
    if (MainWindow* w = app_.mainWindow()) {
        w->syncMenus();
        w->refreshField();
        if (news.begun) w->tell(*news.begun);
    }
    app_.notifyStateChanged();
}

void OnlinePlay::seatsChanged(const protocol::Seats& seats) {
    if (!game_) return;
    game_->onSeats(seats);
    if (lobby_) lobby_->setSeats(seats.seats);
    if (StatusWindow* status = app_.statusWindow()) status->setPresence(seats.seats);
    const std::string waiting = game_->waitingText();
    if (waiting != waiting_) {
        MainWindow* w = app_.mainWindow();
        // Who was awaited has come back (or another is awaited now).
        if (w && !waiting_.empty()) w->banner()->withdraw(text(waiting_));
        waiting_ = waiting;
        if (w && !waiting.empty()) w->banner()->post(text(waiting));
        // The host may hand the awaited seat to the computer; once nobody
        // is awaited, the lobby goes again.
        if (!waiting.empty() && game_->isHost() && gameShown_) showLobby();
        if (waiting.empty() && gameShown_ && lobby_) lobby_->hide();
    }
    if (server_) announce();
}

void OnlinePlay::refused(const protocol::Refused& refused) {
    if (!game_) return;
    if (!game_->hasJoined()) {
        // The room could not be joined: nothing is played. A seat kept for
        // this computer that the server no longer holds is forgotten.
        if (refused.code == RefusalCode::TokenHoldsNoSeat) forgetOnlineSeat();
        leave();
        showMessage(app_.mainWindow(),
                    QStringLiteral("The online game cannot be joined: ") + QString::fromStdString(refused.reason));
        return;
    }
    game_->onRefused(refused);
    // In the chat's log, where it hides nothing of the field.
    addChatLine(ChatLine::lineText(QStringLiteral("(server)"), QString::fromStdString(refused.reason)));
}

// The room asked for goes unanswered: the player may wait on or go back
// to the game here.
void OnlinePlay::unanswered(const QString& why) {
    if (!game_ || game_->hasJoined()) return;
    const bool back = askYesNo(app_.mainWindow(), why + QStringLiteral("\n\nThe online game at %1 has not begun. Go back to "
                                                                       "the game at this computer?").arg(url_));
    // While the question was open, the answer may have come.
    if (!game_ || game_->hasJoined()) return;
    if (back)
        leave();
    else
        client_.keepWaitingForAnswer();
}

void OnlinePlay::lost(const QString& why) {
    if (!game_) return;
    if (!game_->hasJoined() || !gameShown_) {
        leave();
        showMessage(app_.mainWindow(), why);
        return;
    }
    game_->goOffline();
    lostWhy_ = why;
    // A game this computer only watched is not kept as its own.
    if (!game_->spectating()) app_.session().keep();
}

// A lost connection is told once nothing runs on the board: never from
// inside a step.
void OnlinePlay::tellLost() {
    MainWindow* w = app_.mainWindow();
    // Nor while a box waits for its answer: the code that opened it goes on
    // once it is answered, and must still find the game it left.
    if (!w || QApplication::activeModalWidget() != nullptr || app_.session().turn().running()) return;
    const RemoteShotTurn* shown = app_.session().remoteShot();
    if (shown && shown->running()) return;
    const QString why = std::exchange(lostWhy_, QString());
    poll_.stop();
    if (lobby_) lobby_->close();
    hideChat();
    if (StatusWindow* status = app_.statusWindow()) status->setPresence({});
    const bool watched = game_->spectating();
    // A game watched here holds nobody of this computer: it ends here, as
    // it stands, rather than go on with other people's seats.
    showMessage(w, why + (watched ? QStringLiteral("\n\nYou were watching this game, so it has ended here: the field "
                                                   "shows it as it last stood. File > New starts a game of your own.")
                                  : QStringLiteral("\n\nThe game goes on at this computer: every player plays here "
                                                   "from now on, and it is kept like any game.")));
    game_.reset();
    if (watched)
        app_.session().stopPlaying();  // nothing of it is kept for a resume
    else
        app_.session().setSeatsPlayedHere(nullptr);
    if (MainWindow* again = app_.mainWindow()) again->syncMenus();
    app_.notifyStateChanged();
}

void OnlinePlay::poll() {
    if (!lostWhy_.isEmpty()) return tellLost();
    MainWindow* w = app_.mainWindow();
    if (!w || !game_ || !gameShown_ || !app_.session().hasBoard()) return;
    const OnlineNews news = game_->poll(w->platform().clock());
    // A game over has no seat to take back.
    if (!app_.game().gameRunning && game_->hasJoined()) forgetOnlineSeat();
    if (news.remoteShot) {
        w->scheduler().drive(*news.remoteShot);
        w->scheduler().start();
        w->syncMenus();
    }
    if (!news.said.empty()) w->banner()->post(text(news.said));
    // One line a shot on the standard output, for scripts that follow a game.
    for (const ComparedShot& c : news.compared)
        std::printf("shot %d %s %s\n", c.number, hashText(c.hash).c_str(), c.same ? "same" : "differs");
    if (!news.compared.empty()) std::fflush(stdout);
}

void OnlinePlay::showLobby() {
    if (!lobby_) {
        lobby_ = new LobbyWindow;
        zoomFont(*lobby_, app_.windowZoom());
        lobby_->resize(lobby_->size() * app_.windowZoom());
        lobby_->setAttribute(Qt::WA_DeleteOnClose);
        // The program ends with its main window, whatever online windows are open.
        lobby_->setAttribute(Qt::WA_QuitOnClose, false);
        connect(lobby_, &LobbyWindow::handToComputer, this, [this](int seat) { client_.handToComputer(seat); });
        connect(lobby_, &LobbyWindow::leaveRequested, this, [this] {
            forgetOnlineSeat();
            leave();
        });
    }
    lobby_->setCode(text(game_->code()));
    QStringList servers;
    if (server_) {
        for (const QString& address : reachableAddresses())
            servers << QStringLiteral("ws://%1:%2").arg(address).arg(server_->port());
    } else {
        servers << serverUrl(url_).value_or(url_);
    }
    lobby_->setAddresses(servers);
    lobby_->setHost(game_->isHost());
    lobby_->setSeats(game_->seats());
    const bool fresh = !lobby_->isVisible();
    lobby_->show();
    if (fresh) placeClear(*lobby_, [this] { return lobby_->frameGeometry().topLeft(); });
    lobby_->raise();
}

void OnlinePlay::showChat() {
    MainWindow* w = app_.mainWindow();
    if (!w) return;
    if (chat_ && w->side()->docked() == chat_) return;
    chat_ = new ChatLine;
    for (const QString& line : chatLines_) chat_->addText(line);
    connect(chat_, &ChatLine::sendLine, this, [this](const QString& line) { client_.sendChat(line.toStdString()); });
    w->dockBeside(chat_);
}

// A line of the chat's log, kept for a chat docked later.
void OnlinePlay::addChatLine(const QString& line) {
    chatLines_.append(line);
    if (chatLines_.size() > ChatLine::kLogLines) chatLines_.removeFirst();
    showChat();
    if (chat_) chat_->addText(line);
}

void OnlinePlay::hideChat() {
    MainWindow* w = app_.mainWindow();
    if (w && chat_ && w->side()->docked() == chat_) w->dockBeside(nullptr);
    chat_ = nullptr;
}

void OnlinePlay::announce() {
    if (!announcer_) {
        announcer_ = std::make_unique<network::LanAnnouncer>();
        announcer_->start();
    }
    network::LanGame game;
    game.gameName = QStringLiteral("Capzel");
    game.hostName = QHostInfo::localHostName().left(int(network::kMaxAnnouncedNameChars));
    game.port = server_ ? server_->port() : 0;
    game.code = text(game_->code());
    game.openSeats = int(std::count_if(game_->seats().begin(), game_->seats().end(), [](const protocol::SeatStatus& s) {
        return s.presence == protocol::SeatPresence::Open;
    }));
    game.protocolVersion = protocol::kProtocolVersion;
    announcer_->setGame(game);
}

}  // namespace capzel::ui
