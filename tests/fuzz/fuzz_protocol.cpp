// libFuzzer target for the online messages' decoder: besides crashes, a refusal without a UTF-8
// reason, a message that does not read back as written (compared as text: a NaN equals nothing),
// or a typed text that is not plain stops it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "protocol/Messages.h"
#include "records/TextEncoding.h"

using namespace capzel;
using namespace capzel::protocol;

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

struct TextsArePlain {
    void operator()(const Hello& m) const { require(isPlainText(m.name, 40) && !m.name.empty(), "hello name"); }
    void operator()(const Chat& m) const { require(isPlainText(m.text, kMaxChatChars) && !m.text.empty(), "chat text"); }
    void operator()(const JoinRoom& m) const { require(isRoomCode(m.code) && (!m.token || isSeatToken(*m.token)), "join"); }
    void operator()(const Joined& m) const { require(isRoomCode(m.code) && isSeatToken(m.token), "joined"); }
    template <typename Other>
    void operator()(const Other&) const {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Decoded decoded = decodeMessage(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto* refusal = std::get_if<protocol::Refusal>(&decoded)) {
        require(!refusal->reason.empty() && isValidUtf8(refusal->reason), "a refusal says why, in UTF-8");
        return 0;
    }
    std::visit(TextsArePlain{}, decoded);
    std::visit([&](const auto& m) {
        using Kind = std::decay_t<decltype(m)>;
        if constexpr (!std::is_same_v<Kind, protocol::Refusal>) {
            const std::string written = encodeMessage(m);
            const Decoded again = decodeMessage(written);
            require(std::holds_alternative<Kind>(again), "a written message reads back");
            require(encodeMessage(std::get<Kind>(again)) == written, "a written message reads back the same");
        }
    }, decoded);
    return 0;
}
