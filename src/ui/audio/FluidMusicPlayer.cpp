#include "ui/audio/FluidMusicPlayer.h"

#include <fluidsynth.h>

#include <utility>

#include "ui/audio/MidiCheck.h"

namespace capzel::ui {
namespace {

int pullAudio(void* data, int frames, int nfx, float* fx[], int nout, float* out[]) {
    return static_cast<SongSynth*>(data)->render(frames, nfx, fx, nout, out);
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
    if (output_ == Output::SoundCard) {
        driver_ = new_fluid_audio_driver2(synth->settings(), &pullAudio, synth.get());
        if (!driver_) {
            unavailable_ = true;
            return false;
        }
    }
    synth_ = std::move(synth);
    return true;
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

void FluidMusicPlayer::renderManually(int frames) {
    if (!synth_ || output_ != Output::Manual || frames <= 0) return;
    std::vector<float> left(std::size_t(frames), 0.0f), right(std::size_t(frames), 0.0f);
    float* out[2] = {left.data(), right.data()};
    synth_->render(frames, 0, nullptr, 2, out);
}

std::unique_ptr<MusicPlayer> createMusicPlayer() { return std::make_unique<FluidMusicPlayer>(); }

}  // namespace capzel::ui
