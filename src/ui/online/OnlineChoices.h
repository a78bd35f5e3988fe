// What a player chose to host or join an online game, as plain values, and
// the last choices kept for the next time (QSettings, beside the player's
// other settings).
#pragma once

#include <QtGlobal>
#include <string>
#include <vector>

#include "model/PlayerKind.h"

namespace capzel::ui {

// The port a hosted game listens on unless the host says otherwise.
constexpr quint16 kDefaultOnlinePort = 47474;

struct HostSeat {
    enum class Who { ThisComputer, Remote, Computer };
    std::string name;  // empty for a remote seat: whoever joins brings a name
    Who who = Who::ThisComputer;
    PlayerKind kind = PlayerKind::Human;  // a level when the computer plays the seat
    bool operator==(const HostSeat&) const = default;
};

struct HostChoices {
    quint16 port = kDefaultOnlinePort;
    bool walls = true;
    std::vector<HostSeat> seats;
    bool operator==(const HostChoices&) const = default;
};

struct JoinChoices {
    std::string url;   // ws://host:port or wss://host:port
    std::string code;  // the room's code, upper case
    std::string name;
    bool spectate = false;
    bool operator==(const JoinChoices&) const = default;
};

// The kept choices; anything missing or out of range reads as a default
// (one seat played on this computer, no address).
HostChoices loadHostChoices();
void saveHostChoices(const HostChoices& choices);
JoinChoices loadJoinChoices();
void saveJoinChoices(const JoinChoices& choices);

}  // namespace capzel::ui
