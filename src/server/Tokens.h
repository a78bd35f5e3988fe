// The random values the server hands out: a seat's token (128 bits as 32
// hexadecimal digits), which takes the seat back after a drop, and a room's
// code, which people read out to each other.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace capzel::server {

class TokenSource {
public:
    // Seeded from the system's random device.
    TokenSource();

    std::string seatToken();
    // A new room's code; with a prefix (room-code letters), one that begins
    // with it, so that servers side by side make codes of their own.
    std::string roomCode(std::string_view prefix = {});

private:
    std::mt19937_64 random_;
};

}  // namespace capzel::server
