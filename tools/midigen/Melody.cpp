#include "Melody.h"

#include <algorithm>
#include <cstdlib>

namespace midigen {
namespace {

using Pattern = std::vector<int>;  // lengths in eighths; negative = a rest

const std::vector<Pattern>& patterns(int beatsPerBar, bool bridge, bool cadence) {
    static const std::vector<Pattern> four = {{2, 2, 2, 2}, {3, 1, 2, 2}, {2, 1, 1, 2, 2}, {4, 2, 2},
                                              {2, 2, 4},    {1, 1, 2, 2, 2}, {3, 1, 4}, {2, 2, 2, 1, 1}};
    static const std::vector<Pattern> fourBridge = {{4, 4}, {4, 2, 2}, {2, 2, 4}, {6, 2}, {3, 1, 4}, {2, 2, 2, 2}};
    static const std::vector<Pattern> fourCadence = {{2, 2, 4}, {4, 4}, {6, -2}, {3, 1, 4}};
    static const std::vector<Pattern> three = {{2, 2, 2}, {4, 2}, {3, 1, 2}, {2, 1, 1, 2}, {2, 4}};
    static const std::vector<Pattern> threeBridge = {{4, 2}, {6}, {2, 4}, {2, 2, 2}};
    static const std::vector<Pattern> threeCadence = {{6}, {2, 4}, {4, -2}};
    if (beatsPerBar == 3) return cadence ? threeCadence : bridge ? threeBridge : three;
    return cadence ? fourCadence : bridge ? fourBridge : four;
}

// Eighth positions that carry the weight of the bar: beats 1 and 3 in 4/4,
// beat 1 in 3/4.
bool strongPosition(int pos, int beatsPerBar) { return beatsPerBar == 3 ? pos == 0 : pos % 4 == 0; }

int clampTo(int idx, const MelodyRange& r) { return std::clamp(idx, r.low, r.high); }

// The chord note closest to where the line is heading; standing still is
// allowed but a little less welcome than moving.
int chordToneNear(int cur, int aim, int degree, const MelodyRange& r, Rng& rng) {
    int best = cur;
    int bestScore = 1 << 20;
    for (int idx = std::max(r.low, cur - 4); idx <= std::min(r.high, cur + 4); ++idx) {
        if (!isChordTone(idx, degree)) continue;
        const int score = 4 * std::abs(idx - aim) + (idx == cur ? 3 : 0) + rng.below(3);
        if (score < bestScore) {
            bestScore = score;
            best = idx;
        }
    }
    return best;
}

int nearestTonic(int cur, const MelodyRange& r) {
    int best = r.low;
    for (int idx = r.low; idx <= r.high; ++idx)
        if (((idx % 7) + 7) % 7 == 0 && std::abs(idx - cur) < std::abs(best - cur)) best = idx;
    return best;
}

struct LineState {
    int cur = 0;
    int dir = 1;
    int run = 0;  // steps taken in the current direction
};

// One bar of melody over one chord. `target` >= r.low asks the bar's last
// note to land there (the section's final tonic); `endOnChord` asks for a
// note of the chord at the end (the half-way pause).
Bar composeBar(int degree, int beatsPerBar, bool bridge, bool cadence, int target, const MelodyRange& r,
               LineState& s, Rng& rng) {
    const auto& choices = patterns(beatsPerBar, bridge, cadence);
    const Pattern& pattern = choices[std::size_t(rng.below(int(choices.size())))];
    int lastNote = -1;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] > 0) lastNote = int(i);

