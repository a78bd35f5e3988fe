#include "support/SongRender.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/MidiCheck.h"
#include "ui/SongSynth.h"

namespace capzel::test {

using namespace capzel::ui;

SongRendering renderSong(const std::string& midiPath, const std::string& soundfont, double maxSeconds) {
    constexpr double kRate = 44100.0;
    constexpr int kBlock = 512;

    SongRendering r;
    const std::vector<char> bytes = readSongFile(midiPath);
    r.readable = isStandardMidiFile(bytes);
    if (!r.readable) return r;

    SongSynth synth(soundfont, kRate);
    if (!synth.ready() || !synth.start(bytes)) return r;

    std::vector<float> left(kBlock), right(kBlock);
    float* out[2] = {left.data(), right.data()};
    const long limit = long(maxSeconds * kRate);
    long frames = 0;
    double sumSquares = 0.0;
    while (frames < limit) {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        synth.render(kBlock, 0, nullptr, 2, out);
        for (int i = 0; i < kBlock; ++i) {
            const double l = left[std::size_t(i)], rr = right[std::size_t(i)];
            sumSquares += l * l + rr * rr;
            r.peak = std::max({r.peak, std::fabs(l), std::fabs(rr)});
        }
        frames += kBlock;
        if (!r.started && synth.currentTick() > 0) {
            r.started = true;
            r.totalTicks = synth.totalTicks();
        }
        if (!synth.playing()) {
            r.finished = true;
            break;
        }
    }
    r.seconds = double(frames) / kRate;
    r.rms = frames > 0 ? std::sqrt(sumSquares / (2.0 * double(frames))) : 0.0;
    return r;
}

}  // namespace capzel::test
