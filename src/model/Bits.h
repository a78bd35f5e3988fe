// The bits of a value as another type of the same size (a float's as a
// 32-bit number, a double's as a 64-bit one, and back): what std::bit_cast
// does, by a copy of the bytes, which every C++ library has and every
// compiler turns into a single move.
#pragma once

#include <cstring>
#include <type_traits>

namespace capzel {

template <typename To, typename From>
To bitCopy(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

}  // namespace capzel
