// Why a command, a message or a request was not taken: a code that programs
// act on, and a text for people. The codes travel in the online game's
// messages as numbers, so a code keeps its number for ever; new ones are
// added at the end.
#pragma once

#include <string>

namespace capzel {

enum class RefusalCode {
    Other = 0,                 // nothing more particular applies
    GameNotBegun = 1,          // the room waits for its players
    GameOver = 2,              // no game runs
    ShotUnderWay = 3,          // a shot is still running or being judged
    NotYourTurn = 4,           // the seat is not the one whose turn it is
    StaleShotNumber = 5,       // the shot is not the game's next one
    AimOutOfReach = 6,         // an aim line end that is not a finite place near the field
    StrengthOutOfRange = 7,    // a strength the power bar never gives
    PlacementNotAllowed = 8,   // the rules let no piece be placed by hand now
    PlacementOutsideBox = 9,   // a placed piece that does not lie where the mouse could put it
    BadCommand = 10,           // a hidden command the game does not know, or answers it cannot take
    CommandNotAllowed = 11,    // hidden commands are not taken here (an online game)
    BadMessage = 12,           // a message that could not be read
    TokenHoldsNoSeat = 13,     // the token given holds no seat in the room
    NoFreeSeat = 14,           // the room has no seat left for a person
    SeatNotFree = 15,          // the seat asked for is taken or is not a person's
    NoSuchRoom = 16,           // no room has that code
    BadRoomSetup = 17,         // a room cannot be made so
    NotHost = 18,              // only the room's host may do that
    SeatStillHere = 19,        // the seat's player is still connected
    NotInRoom = 20,            // the connection has not joined a room
    TooMany = 21,              // a limit of the server was reached (rooms, messages, guesses)
    NotAPlayer = 22,           // a spectator cannot shoot
    RoomClosed = 23,           // the room closed for another reason than its game's end
    RoomNotKept = 24,          // the server cannot keep the room's game on its disk (the game goes on)
};

struct Refusal {
    RefusalCode code = RefusalCode::Other;
    std::string text;
    bool operator==(const Refusal&) const = default;
};

}  // namespace capzel
