// Everything that changes a game, as data: a shot, and each hidden command
// with the answers its input boxes got. A command is checked by one
// `validate` and applied by one `apply` (rules/Rulebook.h), whoever sends it:
// the window's "Go", a computer seat, a shot from another computer, the
// server's room, a record played again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace capzel {

// The hidden commands that change a game (rules/HiddenCommands.h), by the
// captions a record names them with. "Set Guidelines" changes no game and is
// no command.
enum class HiddenCommandKind { SetPosition, SetFriction, SetSpeed, SetPiece, SetInGame };
inline constexpr std::array<const char*, 5> kHiddenCommandCaptions = {"Set Position", "Set Friction", "Set Speed",
                                                                     "Set Piece", "Set Ingame"};
const char* commandCaption(HiddenCommandKind kind);
std::optional<HiddenCommandKind> commandNamed(std::string_view caption);

// A hidden command and the answers its input boxes got, in the order they
// were asked (an empty answer is a Cancel; answers beyond those asked are
// never read).
struct HiddenCommand {
    HiddenCommandKind kind = HiddenCommandKind::SetPosition;
    std::vector<std::string> answers;
    bool operator==(const HiddenCommand&) const = default;
};

// A hidden command that came while a shot ran, before advance number
// `advance` (counted from 0) of the shot.
struct MidShotCommand {
    long advance = 0;
    HiddenCommand command;
    bool operator==(const MidShotCommand&) const = default;
};

// Where the shooter's piece was put by hand (Shift and the mouse) before
// the shot, in twips.
struct HandPlacement {
    float left = 0;
    float top = 0;
    bool operator==(const HandPlacement&) const = default;
};

// A shot as the player made it: the aim line's ends (the piece goes away
// from the second end, towards the first), the strength at Go (from the
// power bar, before the launch's curve), a placement by hand, and the
// hidden commands that came while it ran.
struct ShotCommand {
    int seat = 1;
    float x1 = 0, y1 = 0;
    float x2 = 0, y2 = 0;
    std::int16_t strength = 0;
    std::optional<HandPlacement> placement;
    std::vector<MidShotCommand> midShot;  // in the order they came
    bool operator==(const ShotCommand&) const = default;
};

using Command = std::variant<ShotCommand, HiddenCommand>;

}  // namespace capzel
