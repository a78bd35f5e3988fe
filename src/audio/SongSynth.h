// One FluidSynth synthesiser with a General MIDI soundfont and the player of
// one song at a time. Whoever pulls audio (the sound card's thread, or a
// loop that renders into memory) calls render(); the user-interface thread
// starts and stops songs. The two meet under one lock, so a song can be
// replaced while the sound card is playing.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include <fluidsynth/types.h>

namespace capzel::ui {

// The General MIDI soundfont of Debian's timgm6mb-soundfont package.
inline constexpr const char* kSoundfontPath = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// Turns off FluidSynth's own messages (and, where ALSA is linked, ALSA's):
// the music never reports anything to the player of the game.
void quietAudioLibraries();

class SongSynth {
public:
    explicit SongSynth(const std::string& soundfont, double sampleRate = 44100.0);
    ~SongSynth();
    SongSynth(const SongSynth&) = delete;
    SongSynth& operator=(const SongSynth&) = delete;

    // False when the soundfont could not be loaded; then nothing sounds.
    bool ready() const { return soundfont_ >= 0; }

    fluid_settings_t* settings() const { return settings_; }

    // Starts the song held in `smf` from its beginning, replacing any other.
    bool start(const std::vector<char>& smf);
    // Stops the song and silences every voice at once.
    void stop();
    // True from start() until the song (with its last notes' tails) is over.
    bool playing() const;
    // The synthesiser's gain (the loudness of everything it plays; the
    // songs are made for kSongGain).
    static constexpr double kSongGain = 0.7;
    void setGain(double gain);
    // One stroke of General MIDI percussion key `key` at `velocity`
    // (1..127) on the percussion channel, beside any song.
    void strike(int key, int velocity);

    // Position of the song in MIDI ticks, and its length (0 before start).
    int currentTick() const;
    int totalTicks() const;

    // Adds `frames` frames of audio to the buffers: the audio driver's
    // callback shape (nfx effect buffers, nout output buffers).
    int render(int frames, int nfx, float* fx[], int nout, float* out[]);

private:
    void dropPlayer();  // with the lock held

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    int soundfont_ = -1;
    mutable std::mutex lock_;
};

}  // namespace capzel::ui
