// The sound settings in the main window: applied at once to the music and
// the effects, and a shot on the field heard through the window's player.
#include <QtTest>

#include <tuple>

#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/audio/MusicPlayer.h"

namespace {

using Strike = std::tuple<int, int, int>;  // key, velocity, volume

// Records what the window asks of its music and effects.
class RecordingPlayer : public capzel::ui::MusicPlayer {
public:
    void setFile(const std::string&) override {}
    void play() override {}
    void halt() override {}
    void setVolume(int percent) override { volumes.push_back(percent); }
    void strike(int key, int velocity, int volume) override { strikes.emplace_back(key, velocity, volume); }
    std::vector<int> volumes;
    std::vector<Strike> strikes;
};

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;
    RecordingPlayer* player = nullptr;

    void useRecorder() {
        auto recorder = std::make_unique<RecordingPlayer>();
        player = recorder.get();
        f.window().setMusicPlayer(std::move(recorder));
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() {
        QVERIFY(f.open());
        useRecorder();
    }
    void cleanup() {
        f.app->setSettings(capzel::ui::PlayerSettings());
        f.close();
    }

    // Each change reaches the player at once: the music's volume (0 when
    // muted), and a kill's crash only while effects are on, at their volume.
    void settingsApplyAtOnce() {
        struct Case { bool effects; int effectsVolume, musicVolume; bool muted; int heardVolume; std::vector<Strike> kill; };
        for (const Case& c : {Case{true, 60, 100, false, 100, {{49, 127, 60}}}, Case{false, 60, 40, false, 40, {}},
                              Case{true, 0, 70, true, 0, {}}, Case{true, 100, 0, false, 0, {{49, 127, 100}}}}) {
            capzel::ui::PlayerSettings s;
            s.soundEffects = c.effects;
            s.effectsVolume = c.effectsVolume;
            s.musicVolume = c.musicVolume;
            s.musicMuted = c.muted;
            f.app->setSettings(s);
            QCOMPARE(player->volumes.back(), c.heardVolume);
            player->strikes.clear();
            f.platform().playSound(capzel::SoundEffect::Kill, 127);
            QCOMPARE(player->strikes, c.kill);
        }
    }

    // A full-strength shot bounces off the field's edges: heard with effects
    // on, silent with the classic settings.
    void shotIsHeardOnlyWithEffectsOn() {
        for (const bool on : {false, true}) {
            capzel::ui::PlayerSettings s;
            s.soundEffects = on;
            f.app->setSettings(s);
            player->strikes.clear();
            f.play();
            capzel::test::aim(f.window());
            QVERIFY(capzel::test::shoot(f.window(), 9000));
            QCOMPARE(player->strikes.empty(), !on);
            for (const auto& [key, velocity, volume] : player->strikes) {
                QVERIFY(velocity >= 1 && velocity <= 127);
                QCOMPARE(volume, s.effectsVolume);
            }
        }
    }
};

CAPZEL_QT_TEST(SoundTest)
#include "tst_sound.moc"
