#include "audio/MidiCheck.h"

#include <cstdint>
#include <cstring>
#include <fstream>

namespace capzel::ui {
namespace {

constexpr std::size_t kLargestSong = 4u << 20;

std::uint32_t bigEndian(const std::vector<char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | std::uint8_t(b[at + std::size_t(i)]);
    return v;
}

}  // namespace

bool isStandardMidiFile(const std::vector<char>& bytes) {
    if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) return false;
    const std::uint32_t headerLength = bigEndian(bytes, 4, 4);
    if (headerLength < 6 || headerLength > bytes.size() - 8) return false;
    const std::uint32_t format = bigEndian(bytes, 8, 2);
    const std::uint32_t division = bigEndian(bytes, 12, 2);
    if (format > 2 || division == 0) return false;

    std::size_t at = 8 + headerLength;
    int tracks = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) return false;
        const std::uint32_t length = bigEndian(bytes, at + 4, 4);
        if (length > bytes.size() - at - 8) return false;
        if (std::memcmp(bytes.data() + at, "MTrk", 4) == 0 && length > 0) ++tracks;
        at += 8 + length;
    }
    return tracks > 0;
}

std::vector<char> readSongFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    const std::streamoff size = in.tellg();
    if (size <= 0 || std::uint64_t(size) > kLargestSong) return {};
    std::vector<char> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return {};
    return bytes;
}

}  // namespace capzel::ui
