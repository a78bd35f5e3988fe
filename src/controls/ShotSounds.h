// What a shot sounds like. The hits the engine reports as the shot runs
// (a piece on a piece, on an inner wall, on the board's edge) sound as they
// happen, louder for harder hits; a piece sent into its target sounds as
// the board settles, and the judging adds the shooter's own target and a
// win. A kill sounds instead of the contact that made it.
//
// A break of eight pieces reports dozens of hits within a few steps: at
// most kMostSounds start in any kWindowSeconds, the most important and the
// loudest first when several come at once; a win always sounds.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "model/ShotEvent.h"
#include "platform/Platform.h"

namespace capzel {

// Admits sounds so that at most kMostSounds start within any kWindowSeconds.
class SoundLimiter {
public:
    static constexpr int kMostSounds = 3;
    static constexpr double kWindowSeconds = 0.1;

    // True when a sound may start at `now` (seconds on the platform's
    // clock), and counts it. A clock that went back (midnight) starts afresh.
    bool admit(double now);

private:
    std::array<double, kMostSounds> started_{};  // the last admitted, oldest at next_
    int admitted_ = 0;
    int next_ = 0;
};

// The loudness of a hit of `strength` twips per step: 0 (no sound) below
// the faintest that is heard, then up to 127 with the square root of the
// strength, reaching 127 at kHardestHit.
// A break at full strength closes at about 50 to 70 twips per step; a piece
// about to rest moves about one.
inline constexpr float kFaintestHit = 0.5f;
inline constexpr float kHardestHit = 60.0f;
int hitLoudness(float strength);

class ShotSounds {
public:
    explicit ShotSounds(Platform& ui) : ui_(ui) {}

    // A new shot: none of its events heard yet.
    void newShot() { heard_ = 0; }

    // Sounds the events the shot has reported since the last call.
    void hear(const ShotEvents& events);

    // The judging's sounds: the shooter's piece in its next target, a win.
    void judged(bool shooterInTarget, bool won);

private:
    struct Sound {
        SoundEffect effect;
        int loudness;
    };
    // Plays what the limiter admits of sounds that come at once.
    void play(std::vector<Sound> sounds);

    Platform& ui_;
    SoundLimiter limiter_;
    std::size_t heard_ = 0;
};

}  // namespace capzel