    Bar bar;
    int pos = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const int len = pattern[i];
        if (len < 0) {
            pos -= len;
            continue;
        }
        int next;
        if (int(i) == lastNote && cadence) {
            next = target >= r.low ? target : chordToneNear(s.cur, s.cur, degree, r, rng);
        } else if (strongPosition(pos, beatsPerBar) || len >= 3) {
            const int aim = cadence && target >= r.low ? (s.cur + target) / 2 : s.cur + s.dir;
            next = chordToneNear(s.cur, aim, degree, r, rng);
        } else {
            if (cadence && target >= r.low && target != s.cur) s.dir = target > s.cur ? 1 : -1;
            const int step = rng.chance(15) ? 2 : rng.chance(12) ? 0 : 1;
            next = s.cur + s.dir * step;
            if (next < r.low || next > r.high) next = s.cur - s.dir * step;
        }
        next = clampTo(next, r);
        const int moved = next - s.cur;
        if (moved != 0) {
            const int d = moved > 0 ? 1 : -1;
            s.run = d == s.dir ? s.run + 1 : 1;
            s.dir = d;
            // After a leap or a long run, turn back.
            if (std::abs(moved) >= 3 || s.run >= 3 + rng.below(2)) {
                s.dir = -s.dir;
                s.run = 0;
            }
        }
        s.cur = next;
        bar.push_back({pos, len, next});
        pos += len;
    }
    return bar;
}

// The opening two bars again over the bars starting at `first`, moved so
// that they sit on the new chords.
void echoMotif(std::vector<Bar>& bars, int first, const std::vector<int>& chords, const MelodyRange& r,
               int beatsPerBar) {
    if (bars[0].empty()) return;
    const int from = bars[0].front().idx;
    int shift = 0;
    for (int d : {0, -1, 1, -2, 2, -3, 3})
        if (isChordTone(from + d, chords[std::size_t(first)])) {
            shift = d;
            break;
        }
    for (int k = 0; k < 2; ++k) {
        Bar copy = bars[std::size_t(k)];
        const int degree = chords[std::size_t(first + k)];
        for (Tone& t : copy) {
            t.idx = clampTo(t.idx + shift, r);
            if (strongPosition(t.start, beatsPerBar) && !isChordTone(t.idx, degree))
                t.idx = clampTo(t.idx + (isChordTone(t.idx + 1, degree) ? 1 : -1), r);
        }
        bars[std::size_t(first + k)] = copy;
    }
}

void composeRange(std::vector<Bar>& bars, std::size_t from, const std::vector<int>& chords, int beatsPerBar,
                  bool bridge, const MelodyRange& r, LineState& s, Rng& rng) {
    const std::size_t n = chords.size();
    for (std::size_t b = from; b < n; ++b) {
        const bool sectionEnd = b + 1 == n;
        const bool halfway = (b + 1) % 4 == 0 && !sectionEnd;
        // A section ends on the tonic when its last chord holds it; a section
        // that ends on another chord (the bridge, leading back) ends on a
        // note of that chord instead.
        const int target = sectionEnd && isChordTone(0, chords[b]) ? nearestTonic(s.cur, r) : r.low - 1;
        bars[b] = composeBar(chords[b], beatsPerBar, bridge, sectionEnd || halfway, target, r, s, rng);
    }
}

}  // namespace

std::vector<Bar> composeSection(const std::vector<int>& chords, int beatsPerBar, bool bridge,
                                const MelodyRange& range, Rng& rng) {
    std::vector<Bar> bars(chords.size());
    LineState s;
    s.cur = chordToneNear(range.start, range.start, chords[0], range, rng);
    s.dir = rng.chance(50) ? 1 : -1;
    composeRange(bars, 0, chords, beatsPerBar, bridge, range, s, rng);
    if (chords.size() >= 8) {
        echoMotif(bars, 4, chords, range, beatsPerBar);
        // Carry on from where the echoed motif stops.
        s.cur = bars[5].empty() ? s.cur : bars[5].back().idx;
        std::vector<int> rest(chords.begin(), chords.end());
        composeRange(bars, 6, rest, beatsPerBar, bridge, range, s, rng);
    }
    return bars;
}

std::vector<Bar> varyEnding(const std::vector<Bar>& section, const std::vector<int>& chords, int beatsPerBar,
                            const MelodyRange& range, Rng& rng) {
    std::vector<Bar> bars = section;
    if (bars.size() < 3) return bars;
    const std::size_t from = bars.size() - 2;
    LineState s;
    s.cur = bars[from - 1].empty() ? range.start : bars[from - 1].back().idx;
    s.dir = -1;
    composeRange(bars, from, chords, beatsPerBar, false, range, s, rng);
    return bars;
}

}  // namespace midigen
