#include "Smf.h"

#include <algorithm>
#include <tuple>

namespace midigen {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One timed event of a track; at equal ticks set-up comes first, then note
// ends, then note starts (so a repeated key is released before it sounds again).
struct Event {
    int tick;
    int order;
    Bytes data;
};

void putVariableLength(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (n > 1) out.push_back(std::uint8_t(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void putBigEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(std::uint8_t((value >> (8 * i)) & 0xFF));
}

Bytes meta(std::uint8_t type, const Bytes& payload) {
    Bytes b{0xFF, type};
    putVariableLength(b, std::uint32_t(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::uint8_t clamp7(int v) { return std::uint8_t(std::clamp(v, 0, 127)); }

Bytes trackChunk(std::vector<Event> events, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
    });
    Bytes body;
    int now = 0;
    for (const Event& e : events) {
        putVariableLength(body, std::uint32_t(e.tick - now));
        body.insert(body.end(), e.data.begin(), e.data.end());
        now = e.tick;
    }
    putVariableLength(body, std::uint32_t(std::max(0, endTick - now)));
    Bytes end = meta(0x2F, {});
    body.insert(body.end(), end.begin(), end.end());

    Bytes chunk = text("MTrk");
    putBigEndian(chunk, std::uint32_t(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<Event> conductorEvents(const Song& song) {
    const std::uint32_t microsPerQuarter = std::uint32_t(60'000'000 / song.beatsPerMinute);
    Bytes tempo;
    putBigEndian(tempo, microsPerQuarter, 3);
    return {
        {0, 0, meta(0x03, text(song.title))},
        {0, 0, meta(0x58, {std::uint8_t(song.beatsPerBar), 2, 24, 8})},
        {0, 0, meta(0x59, {std::uint8_t(std::int8_t(song.keySharps)), std::uint8_t(song.minorKey ? 1 : 0)})},
        {0, 0, meta(0x51, tempo)},
    };
}

std::vector<Event> instrumentEvents(const Track& t, int endTick) {
    const std::uint8_t ch = std::uint8_t(t.channel & 0x0F);
    const std::uint8_t controller = std::uint8_t(0xB0 | ch);
    std::vector<Event> events = {
        {0, 0, meta(0x03, text(t.name))},
        {0, 0, {std::uint8_t(0xC0 | ch), clamp7(t.program)}},
        {0, 0, {controller, 7, clamp7(t.volume)}},
        {0, 0, {controller, 10, clamp7(t.pan)}},
        {0, 0, {controller, 91, clamp7(t.reverb)}},
        {0, 0, {controller, 93, clamp7(t.chorus)}},
    };
    for (const Note& n : t.notes) {
        if (n.length <= 0 || n.tick < 0 || n.tick >= endTick) continue;
        const int off = std::min(n.tick + n.length, endTick);
        events.push_back({n.tick, 2, {std::uint8_t(0x90 | ch), clamp7(n.key), std::uint8_t(std::clamp(n.velocity, 1, 127))}});
        events.push_back({off, 1, {std::uint8_t(0x80 | ch), clamp7(n.key), 64}});
    }
    return events;
}

}  // namespace

std::vector<std::uint8_t> writeSmf(const Song& song) {
    Bytes file = text("MThd");
    putBigEndian(file, 6, 4);
    putBigEndian(file, 1, 2);  // format 1: simultaneous tracks
    putBigEndian(file, std::uint32_t(song.tracks.size() + 1), 2);
    putBigEndian(file, kTicksPerQuarter, 2);

    Bytes conductor = trackChunk(conductorEvents(song), song.endTick);
    file.insert(file.end(), conductor.begin(), conductor.end());
    for (const Track& t : song.tracks) {
        Bytes chunk = trackChunk(instrumentEvents(t, song.endTick), song.endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace midigen
