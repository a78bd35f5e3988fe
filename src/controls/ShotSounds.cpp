#include "controls/ShotSounds.h"

#include <algorithm>
#include <cmath>

namespace capzel {

namespace {

// A piece sent into its target and a kill are what the shot achieved:
// they go before the hits when not all can sound.
int rank(SoundEffect effect) {
    switch (effect) {
    case SoundEffect::Kill:
        return 2;
    case SoundEffect::Target:
        return 1;
    default:
        return 0;
    }
}

constexpr int kTargetLoudness = 100;
constexpr int kKillLoudness = 127;
constexpr int kWinLoudness = 127;

}  // namespace

bool SoundLimiter::admit(double now) {
    if (admitted_ == kMostSounds) {
        const double oldest = started_[std::size_t(next_)];
        if (now >= oldest && now - oldest < kWindowSeconds) return false;
    } else {
        ++admitted_;
    }
    started_[std::size_t(next_)] = now;
    next_ = (next_ + 1) % kMostSounds;
    return true;
}

int hitLoudness(float strength) {
    if (!(strength >= kFaintestHit)) return 0;
    const double share = std::min(double(strength), double(kHardestHit)) / double(kHardestHit);
    return int(std::lround(127 * std::sqrt(share)));
}

void ShotSounds::hear(const ShotEvents& events) {
    std::vector<Sound> sounds;
    for (std::size_t k = heard_; k < events.size(); ++k) {
        const ShotEvent& e = events[k];
        switch (e.kind) {
        case ShotEventKind::Contact: {
            // The kill that comes with a contact sounds instead of it.
            const bool killed = k + 1 < events.size() && events[k + 1].kind == ShotEventKind::Kill;
            if (const int loud = hitLoudness(e.strength); loud > 0 && !killed) sounds.push_back({SoundEffect::PieceHit, loud});
            break;
        }
        case ShotEventKind::WallBounce:
            if (const int loud = hitLoudness(e.strength); loud > 0) sounds.push_back({SoundEffect::WallHit, loud});
            break;
        case ShotEventKind::EdgeBounce:
            if (const int loud = hitLoudness(e.strength); loud > 0) sounds.push_back({SoundEffect::EdgeHit, loud});
            break;
        case ShotEventKind::Kill:
            sounds.push_back({SoundEffect::Kill, kKillLoudness});
            break;
        case ShotEventKind::SentToTarget:
            sounds.push_back({SoundEffect::Target, kTargetLoudness});
            break;
        case ShotEventKind::SentToHolder:
            break;  // its kill has sounded
        }
    }
    heard_ = events.size();
    play(std::move(sounds));
}

void ShotSounds::judged(bool inTarget, bool won) {
    if (inTarget) play({{SoundEffect::Target, kTargetLoudness}});
    if (won) ui_.playSound(SoundEffect::Win, kWinLoudness);
}

void ShotSounds::play(std::vector<Sound> sounds) {
    if (sounds.empty()) return;
    std::stable_sort(sounds.begin(), sounds.end(), [](const Sound& a, const Sound& b) {
        if (rank(a.effect) != rank(b.effect)) return rank(a.effect) > rank(b.effect);
        return a.loudness > b.loudness;
    });
    const double now = ui_.clock();
    for (const Sound& s : sounds) {
        if (!limiter_.admit(now)) break;
        ui_.playSound(s.effect, s.loudness);
    }
}

}  // namespace capzel
