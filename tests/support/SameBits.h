// What every build of the core must compute to the same bits, as hashes:
// the strength curve over every value of the bar, and the shortest texts
// of reals and the values read back from them. The core tests pin them;
// same_bits prints them, so that builds by other compilers and libraries
// can be compared with this one (tests/scripts/same_bits.sh).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Launch.h"
#include "model/Bits.h"
#include "model/RealText.h"

namespace capzel::test {

struct Fnv1a {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    void add(std::uint64_t value, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            hash ^= (value >> (8 * k)) & 0xFFu;
            hash *= 0x100000001b3ull;
        }
    }
    void add(const std::string& text) {
        for (const char c : text) add(std::uint8_t(c), 1);
    }
};

// strengthCurve for -32768 to 32767, two bytes (little-endian) each.
inline std::uint64_t strengthCurveHash() {
    Fnv1a h;
    for (int power = -32768; power <= 32767; ++power) h.add(std::uint16_t(engine::strengthCurve(power)), 2);
    return h.hash;
}

// `count` floats and as many doubles from a fixed run of bit patterns
// (splitmix64): each one's shortest text, and the bits read back from it.
inline std::uint64_t realTextHash(int count) {
    Fnv1a h;
    std::uint64_t state = 35;
    const auto next = [&state] {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    };
    for (int k = 0; k < count; ++k) {
        const std::uint64_t bits = next();
        const float f = bitCopy<float>(std::uint32_t(bits >> 32));
        const double d = bitCopy<double>(bits);
        float fBack = 0;
        double dBack = 0;
        const std::string fText = shortestText(f), dText = shortestText(d);
        h.add(fText);
        h.add(std::uint64_t(readDecimal(fText, fBack)), 1);
        h.add(bitCopy<std::uint32_t>(fBack), 4);
        h.add(dText);
        h.add(std::uint64_t(readDecimal(dText, dBack)), 1);
        h.add(bitCopy<std::uint64_t>(dBack), 8);
    }
    return h.hash;
}

}  // namespace capzel::test
