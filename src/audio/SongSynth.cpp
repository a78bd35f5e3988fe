#include "audio/SongSynth.h"

#include <fluidsynth.h>

#include <filesystem>

#ifdef CAPZEL_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace capzel::ui {
namespace {

#ifdef CAPZEL_HAVE_ALSA
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

}  // namespace

void quietAudioLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
#ifdef CAPZEL_HAVE_ALSA
        snd_lib_error_set_handler(&ignoreAlsaError);
#endif
    });
}

SongSynth::SongSynth(const std::string& soundfont, double sampleRate) {
    quietAudioLibraries();
    settings_ = new_fluid_settings();
    if (!settings_) return;
    fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
    // Background music: our songs average about -27 dBFS with peaks near
    // -10 dBFS, so they sit under the game and never clip.
    fluid_settings_setnum(settings_, "synth.gain", kSongGain);
    // The song's clock is the audio itself: whoever renders drives the song.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    synth_ = new_fluid_synth(settings_);
    std::error_code ec;
    if (synth_ && !soundfont.empty() && std::filesystem::is_regular_file(soundfont, ec))
        soundfont_ = fluid_synth_sfload(synth_, soundfont.c_str(), 1);
}

SongSynth::~SongSynth() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        dropPlayer();
    }
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

void SongSynth::dropPlayer() {
    if (!player_) return;
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
}

bool SongSynth::start(const std::vector<char>& smf) {
    if (!ready() || smf.empty()) return false;
    std::lock_guard<std::mutex> guard(lock_);
    dropPlayer();
    fluid_synth_system_reset(synth_);
    player_ = new_fluid_player(synth_);
    if (!player_) return false;
    if (fluid_player_add_mem(player_, smf.data(), smf.size()) != FLUID_OK || fluid_player_play(player_) != FLUID_OK) {
        dropPlayer();
        return false;
    }
    return true;
}

void SongSynth::stop() {
    std::lock_guard<std::mutex> guard(lock_);
    dropPlayer();
    if (synth_) fluid_synth_system_reset(synth_);
}

void SongSynth::setGain(double gain) {
    std::lock_guard<std::mutex> guard(lock_);
    if (synth_) fluid_synth_set_gain(synth_, float(gain));
}

void SongSynth::strike(int key, int velocity) {
    constexpr int kPercussionChannel = 9;
    std::lock_guard<std::mutex> guard(lock_);
    if (ready()) fluid_synth_noteon(synth_, kPercussionChannel, key, velocity);
}

bool SongSynth::playing() const {
    std::lock_guard<std::mutex> guard(lock_);
    return player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

int SongSynth::currentTick() const {
    std::lock_guard<std::mutex> guard(lock_);
    return player_ ? fluid_player_get_current_tick(player_) : 0;
}

int SongSynth::totalTicks() const {
    std::lock_guard<std::mutex> guard(lock_);
    return player_ ? fluid_player_get_total_ticks(player_) : 0;
}

int SongSynth::render(int frames, int nfx, float* fx[], int nout, float* out[]) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!synth_) return FLUID_OK;
    // Drivers that offer no effect buffers get reverb and chorus mixed into
    // the dry outputs.
    if (!fx || nfx == 0) return fluid_synth_process(synth_, frames, nout, out, nout, out);
    return fluid_synth_process(synth_, frames, nfx, fx, nout, out);
}

}  // namespace capzel::ui
