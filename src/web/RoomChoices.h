// What a person at the page chooses before playing, checked as the desktop's
// dialogs check it: a name, a room's code to join, and a room to make (1 to
// 8 seats, each a person at this page, a player who joins by the room's
// link, or the computer at a level; the walls in play or not).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/Messages.h"

namespace capzel::web {

// The name trimmed of spaces at both ends.
std::string trimmed(std::string_view text);

// Why the name cannot be played under (empty: it can): blank, a control
// character, or longer than a saved game keeps.
std::string nameProblem(std::string_view name);

// A room's code as typed, in capitals and without spaces; nothing when it is
// not a room's code.
std::optional<std::string> roomCode(std::string_view typed);

// The room the page's "make a room" form describes, as JSON text:
//   {"walls": true, "seats": [{"who": "here" | "link" | "computer",
//                              "name": "...", "level": "Club"}, ...]}
// (a seat joined by link has no name here; the level only for the
// computer). Either the room to ask for, or why it cannot be made, in the
// words of the desktop's Host dialog.
struct RoomChoice {
    std::optional<protocol::CreateRoom> room;
    std::string problem;
};
RoomChoice roomFromChoices(std::string_view json);

}  // namespace capzel::web
