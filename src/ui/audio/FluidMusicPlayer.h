// The background music player on FluidSynth. setFile() reads and checks the
// song and starts it; the sound card's thread pulls the audio. The player's
// state is watched from the user-interface thread (a timer that runs only
// while a song plays) and every change is announced there, never from the
// audio thread.
//
// Without a sound device or without the soundfont the player stays silent
// and stopped. A song that cannot be read, or is not a MIDI file, is never
// started: the player simply stays stopped, so a rotation over missing
// files comes to rest instead of racing through them.
#pragma once

#include <QObject>
#include <QTimer>

#include <fluidsynth/types.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/audio/MusicPlayer.h"
#include "ui/audio/SongSynth.h"

namespace capzel::ui {

class FluidMusicPlayer final : public QObject, public MusicPlayer {
public:
    // SoundCard plays through the system's default audio output. Manual
    // opens no device: the owner pulls the audio with renderManually().
    enum class Output { SoundCard, Manual };

    static constexpr int kPollMilliseconds = 250;

    explicit FluidMusicPlayer(std::string soundfont = kSoundfontPath, Output output = Output::SoundCard);
    ~FluidMusicPlayer() override;

    void setFile(const std::string& path) override;
    void play() override;
    // Stops at once. A halt is the owner's own act: it is not announced, so
    // that it can never be taken for the end of a song.
    void halt() override;

    // The state last announced: kPlaying or kStopped.
    int state() const { return state_; }

    // Compares the song's real state with the announced one and announces a
    // change; the timer calls it while a song plays.
    void checkState();

    // Manual output only: renders `frames` frames, as a sound card would.
    void renderManually(int frames);

private:
    bool ensureSynth();

    std::string soundfont_;
    Output output_;
    std::unique_ptr<SongSynth> synth_;
    fluid_audio_driver_t* driver_ = nullptr;
    bool unavailable_ = false;   // no soundfont or no sound device: silence
    std::vector<char> song_;
    int state_ = kStopped;
    QTimer poll_;
};

// The real player, built on FluidSynth with a General MIDI soundfont. With
// no sound device or no soundfont it stays silent and never fails.
std::unique_ptr<MusicPlayer> createMusicPlayer();

}  // namespace capzel::ui
