#include "Composer.h"

#include <algorithm>
#include <cstdlib>

#include "Harmony.h"
#include "Melody.h"

namespace midigen {
namespace {

constexpr int kEighth = kTicksPerQuarter / 2;

enum class Section { Intro, Verse, Bridge, Outro };

struct BarSlot {
    int degree;
    Section section;
    int indexInSection;
    int nextDegree;
    const Bar* tune;  // null where the melody rests
};

Track named(const char* name, int channel) {
    Track t;
    t.name = name;
    t.channel = channel;
    return t;
}

struct Parts {
    Track melody = named("Melody", 0);
    Track chords = named("Chords", 1);
    Track bass = named("Bass", 2);
    Track drums = named("Drums", 9);  // the General MIDI percussion channel
};

int jitter(Rng& rng) { return rng.below(7) - 3; }

void add(Track& t, int tick, int length, int key, int velocity) { t.notes.push_back({tick, length, key, velocity}); }

// Three chord notes around middle C, choosing the inversion that moves the
// hands least from the previous chord.
std::vector<int> voicing(int degree, const SongPlan& p, const std::vector<int>& previous) {
    const Scale sc = scaleFor(p.mode, degree);
    int classes[3];
    for (int k = 0; k < 3; ++k) classes[k] = pitchOf(degree + 2 * k, p.tonicKey, sc) % 12;
    std::vector<int> best;
    int bestCost = 1 << 20;
    for (int inv = 0; inv < 3; ++inv) {
        std::vector<int> keys;
        int key = 52;
        while (key % 12 != classes[inv]) ++key;
        keys.push_back(key);
        for (int k = 1; k < 3; ++k) {
            int next = keys.back() + 1;
            while (next % 12 != classes[(inv + k) % 3]) ++next;
            keys.push_back(next);
        }
        int cost = 0;
        if (previous.empty()) cost = std::abs(keys[0] - 57);
        else
            for (int k = 0; k < 3; ++k) cost += std::abs(keys[std::size_t(k)] - previous[std::size_t(k)]);
        if (cost < bestCost) {
            bestCost = cost;
            best = keys;
        }
    }
    return best;
}

// The bass's root lies between Eb2 and D3; the other notes of a bar
// are placed relative to it, so the line moves by small steps.
int bassRootKey(int degree, const SongPlan& p) {
    const Scale sc = scaleFor(p.mode, degree);
    int key = pitchOf(degree, p.tonicKey - 24, sc);
    while (key > 50) key -= 12;
    while (key < 39) key += 12;
    return key;
}

int bassKey(int idx, int degree, const SongPlan& p) {
    const Scale sc = scaleFor(p.mode, degree);
    return bassRootKey(degree, p) + pitchOf(idx, p.tonicKey, sc) - pitchOf(degree, p.tonicKey, sc);
}

void playChords(Track& t, const BarSlot& slot, int start, const SongPlan& p, std::vector<int>& hands, Rng& rng) {
    hands = voicing(slot.degree, p, hands);
    const int bar = p.beatsPerBar * 2;  // eighths
    auto strike = [&](int pos, int len, int velocity) {
        for (int key : hands) add(t, start + pos * kEighth, len * kEighth - 30, key, velocity + jitter(rng));
    };
    switch (p.chords) {
        case ChordStyle::Pad:
            strike(0, bar, 50);
            break;
        case ChordStyle::Block:
            if (p.beatsPerBar == 3) {
                strike(2, 2, 44);
                strike(4, 2, 42);
            } else {
                strike(0, 4, 54);
                strike(4, 2, 44);
                strike(6, 2, 46);
            }
            break;
        case ChordStyle::Arpeggio: {
            const int order[8] = {0, 1, 2, 3, 2, 1, 0, 1};
            for (int e = 0; e < bar; ++e) {
                const int k = order[e % 8];
                const int key = k == 3 ? hands[0] + 12 : hands[std::size_t(k)];
                add(t, start + e * kEighth, 2 * kEighth, key, (e == 0 ? 56 : 46) + jitter(rng));
            }
            break;
        }
    }
}

void playBass(Track& t, const BarSlot& slot, int start, const SongPlan& p, Rng& rng) {
    const int root = slot.degree;
    auto put = [&](int pos, int len, int key, int velocity) {
        add(t, start + pos * kEighth, len * kEighth - 20, key, velocity + jitter(rng));
    };
    auto note = [&](int pos, int len, int idx, int velocity) { put(pos, len, bassKey(idx, root, p), velocity); };
    switch (p.bass) {
        case BassStyle::Walking: {
            // Three notes of the chord, then a step into the next bar's root.
            const int nextKey = bassRootKey(slot.nextDegree, p);
            const int approachIdx = slot.nextDegree + (nextKey > bassRootKey(root, p) ? -1 : 1);
            int approach = bassKey(approachIdx, slot.nextDegree, p);
            while (approach - nextKey > 6) approach -= 12;
            while (nextKey - approach > 6) approach += 12;
            note(0, 2, root, 84);
            note(2, 2, root + 2, 70);
            note(4, 2, root + 4, 76);
            put(6, 2, approach, 70);
            break;
        }
        case BassStyle::Pulse:
            note(0, 3, root, 84);
            note(3, 1, root, 64);
            note(4, 2, root + 4, 74);
            note(6, 2, root + 7, 68);
            break;
        case BassStyle::Waltz:
            note(0, 2, root, 80);
            note(4, 2, root + 4, 62);
            break;
    }
}

void playDrums(Track& t, const BarSlot& slot, int start, const SongPlan& p, Rng& rng) {
    const int eighths = p.beatsPerBar * 2;
    auto hit = [&](int pos, int key, int velocity) { add(t, start + pos * kEighth, kEighth / 2, key, velocity + jitter(rng)); };
    for (int e = 0; e < eighths; ++e) {
        if (slot.section == Section::Bridge) {
            if (e % 2 == 0) hit(e, 51, 44);  // ride on the beats
        } else {
            hit(e, 42, e % 2 == 0 ? 40 : 28);  // closed hi-hat
        }
    }
    if (slot.section == Section::Intro) return;
    hit(0, 36, 72);
    if (p.beatsPerBar == 4) {
        hit(4, 36, 62);
        hit(2, 37, 50);
        if (slot.indexInSection == 7) {  // a small fill into the next section
            hit(6, 38, 46);
            hit(7, 38, 56);
        } else {
            hit(6, 37, 50);
        }
    } else {
        hit(2, 37, 46);
        hit(4, 37, 44);
    }
}

void playTune(Track& t, const Bar& bar, int start, const SongPlan& p, int degree, Rng& rng) {
    const Scale sc = scaleFor(p.mode, degree);
    for (const Tone& tone : bar) {
        const bool strong = tone.start == 0 || (p.beatsPerBar == 4 && tone.start == 4);
        add(t, start + tone.start * kEighth, tone.length * kEighth - 24, pitchOf(tone.idx, p.tonicKey, sc),
            (strong ? 92 : 80) + jitter(rng));
    }
}

void playOutro(Parts& parts, int start, const SongPlan& p, std::vector<int>& hands) {
    const int barTicks = p.beatsPerBar * kTicksPerQuarter;
    // The last word of the tune: its tonic, in the octave where it stopped.
    int last = p.tonicKey;
    if (!parts.melody.notes.empty()) last = parts.melody.notes.back().key;
    int tonic = p.tonicKey;
    while (tonic - last > 6) tonic -= 12;
    while (last - tonic > 6) tonic += 12;
    add(parts.melody, start, barTicks + barTicks / 2, tonic, 84);
    hands = voicing(0, p, hands);
    for (std::size_t k = 0; k < hands.size(); ++k)
        add(parts.chords, start + int(k) * 40, 2 * barTicks - 60 - int(k) * 40, hands[k], 50);
    add(parts.bass, start, 2 * barTicks - 60, bassRootKey(0, p), 80);
    if (p.drums != DrumStyle::None) {
        add(parts.drums, start, kEighth, 36, 70);
        add(parts.drums, start, kEighth, 49, 56);
    }
}

std::vector<BarSlot> layout(const SongPlan& p, const std::vector<Bar>& verse, const std::vector<Bar>& verseAlt,
                            const std::vector<Bar>& bridge) {
    std::vector<BarSlot> slots;
    slots.push_back({0, Section::Intro, 0, 4, nullptr});
    slots.push_back({4, Section::Intro, 1, 0, nullptr});
    for (char c : p.form) {
        const bool isBridge = c == 'B';
        const std::vector<int>& chords = isBridge ? p.bridge : p.verse;
        const std::vector<Bar>& tune = isBridge ? bridge : c == 'a' ? verseAlt : verse;
        for (std::size_t i = 0; i < chords.size(); ++i)
            slots.push_back({chords[i], isBridge ? Section::Bridge : Section::Verse, int(i), 0, &tune[i]});
    }
    for (std::size_t i = 0; i + 1 < slots.size(); ++i) slots[i].nextDegree = slots[i + 1].degree;
    if (!slots.empty()) slots.back().nextDegree = 0;
    return slots;
}

}  // namespace

Song compose(const SongPlan& p) {
    Rng rng(p.seed);
    const MelodyRange verseRange{-2, 9, 2};
    const MelodyRange bridgeRange{0, 10, 4};
    const std::vector<Bar> verse = composeSection(p.verse, p.beatsPerBar, false, verseRange, rng);
    const std::vector<Bar> verseAlt = varyEnding(verse, p.verse, p.beatsPerBar, verseRange, rng);
    const std::vector<Bar> bridge = composeSection(p.bridge, p.beatsPerBar, true, bridgeRange, rng);

    Parts parts;
    const int barTicks = p.beatsPerBar * kTicksPerQuarter;
    std::vector<int> hands;
    int start = 0;
    for (const BarSlot& slot : layout(p, verse, verseAlt, bridge)) {
        if (slot.tune) playTune(parts.melody, *slot.tune, start, p, slot.degree, rng);
        playChords(parts.chords, slot, start, p, hands, rng);
        playBass(parts.bass, slot, start, p, rng);
        if (p.drums != DrumStyle::None) playDrums(parts.drums, slot, start, p, rng);
        start += barTicks;
    }
    playOutro(parts, start, p, hands);
    start += 2 * barTicks;

    parts.melody.program = p.melodyProgram;
    parts.melody.volume = p.melodyVolume;
    parts.melody.pan = 70;
    parts.melody.reverb = 50;
    parts.chords.program = p.chordProgram;
    parts.chords.volume = p.chordVolume;
    parts.chords.pan = 50;
    parts.chords.reverb = 60;
    parts.chords.chorus = 20;
    parts.bass.program = p.bassProgram;
    parts.bass.volume = p.bassVolume;
    parts.bass.reverb = 20;
    parts.drums.volume = p.drumVolume;

    Song song;
    song.title = p.title;
    song.beatsPerMinute = p.beatsPerMinute;
    song.beatsPerBar = p.beatsPerBar;
    song.keySharps = p.keySharps;
    song.minorKey = p.mode == Mode::Minor;
    song.endTick = start;
    song.tracks = {parts.melody, parts.chords, parts.bass};
    if (p.drums != DrumStyle::None) song.tracks.push_back(parts.drums);
    return song;
}

}  // namespace midigen
