#include "web/WebClient.h"

#include <utility>

#include "controls/ComputerTurn.h"
#include "ui/windows/StatusCells.h"

namespace capzel::web {

namespace {

// "\r\n" line breaks as the page's "\n".
std::string asLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k)
        if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) out += text[k];
    return out;
}

}  // namespace

WebClient::WebClient()
    : board_(session_.openBoard(platform_)), online_(std::make_unique<OnlineGame>(session_, *this)) {
    driver_.charging = [this] { return board_->charging(); };
}

WebClient::~WebClient() {
    online_.reset();
    session_.closeBoard(platform_);
}

void WebClient::send(const protocol::Message& message) {
    if (welcomed_) outgoing_.push_back(protocol::encodeMessage(message));
}

std::vector<std::string> WebClient::takeOutgoing() { return std::exchange(outgoing_, {}); }
std::vector<WebEvent> WebClient::takeEvents() { return std::exchange(events_, {}); }

// ---- The connection ---------------------------------------------------------

void WebClient::connected(const std::string& name, const std::string& programVersion, RoomRequest request) {
    socketOpen_ = true;
    welcomed_ = false;
    request_ = std::move(request);
    outgoing_.clear();
    outgoing_.push_back(protocol::encodeMessage(protocol::Hello{protocol::kProtocolVersion, programVersion, name}));
}

void WebClient::disconnected() {
    socketOpen_ = false;
    welcomed_ = false;
    outgoing_.clear();
    // An aim or a charge of this page goes: nothing it fired now would reach
    // the server, which gives back its own game on the next join.
    if (personAtBoard()) board_->cancel();
    ++revision_;
}

void WebClient::received(std::string_view text) {
    if (!socketOpen_) return;
    const protocol::Decoded decoded = protocol::decodeMessage(text);
    if (!welcomed_)
        handshake(decoded);
    else
        inRoomMessage(decoded);
    noteRemoteShot();
    ++revision_;
}

// The welcome of this version, or what went wrong (a server of another
// version writes every message in its own, and the decoder says which side
// is older).
void WebClient::handshake(const protocol::Decoded& message) {
    WebEvent event;
    if (std::holds_alternative<protocol::Welcome>(message)) {
        welcomed_ = true;
        events_.emplace_back(WebEvent::Kind::Welcomed);
        if (request_ && request_->create) send(*request_->create);
        if (request_ && request_->join) send(*request_->join);
        request_.reset();
        return;
    }
    if (const auto* r = std::get_if<protocol::Refusal>(&message)) {
        event.kind = WebEvent::Kind::Lost;
        event.text = "The server cannot be played with: " + r->reason;
    } else if (const auto* r = std::get_if<protocol::Refused>(&message)) {
        event.kind = WebEvent::Kind::Refused;
        event.text = "The server refused the connection: " + r->reason;
    } else {
        event.kind = WebEvent::Kind::Lost;
        event.text = "The server did not say welcome.";
    }
    events_.push_back(std::move(event));
}

void WebClient::inRoomMessage(const protocol::Decoded& message) {
    if (const auto* m = std::get_if<protocol::Joined>(&message)) return joined(*m);
    if (const auto* m = std::get_if<protocol::State>(&message)) return stateReceived(*m);
    if (const auto* m = std::get_if<protocol::Seats>(&message)) return seatsChanged(*m);
    if (const auto* m = std::get_if<protocol::Accepted>(&message)) return online_->onAccepted(*m);
    if (const auto* m = std::get_if<protocol::Aim>(&message)) return online_->onAim(*m);
    if (const auto* m = std::get_if<protocol::Chat>(&message)) return chat(*m);
    if (const auto* m = std::get_if<protocol::Refused>(&message)) return refused(*m);
    if (const auto* m = std::get_if<protocol::Refusal>(&message))
        return refused(protocol::Refused{RefusalCode::BadMessage, "A message from the server was not understood: " + m->reason});
    // Anything else is a player's message and means nothing here.
}

void WebClient::joined(const protocol::Joined& joined) {
    online_->onJoined(joined);
    WebEvent event{WebEvent::Kind::Joined};
    event.code = joined.code;
    event.token = joined.token;
    event.host = joined.host;
    events_.push_back(std::move(event));
    seatsChanged(protocol::Seats{joined.seats});
}

void WebClient::stateReceived(const protocol::State& state) {
    if (!online_->hasJoined()) return;
    news(online_->onState(state));
    driver_.stop();
    launchPolled_ = -1;
    updateDirections();
}

void WebClient::seatsChanged(const protocol::Seats& seats) {
    online_->onSeats(seats);
}

void WebClient::chat(const protocol::Chat& chat) {
    std::string who = "Spectator";
    for (const protocol::SeatStatus& s : online_->seats())
        if (s.seat == chat.seat) who = s.name;
    WebEvent event{WebEvent::Kind::Chat};
    event.who = std::move(who);
    event.text = chat.text;
    events_.push_back(std::move(event));
}

