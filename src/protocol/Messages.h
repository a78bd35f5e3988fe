// The messages of a game played across computers, as plain values, and
// their text: one JSON object per WebSocket message,
//   {"type": "shot", "protocol": 1, ...fields}
// The engine gives the same result to the bit on every computer, so a shot
// travels as the inputs a game record keeps of it (the aim line's ends, the
// strength, a hand placement) and every side plays it itself; the server
// says what its own play gave (the announcements and the state hash), and a
// side that differs asks for the whole state.
//
// The decoder is the one door for text from the network: it never throws,
// and anything it does not take comes back as a Refusal with a reason a
// person can read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/PlayerKind.h"
#include "model/Refusal.h"
#include "records/GameRecord.h"

namespace capzel::protocol {

// Both sides must speak the same version; a message of another is refused.
constexpr int kProtocolVersion = 1;
// The longest message taken, in bytes.
constexpr std::size_t kMaxMessageBytes = 16 * 1024;
// The longest chat line and program version, in characters.
constexpr std::size_t kMaxChatChars = 300;
constexpr std::size_t kMaxProgramVersionChars = 40;
// A room's code: letters and digits a person can read out.
constexpr std::size_t kRoomCodeLength = 6;
// A seat's token: 128 random bits as lower-case hexadecimal.
constexpr std::size_t kTokenDigits = 32;

// ---- From a player's program ----------------------------------------------

// The first message of a connection.
struct Hello {
    int protocolVersion = kProtocolVersion;
    std::string programVersion;
    std::string name;  // the player's name, as a saved game holds it
    bool operator==(const Hello&) const = default;
};

// A new room: who sits in each seat (1 to 8 of them, at least one person),
// the players' names (none, or one per seat: empty keeps the seat's usual
// name), and whether walls 1 to 8 are in play. Its maker becomes the room's
// host and takes the person's seats listed in `mine` (people sharing one
// computer), or the first person's seat when none are listed.
struct CreateRoom {
    std::vector<PlayerKind> seats;
    bool walls = true;
    std::vector<std::string> names;
    std::vector<int> mine;
    bool operator==(const CreateRoom&) const = default;
};

// Joining a room by its code: the seats asked for (none: the first free
// one) with a name for each (none: the hello's name), or, with the token of
// seats held for the player, taking those seats back. A spectator holds no
// seat: it sees the game and everything said, and may not shoot.
struct JoinRoom {
    std::string code;
    std::optional<std::string> token;
    std::vector<int> seats;
    std::vector<std::string> names;
    bool spectate = false;
    bool operator==(const JoinRoom&) const = default;
};

// The aim of the player on turn as it stands, streamed while the player
// aims and charges: the aim line's ends, the power bar's level and whether
// the bar is charging. From the server, with the seat it is of.
struct Aim {
    int seat = 0;  // 0 from a player's program
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int16_t barLevel = 0;
    bool charging = false;
    bool operator==(const Aim&) const = default;
};

// The host hands a seat whose player dropped to the computer at once.
struct HandToComputer {
    int seat = 1;
    bool operator==(const HandToComputer&) const = default;
};

// A shot of the player whose turn it is: its number in the game (the shots
// played so far plus one), and its inputs (the seat is the connection's).
// From the server, the shot as accepted, with the seat that shot and what
// its play gave.
struct Shot {
    int shotNumber = 0;
    RecordedShot inputs;  // seat and outcome used only in Accepted
    bool operator==(const Shot&) const = default;
};

// A line said to the room. From the server, with who said it.
struct Chat {
    std::string text;
    int seat = 0;  // 0 from a player's program
    bool operator==(const Chat&) const = default;
};

// A player's program whose hash differed asks for the whole game.
struct StateRequest {
    bool operator==(const StateRequest&) const = default;
};

// ---- From the server ------------------------------------------------------

struct Welcome {
    int protocolVersion = kProtocolVersion;
    std::string serverVersion;
    bool operator==(const Welcome&) const = default;
};

// A message or a request the server did not take: a code a program acts on
// (model/Refusal.h) and the reason for people. The connection stays unless
// the server closes it.
struct Refused {
    RefusalCode code = RefusalCode::Other;
    std::string reason;
    bool operator==(const Refused&) const = default;
};

enum class SeatPresence { Connected, Waiting, Computer, Open };

// How a seat stands: its player connected, a dropped player awaited, a
// computer playing it, or nobody yet.
struct SeatStatus {
    int seat = 1;
    std::string name;
    SeatPresence presence = SeatPresence::Open;
    PlayerKind kind = PlayerKind::Human;
    bool host = false;  // held by the room's maker
    bool operator==(const SeatStatus&) const = default;
};

// A room joined: the seats taken (none for a spectator), the token that
// takes them back after a drop (empty for a spectator), whether this
// connection is the room's host, and how every seat stands.
struct Joined {
    std::string code;
    std::vector<int> mine;
    std::string token;
    bool host = false;
    std::vector<SeatStatus> seats;
    bool operator==(const Joined&) const = default;
};

struct Seats {
    std::vector<SeatStatus> seats;
    bool operator==(const Seats&) const = default;
};

// A shot the server played: its number, the seat and inputs, and what the
// server's play announced and left (inputs.outcome).
struct Accepted {
    Shot shot;
    bool operator==(const Accepted&) const = default;
};

// The whole game as the server holds it after `shotNumber` shots: the
// game's text (records/GameText.h), carried as a JSON object.
struct State {
    int shotNumber = 0;
    std::string gameText;
    bool operator==(const State&) const = default;
};

// What the decoder did not take, and why.
struct Refusal {
    std::string reason;
    bool operator==(const Refusal&) const = default;
};

using Message = std::variant<Hello, CreateRoom, JoinRoom, Shot, Chat, StateRequest, Welcome, Refused, Joined, Seats,
                             Accepted, State, Aim, HandToComputer>;
using Decoded = std::variant<Hello, CreateRoom, JoinRoom, Shot, Chat, StateRequest, Welcome, Refused, Joined, Seats,
                             Accepted, State, Aim, HandToComputer, Refusal>;

// The message as one line of JSON text.
std::string encodeMessage(const Message& message);

// The message the text holds, or a Refusal: a text over kMaxMessageBytes,
// not JSON or not an object, an unknown type, another protocol version, a
// field missing or of the wrong type or range, a name over the saved game's
// 40 characters or empty, a chat line over kMaxChatChars, a text with a
// control character. Never throws.
Decoded decodeMessage(std::string_view text);

// True when the text is one a person may have typed: UTF-8 without control
// characters (C0, DEL and C1), without line or paragraph separators,
// bidirectional controls or other invisible format characters (which let a
// chat line or a name pass for another), and at most `maxChars` characters.
bool isPlainText(std::string_view text, std::size_t maxChars);

// A room's code: kRoomCodeLength of the letters and digits that cannot be
// mistaken for each other. A seat's token: kTokenDigits lower-case
// hexadecimal digits.
bool isRoomCode(std::string_view text);
bool isSeatToken(std::string_view text);
inline constexpr std::string_view kRoomCodeLetters = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";

// The name of a presence as messages write it.
const char* presenceName(SeatPresence presence);

}  // namespace capzel::protocol
