// The background music player on FluidSynth. setFile() reads and checks the
// song and starts it; the sound card's thread pulls the audio. The player's
// state is watched from the user-interface thread (a timer that runs only
// while a song plays) and every change is announced there, never from the
// audio thread.
//
// The sound effects have a synthesiser of their own beside the songs', so
// that each has its own volume; the sound card pulls both. It is made at
// the first effect.
//
// Without a sound device or without the soundfont the player stays silent
// and stopped. A song that cannot be read, or is not a MIDI file, is never
// started: the player simply stays stopped, so a rotation over missing
// files comes to rest instead of racing through them.
#pragma once

#include <QObject>
#include <QTimer>

#include <fluidsynth/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "audio/MusicPlayer.h"
#include "audio/SongSynth.h"

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

    // The gain of full volume, and the gain at `percent` of it: the square
    // of the share, which the ear hears as an even step.
    static constexpr double kEffectsGain = 0.6;
    static double gainAt(double fullGain, int percent);

    void setVolume(int percent) override;
    void strike(int key, int velocity, int volumePercent) override;

    // Manual output only: renders `frames` frames, as a sound card would,
    // and gives the largest amplitude of both channels.
    float renderManually(int frames);

    // The music and the effects together, as the sound card pulls them.
    int render(int frames, int nfx, float* fx[], int nout, float* out[]);

private:
    bool ensureSynth();
    bool ensureEffects();

    std::string soundfont_;
    Output output_;
    std::unique_ptr<SongSynth> synth_;
    std::unique_ptr<SongSynth> effects_;
    // The effects' synthesiser as the sound card's thread sees it: set once
    // it is ready, after which it never changes while the card plays.
    std::atomic<SongSynth*> liveEffects_{nullptr};
    double musicGain_ = SongSynth::kSongGain;
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