void WebClient::refused(const protocol::Refused& refused) {
    if (!online_->hasJoined()) {
        // The room could not be joined: nothing is played. A token the
        // server no longer holds a seat for is forgotten.
        WebEvent event{WebEvent::Kind::Refused};
        event.text = "The online game cannot be joined: " + refused.reason;
        event.forgetToken = refused.code == RefusalCode::TokenHoldsNoSeat;
        events_.push_back(std::move(event));
        return;
    }
    online_->onRefused(refused);
    WebEvent event{WebEvent::Kind::Refusal};
    event.text = refused.reason;
    events_.push_back(std::move(event));
}

// ---- Input ------------------------------------------------------------------

// A person at this page plays the seat on turn: the seat is one of this
// page's, the computer does not play it, and the room is joined.
bool WebClient::personAtBoard() const {
    return inRoom() && !session_.seatIsRemote() && !computerToPlay(session_.game());
}

bool WebClient::myTurn() const {
    const Game& g = session_.game();
    return personAtBoard() && g.gameRunning && g.isPlayer(g.currentTurn) && !g.seats[g.currentTurn].dead &&
           !board_->running() && board_->phase() != TurnPhase::Judging && !showingRemoteShot() &&
           !online_->awaitingState();
}

bool WebClient::canPlace() const {
    const Game& g = session_.game();
    return myTurn() && g.seats[g.currentTurn].moveableNextTurn;
}

bool WebClient::showingRemoteShot() const { return remoteShown_; }

void WebClient::noteRemoteShot() {
    RemoteShotTurn* remote = session_.remoteShot();
    remoteShown_ = remote && remote->running();
}

void WebClient::inputDone() {
    // A release may have started the power bar: it is timed from now.
    if (board_->running() && !showingRemoteShot()) driver_.start(*board_);
    ++revision_;
}

void WebClient::mouseMove(int buttons, int shift, float x, float y) {
    if (!personAtBoard() || showingRemoteShot()) return;
    board_->mouseMove(buttons, shift, x, y);
    inputDone();
}

void WebClient::mouseUp() {
    if (!personAtBoard() || showingRemoteShot() || online_->awaitingState()) return;
    board_->mouseUp();
    inputDone();
}

void WebClient::go() {
    if (!personAtBoard() || board_->phase() != TurnPhase::Charging) return;
    board_->goClicked();
    inputDone();
}

void WebClient::escape() {
    if (!personAtBoard() || showingRemoteShot()) return;
    board_->cancel();
    inputDone();
}

bool WebClient::say(const std::string& text) {
    if (!inRoom() || text.empty() || !protocol::isPlainText(text, protocol::kMaxChatChars)) return false;
    send(protocol::Chat{text, 0});
    return true;
}

// ---- Time -------------------------------------------------------------------

SteppedRun& WebClient::drivenRun() {
    RemoteShotTurn* remote = session_.remoteShot();
    if (remote && remote->running()) return *remote;
    return *board_;
}

void WebClient::frame(double elapsedMs) {
    const auto elapsed = std::int64_t(elapsedMs > 0 && elapsedMs < 1e9 ? elapsedMs * 1e6 : 0);
    if (inRoom()) news(online_->poll(driver_.clockSeconds()));
    noteRemoteShot();
    SteppedRun& run = drivenRun();
    const bool wasRunning = run.running();
    // The client sends a shot of this page at its launch, before the shot's
    // first step: a short shot may launch and rest within one frame.
    const PacedAdvances done = driver_.elapse(elapsed, run, [this] {
        if (board_->shot() && launchPolled_ != board_->judgedShots() && inRoom()) {
            launchPolled_ = board_->judgedShots();
            news(online_->poll(driver_.clockSeconds()));
        }
        return board_->hasAnnouncements();
    });
    if (done.advances > 0 || wasRunning) ++revision_;
    if (done.advances > 0) session_.advanced();
    tellAnnouncements();
    // The next shot from elsewhere starts as soon as the last one is told.
    if (inRoom() && done.advances > 0) news(online_->poll(driver_.clockSeconds()));
    noteRemoteShot();
    updateDirections();
}

// Every message of the rules goes to the banner: a page never waits for a
// box to close.
void WebClient::tellAnnouncements() {
    if (!board_->hasAnnouncements()) return;
    for (const Announcement& a : board_->takeAnnouncements()) banner(a.text);
    ++revision_;
}

void WebClient::banner(const std::string& text) {
    WebEvent event{WebEvent::Kind::Banner};
    event.text = asLines(text);
    events_.push_back(std::move(event));
}

void WebClient::news(const OnlineNews& news) {
    if (news.begun)
        for (const Announcement& a : news.begun->announcements) banner(a.text);
    if (news.remoteShot) {
        driver_.start(*news.remoteShot);
        ++revision_;
    }
    if (!news.said.empty()) banner(news.said);
    for (const ComparedShot& c : news.compared) {
        WebEvent event{WebEvent::Kind::Compared};
        event.number = c.number;
        event.hash = c.hash;
        event.same = c.same;
        events_.push_back(std::move(event));
        lastCompared_ = c;
        ++revision_;
    }
}

void WebClient::updateDirections() {
    const Game& g = session_.game();
    for (int i = 1; i <= g.playerCount(); ++i) {
        const ui::StatusCells cells = ui::statusCells(g.seats[i].position, g.seats[i].isKiller);
        if (cells.direction) direction_[std::size_t(i)] = *cells.direction;
    }
}

}  // namespace capzel::web
