#include "web/WebView.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

#include "model/PlayerKind.h"
#include "model/PowerBarScale.h"
#include "model/WindowState.h"
#include "protocol/Messages.h"
#include "records/GameRecord.h"
#include "ui/windows/StatusCells.h"

namespace capzel::web {

namespace {

using Json = nlohmann::json;

// Box numbers and letters as the desktop's field draws them: bold, in
// pixels of the designed field.
constexpr int kNumberPixelSize = 24;
constexpr int kLetterPixelSize = 20;
// The regions drawn as boxes: 1..13 (the way out) and A..D.
constexpr int kDrawnSpots[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 26, 27, 28, 29};

std::string colorText(Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
    return text;
}

Json boxValue(const Box& b) {
    return {{"left", b.left}, {"top", b.top}, {"width", b.width}, {"height", b.height}, {"visible", b.visible}};
}

Json lineValue(const Line& l) {
    return {{"x1", l.x1}, {"y1", l.y1}, {"x2", l.x2}, {"y2", l.y2}, {"color", colorText(l.lineColor)},
            {"width", l.borderWidth}, {"dashed", l.style == LineStyle::DashDotDot}};
}

// "\r\n" line breaks as the page's "\n".
std::string asLines(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

const char* phaseName(TurnPhase phase) {
    switch (phase) {
    case TurnPhase::Idle: return "idle";
    case TurnPhase::Aiming: return "aiming";
    case TurnPhase::Charging: return "charging";
    case TurnPhase::Shooting: return "shooting";
    case TurnPhase::Judging: return "judging";
    case TurnPhase::GameOver: return "over";
    case TurnPhase::Replaying: return "replaying";
    }
    return "idle";
}

// The shapes of the shown game in the order the desktop's field draws
// them: as laid out, those brought to the front (pieces, the aim) later.
Json shapesValue(const Game& shown, const DrawingOrder& z) {
    struct Shape {
        Json value;
        int z;
        int order;
    };
    std::vector<Shape> shapes;
    int order = 0;
    const auto add = [&](Json value, bool visible, int front = 0) {
        if (visible) shapes.push_back({std::move(value), front, order});
        ++order;
    };
    const Board& b = shown.board;
    const auto rect = [](const Box& box, const char* kind) {
        Json v = boxValue(box);
        v["kind"] = kind;
        v["color"] = colorText(box.fillColor);
        v.erase("visible");
        return v;
    };
    const auto line = [](const Line& l) {
        Json v = lineValue(l);
        v["kind"] = "line";
        return v;
    };
    for (int j = 1; j <= kWallCount; ++j) add(rect(b.walls[std::size_t(j)], "rect"), b.walls[std::size_t(j)].visible);
    add(line(b.leftLine), b.leftLine.visible);
    add(line(b.rightLine), b.rightLine.visible);
    add(rect(b.pieceHolder, "rect"), b.pieceHolder.visible);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& piece = b.pieces[std::size_t(i)];
        Json v = rect(piece, "circle");
        v["piece"] = i;
        // A game not begun yet (no seats) has no pieces to show.
        add(std::move(v), piece.visible && i <= shown.playerCount(), z.pieces[std::size_t(i)]);
    }
    Json aim = line(b.pointer);
    aim["aim"] = true;
    add(std::move(aim), b.pointer.visible, z.pointer);
    std::stable_sort(shapes.begin(), shapes.end(),
                     [](const Shape& a, const Shape& c) { return a.z != c.z ? a.z < c.z : a.order < c.order; });
    Json list = Json::array();
    for (Shape& s : shapes) list.push_back(std::move(s.value));
    return list;
}

// The bar's rows as drawn since its last clear, runs of touching rows
// joined: [top, bottom, x1, x2] in twips inside the bar.
Json barValue(const PowerBar& bar) {
    Json spans = Json::array();
    std::vector<PowerBar::Span> joined;
    for (const PowerBar::Span& s : bar.drawn) {
        const int top = std::min(s.top, s.bottom), bottom = std::max(s.top, s.bottom);
        if (!joined.empty() && joined.back().top == bottom && joined.back().x1 == s.x1 && joined.back().x2 == s.x2)
            joined.back().top = top;
        else
            joined.push_back({top, bottom, s.x1, s.x2});
    }
    for (const PowerBar::Span& s : joined) spans.push_back({s.top, s.bottom, s.x1, s.x2});
    return {{"visible", bar.box.visible}, {"spans", std::move(spans)}};
}

const char* presenceOf(const OnlineGame& online, int seat) {
    for (const protocol::SeatStatus& s : online.seats())
        if (s.seat == seat) return protocol::presenceName(s.presence);
    return "";
}

// Before the game begins the table lists the room's seats as the server
// tells them, an open seat among them: the page has no lobby of its own.
Json seatRows(const OnlineGame& online) {
    Json rows = Json::array();
    for (const protocol::SeatStatus& s : online.seats()) {
        const bool open = s.presence == protocol::SeatPresence::Open;
        rows.push_back({{"number", s.seat},
                        {"name", open ? std::string() : s.name},
                        {"open", open},
                        {"position", ""},
                        {"direction", ""},
                        {"score", ""},
                        {"color", ""},
                        {"out", false},
                        {"turn", false},
                        {"mine", online.seatIsMine(s.seat)},
                        {"kind", playerKindName(s.kind)},
                        {"presence", protocol::presenceName(s.presence)}});
    }
    return rows;
}

// What the room still waits for: a dropped player, or seats nobody has
// taken yet (the game begins once every seat is taken).
std::string waitingLine(const WebClient& client) {
    const OnlineGame& online = client.online();
    std::string line = online.waitingText();
    if (!line.empty() || !online.hasJoined() || client.session().game().playerCount() > 0) return line;
    const auto open = std::count_if(online.seats().begin(), online.seats().end(), [](const protocol::SeatStatus& s) {
        return s.presence == protocol::SeatPresence::Open;
    });
    if (open == 0) return {};
    return "Waiting for " + std::to_string(open) + (open == 1 ? " more player" : " more players") +
           " to join by the link\u2026";
}

Json statusValue(const WebClient& client) {
    const Game& g = client.session().game();
    if (g.playerCount() == 0) return seatRows(client.online());
    Json rows = Json::array();
    for (int i = 1; i <= g.playerCount(); ++i) {
        const Seat& s = g.seats[std::size_t(i)];
        const ui::StatusCells cells = ui::statusCells(s.position, s.isKiller);
        rows.push_back({{"number", i},
                        {"name", s.name},
                        {"position", cells.position},
                        {"direction", client.directionShown(i)},
                        {"score", s.score},
                        {"color", colorText(s.color)},
                        {"out", s.dead},
                        {"turn", g.gameRunning && g.currentTurn == i},
                        {"mine", client.online().seatIsMine(i)},
                        {"kind", playerKindName(s.kind)},
                        {"presence", presenceOf(client.online(), i)},
                        {"open", false}});
    }
    return rows;
}

}  // namespace

std::string layoutJson() {
    const Board board = makeBoardLayout();
    const FieldMarkings marks = makeFieldMarkings();
    const BoardControls controls = makeBoardControls();
    Json boxes = Json::array();
    for (int k : kDrawnSpots) {
        Json v = boxValue(board.spots[std::size_t(k)]);
        v.erase("visible");
        v["label"] = spotLabel(k);
        v["labelPixels"] = k >= 26 ? kLetterPixelSize : kNumberPixelSize;
        boxes.push_back(std::move(v));
    }
    Json diagonals = Json::array();
    for (const Line& l : marks.centerLines) diagonals.push_back(lineValue(l));
    Json kinds = Json::array();
    for (PlayerKind k : kPlayerKinds)
        if (k != PlayerKind::Human) kinds.push_back(playerKindName(k));
    Json layout = {{"width", board.scaleWidth},
                   {"height", board.scaleHeight},
                   {"twipsPerPixel", kTwipsPerPixel},
                   {"picture", boxValue(marks.fieldPicture)},
                   {"boxes", std::move(boxes)},
                   {"diagonals", std::move(diagonals)},
                   {"bar", boxValue(controls.powerBar.box)},
                   {"go", boxValue(controls.goButton.box)},
                   {"goCaption", controls.goButton.caption},
                   {"label", boxValue(controls.aimLabel.box)},
                   {"computerLevels", std::move(kinds)},
                   {"maxBarTicks", maxBarTicks()},
                   {"maxPlayers", kMaxPlayers},
                   {"maxChatChars", protocol::kMaxChatChars}};
    return layout.dump();
}

std::string viewJson(const WebClient& client) {
    const TurnController& turn = client.turn();
    const OnlineGame& online = client.online();
    const Game shown = turn.shownGame();
    const Game& g = client.session().game();
    const BoardControls& controls = turn.replay() ? turn.replay()->controls() : turn.controls();
    Json compared = nullptr;
    if (const auto& c = client.lastCompared())
        compared = {{"number", c->number}, {"hash", hashText(c->hash)}, {"same", c->same}};
    Json view = {{"revision", client.revision()},
                 {"shapes", shapesValue(shown, controls.order)},
                 {"bar", barValue(controls.powerBar)},
                 {"go", controls.goButton.box.visible},
                 {"label", controls.aimLabel.box.visible ? asLines(controls.aimLabel.caption) : std::string()},
                 {"phase", phaseName(turn.phase())},
                 {"running", g.gameRunning},
                 {"players", g.playerCount()},
                 {"turn", g.currentTurn},
                 {"myTurn", client.myTurn()},
                 {"canPlace", client.canPlace()},
                 {"charging", turn.charging()},
                 {"barTicks", turn.charging() ? (powerBarRows() - controls.barLevel) / kBarTick : 0},
                 {"remoteShot", client.showingRemoteShot()},
                 {"fast", client.fast()},
                 {"inRoom", client.inRoom()},
                 {"spectator", online.spectating()},
                 {"host", online.isHost()},
                 {"code", online.code()},
                 {"shots", online.shotsPlayed()},
                 {"waiting", waitingLine(client)},
                 {"awaitingState", online.awaitingState()},
                 {"mismatches", online.mismatches()},
                 {"compared", std::move(compared)},
                 {"status", statusValue(client)}};
    return view.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string eventsJson(const std::vector<WebEvent>& events) {
    static constexpr const char* kKinds[] = {"welcomed", "joined", "refused", "lost",
                                             "banner", "chat", "compared", "refusal"};
    Json list = Json::array();
    for (const WebEvent& e : events) {
        Json v = {{"kind", kKinds[std::size_t(e.kind)]}};
        switch (e.kind) {
        case WebEvent::Kind::Joined:
            v["code"] = e.code;
            v["token"] = e.token;
            v["host"] = e.host;
            break;
        case WebEvent::Kind::Chat:
            v["who"] = e.who;
            v["text"] = e.text;
            break;
        case WebEvent::Kind::Compared:
            v["number"] = e.number;
            v["hash"] = hashText(e.hash);
            v["same"] = e.same;
            break;
        case WebEvent::Kind::Refused:
            v["text"] = e.text;
            v["forgetToken"] = e.forgetToken;
            break;
        case WebEvent::Kind::Welcomed:
            break;
        default:
            v["text"] = e.text;
            break;
        }
        list.push_back(std::move(v));
    }
    return list.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace capzel::web
