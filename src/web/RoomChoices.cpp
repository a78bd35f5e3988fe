#include "web/RoomChoices.h"

#include <cctype>
#include <nlohmann/json.hpp>

#include "records/SavedGame.h"

namespace capzel::web {

namespace {

using Json = nlohmann::json;

// The text under `key` of an object, or empty.
std::string textAt(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

std::string trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::size_t begin = 0, end = text.size();
    while (begin < end && space(text[begin])) ++begin;
    while (end > begin && space(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string nameProblem(std::string_view name) {
    const std::string t = trimmed(name);
    if (t.empty()) return "A name is needed.";
    if (!protocol::isPlainText(t, saveLimits::kMaxNameLength))
        return "A name is at most " + std::to_string(saveLimits::kMaxNameLength) +
               " characters, with no control characters.";
    return {};
}

std::optional<std::string> roomCode(std::string_view typed) {
    std::string code;
    for (char c : typed)
        if (c != ' ' && c != '-') code += char(std::toupper(static_cast<unsigned char>(c)));
    if (!protocol::isRoomCode(code)) return std::nullopt;
    return code;
}

RoomChoice roomFromChoices(std::string_view json) {
    RoomChoice choice;
    const Json j = Json::parse(json, nullptr, false);
    const auto seats = j.is_object() ? j.find("seats") : Json::const_iterator();
    if (!j.is_object() || seats == j.end() || !seats->is_array() || seats->empty() ||
        seats->size() > std::size_t(kMaxPlayers)) {
        choice.problem = "A room has 1 to " + std::to_string(kMaxPlayers) + " seats.";
        return choice;
    }
    protocol::CreateRoom room;
    const auto walls = j.find("walls");
    room.walls = walls == j.end() || !walls->is_boolean() || walls->get<bool>();
    bool here = false;
    int unnamed = 0;
    for (std::size_t k = 0; k < seats->size(); ++k) {
        const Json& seat = (*seats)[k];
        const std::string who = seat.is_object() ? textAt(seat, "who") : std::string();
        const std::string name = trimmed(seat.is_object() ? textAt(seat, "name") : std::string());
        PlayerKind kind = PlayerKind::Human;
        if (who == "computer") {
            const std::string level = textAt(seat, "level");
            kind = PlayerKind::Novice;
            for (PlayerKind k2 : kPlayerKinds)
                if (k2 != PlayerKind::Human && level == playerKindName(k2)) kind = k2;
        } else if (who != "here" && who != "link") {
            choice.problem = "Seat " + std::to_string(k + 1) + " is played by nobody.";
            return choice;
        }
        if (who == "here") {
            here = true;
            room.mine.push_back(int(k + 1));
        }
        if (who != "link" && !nameProblem(name).empty()) ++unnamed;
        room.seats.push_back(kind);
        room.names.push_back(who == "link" ? std::string() : name);
    }
    if (!here)
        choice.problem = "At least one seat must be played on this page.";
    else if (unnamed > 0)
        choice.problem = "Every seat played here or by the computer needs a name.";
    else
        choice.room = std::move(room);
    return choice;
}

}  // namespace capzel::web
