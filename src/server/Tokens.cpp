#include "server/Tokens.h"

#include <array>

#include "protocol/Messages.h"

namespace capzel::server {

TokenSource::TokenSource() {
    std::random_device device;
    std::array<std::uint32_t, 8> words{};
    for (std::uint32_t& w : words) w = device();
    std::seed_seq seed(words.begin(), words.end());
    random_.seed(seed);
}

std::string TokenSource::seatToken() {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string token;
    for (int half = 0; half < 2; ++half) {
        const std::uint64_t bits = random_();
        for (int k = 15; k >= 0; --k) token.push_back(kDigits[(bits >> (4 * k)) & 0xFu]);
    }
    return token;
}

std::string TokenSource::roomCode(std::string_view prefix) {
    std::uniform_int_distribution<std::size_t> letter(0, protocol::kRoomCodeLetters.size() - 1);
    std::string code(prefix.substr(0, protocol::kRoomCodeLength));
    while (code.size() < protocol::kRoomCodeLength) code.push_back(protocol::kRoomCodeLetters[letter(random_)]);
    return code;
}

}  // namespace capzel::server
