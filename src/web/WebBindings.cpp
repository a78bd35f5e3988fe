// The page's door into the WebAssembly core: plain C functions that take and
// give UTF-8 text and numbers (web/app.js calls them through the module's
// exports). One client lives for the page's lifetime. A text given back
// stays valid until the next call that gives text.
//
// Only the WebAssembly build compiles this file.
#include <emscripten/emscripten.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "capzel_version.h"
#include "records/GameRecord.h"
#include "web/RecordMessages.h"
#include "web/RoomChoices.h"
#include "web/WebClient.h"
#include "web/WebView.h"

using capzel::web::WebClient;

namespace {

using Json = nlohmann::json;

WebClient& client() {
    static WebClient the;
    return the;
}

const char* give(std::string text) {
    static std::string held;
    held = std::move(text);
    return held.c_str();
}

std::string programVersion() {
    return "web " + std::to_string(CAPZEL_VERSION_MAJOR) + "." + std::to_string(CAPZEL_VERSION_MINOR) + "." +
           std::to_string(CAPZEL_VERSION_PATCH);
}

std::string listJson(const std::vector<std::string>& texts) {
    Json list = Json::array();
    for (const std::string& t : texts) list.push_back(t);
    return list.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* capzel_layout() { return give(capzel::web::layoutJson()); }

EMSCRIPTEN_KEEPALIVE const char* capzel_version() { return give(programVersion()); }

// Why the name cannot be played under; empty when it can.
EMSCRIPTEN_KEEPALIVE const char* capzel_name_problem(const char* name) {
    return give(capzel::web::nameProblem(name));
}

// The room's code as typed, made a code (capitals, no spaces); empty when
// it is none.
EMSCRIPTEN_KEEPALIVE const char* capzel_room_code(const char* typed) {
    return give(capzel::web::roomCode(typed).value_or(std::string()));
}

// Why the room described cannot be made (web/RoomChoices.h); empty when
// it can.
EMSCRIPTEN_KEEPALIVE const char* capzel_room_problem(const char* choices) {
    return give(capzel::web::roomFromChoices(choices).problem);
}

// The socket is open: `name` says hello; then, once welcomed, the room
// described is made (`choices` as capzel_room_problem takes them), or
// the room `code` joined, with the seats' `token` (may be empty) or to
// watch. Gives false when neither can be asked for.
EMSCRIPTEN_KEEPALIVE int capzel_connected(const char* name, const char* choices, const char* code, const char* token,
                                          int watch) {
    capzel::web::RoomRequest request;
    if (*choices) {
        request.create = capzel::web::roomFromChoices(choices).room;
        if (!request.create) return 0;
    } else {
        const auto room = capzel::web::roomCode(code);
        if (!room) return 0;
        capzel::protocol::JoinRoom join;
        join.code = *room;
        if (*token && !watch && capzel::protocol::isSeatToken(token)) join.token = std::string(token);
        join.spectate = watch != 0;
        request.join = std::move(join);
    }
    client().connected(capzel::web::trimmed(name), programVersion(), std::move(request));
    return 1;
}

EMSCRIPTEN_KEEPALIVE void capzel_received(const char* text) { client().received(text); }
EMSCRIPTEN_KEEPALIVE void capzel_disconnected() { client().disconnected(); }
EMSCRIPTEN_KEEPALIVE const char* capzel_outgoing() { return give(listJson(client().takeOutgoing())); }
EMSCRIPTEN_KEEPALIVE const char* capzel_events() {
    return give(capzel::web::eventsJson(client().takeEvents()));
}

EMSCRIPTEN_KEEPALIVE void capzel_mouse_move(int buttons, int shift, float x, float y) {
    client().mouseMove(buttons, shift, x, y);
}
EMSCRIPTEN_KEEPALIVE void capzel_mouse_up() { client().mouseUp(); }
EMSCRIPTEN_KEEPALIVE void capzel_go() { client().go(); }
EMSCRIPTEN_KEEPALIVE void capzel_escape() { client().escape(); }
EMSCRIPTEN_KEEPALIVE void capzel_set_fast(int fast) { client().setFast(fast != 0); }
EMSCRIPTEN_KEEPALIVE int capzel_say(const char* text) { return client().say(text) ? 1 : 0; }

// The page's animation frame, `elapsedMs` after the last: gives the view's
// revision, which grows whenever what is drawn changed.
EMSCRIPTEN_KEEPALIVE double capzel_frame(double elapsedMs) {
    client().frame(elapsedMs);
    return double(client().revision());
}

EMSCRIPTEN_KEEPALIVE const char* capzel_view() { return give(capzel::web::viewJson(client())); }

// A game record (JSON text) played again as `capzel-sim --replay` plays it;
// "refused: <why>" for a record that cannot be read.
EMSCRIPTEN_KEEPALIVE const char* capzel_replay(const char* recordText) {
    std::string error;
    const auto record = capzel::readGameRecord(recordText, &error);
    if (!record) return give("refused: " + error);
    return give(capzel::web::replayLines(*record));
}

// A game record told as a server tells it to a spectator: a JSON list of
// the messages' texts; an empty list for a record that cannot be read.
EMSCRIPTEN_KEEPALIVE const char* capzel_record_messages(const char* recordText) {
    std::string error;
    const auto record = capzel::readGameRecord(recordText, &error);
    return give(listJson(record ? capzel::web::recordAsServerMessages(*record) : std::vector<std::string>()));
}

}  // extern "C"
