#include "model/Command.h"

namespace capzel {

const char* commandCaption(HiddenCommandKind kind) { return kHiddenCommandCaptions[std::size_t(kind)]; }

std::optional<HiddenCommandKind> commandNamed(std::string_view caption) {
    for (std::size_t k = 0; k < kHiddenCommandCaptions.size(); ++k)
        if (caption == kHiddenCommandCaptions[k]) return HiddenCommandKind(k);
    return std::nullopt;
}

}  // namespace capzel
