#include "audio/FluidMusicPlayer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "audio/MidiCheck.h"

namespace capzel::ui {
namespace {

int pullAudio(void* data, int frames, int nfx, float* fx[], int nout, float* out[]) {
    return static_cast<FluidMusicPlayer*>(data)->render(frames, nfx, fx, nout, out);
}

}  // namespace

FluidMusicPlayer::FluidMusicPlayer(std::string soundfont, Output output)
    : soundfont_(std::move(soundfont)), output_(output) {
    poll_.setInterval(kPollMilliseconds);
    QObject::connect(&poll_, &QTimer::timeout, this, [this] { checkState(); });
}

FluidMusicPlayer::~FluidMusicPlayer() {
    poll_.stop();
    // The device goes first: its thread must stop pulling before the
    // synthesiser it pulls from is deleted.
    if (driver_) delete_fluid_audio_driver(driver_);
    effects_.reset();
    synth_.reset();
}

bool FluidMusicPlayer::ensureSynth() {
    if (synth_) return true;
    if (unavailable_) return false;
    auto synth = std::make_unique<SongSynth>(soundfont_);
    if (!synth->ready()) {
        unavailable_ = true;
        return false;
    }
    synth->setGain(musicGain_);
    synth_ = std::move(synth);
    if (output_ == Output::SoundCard) {
        driver_ = new_fluid_audio_driver2(synth_->settings(), &pullAudio, this);
        if (!driver_) {
            synth_.reset();
            unavailable_ = true;
            return false;
        }
    }
    return true;
}

bool FluidMusicPlayer::ensureEffects() {
    if (effects_) return true;
    if (!ensureSynth()) return false;
    auto effects = std::make_unique<SongSynth>(soundfont_);
    if (!effects->ready()) return false;
    effects_ = std::move(effects);
    liveEffects_.store(effects_.get());
    return true;
}

double FluidMusicPlayer::gainAt(double fullGain, int percent) {
    const double share = std::clamp(percent, 0, 100) / 100.0;
    return fullGain * share * share;
}

void FluidMusicPlayer::setVolume(int percent) {
    musicGain_ = gainAt(SongSynth::kSongGain, percent);
    if (synth_) synth_->setGain(musicGain_);
}

void FluidMusicPlayer::strike(int key, int velocity, int volumePercent) {
    if (volumePercent <= 0 || velocity <= 0 || !ensureEffects()) return;
    effects_->setGain(gainAt(kEffectsGain, volumePercent));
    effects_->strike(key, std::min(velocity, 127));
}

int FluidMusicPlayer::render(int frames, int nfx, float* fx[], int nout, float* out[]) {
    // Each synthesiser adds its sound to what the buffers hold.
    const int result = synth_->render(frames, nfx, fx, nout, out);
    if (SongSynth* effects = liveEffects_.load()) effects->render(frames, nfx, fx, nout, out);
    return result;
}

void FluidMusicPlayer::setFile(const std::string& path) {
    halt();
    song_ = readSongFile(path);
    if (!isStandardMidiFile(song_)) {
        song_.clear();
        return;
    }
    play();
}

void FluidMusicPlayer::play() {
    // The song and the device are checked before anything is opened, so a
    // missing song never touches the sound system.
    if (song_.empty() || !ensureSynth() || synth_->playing()) return;
    if (!synth_->start(song_)) return;
    QMetaObject::invokeMethod(this, [this] { checkState(); }, Qt::QueuedConnection);
}

void FluidMusicPlayer::halt() {
    poll_.stop();
    if (synth_) synth_->stop();
    state_ = kStopped;
}

void FluidMusicPlayer::checkState() {
    const int actual = synth_ && synth_->playing() ? kPlaying : kStopped;
    if (actual == kPlaying) {
        if (!poll_.isActive()) poll_.start();
    } else {
        poll_.stop();
    }
    if (actual == state_) return;
    const int previous = std::exchange(state_, actual);
    // The handler may set the next song, or even delete this player: call it
    // last, through a copy.
    const auto notify = onPlayStateChange;
    if (notify) notify(previous, actual);
}

float FluidMusicPlayer::renderManually(int frames) {
    if (!synth_ || output_ != Output::Manual || frames <= 0) return 0;
    std::vector<float> left(std::size_t(frames), 0.0f), right(std::size_t(frames), 0.0f);
    float* out[2] = {left.data(), right.data()};
    render(frames, 0, nullptr, 2, out);
    float peak = 0;
    for (std::size_t i = 0; i < left.size(); ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

std::unique_ptr<MusicPlayer> createMusicPlayer() { return std::make_unique<FluidMusicPlayer>(); }

}  // namespace capzel::ui
