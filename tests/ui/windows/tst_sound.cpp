// The sound settings in the main window, heard on the real synthesiser
// rendered into memory: each change applies at once to the music and the
// effects, and a shot on the field sounds only with the effects on.
#include <QtTest>

#include "support/QtTestMain.h"
#include "support/WindowFixture.h"
#include "ui/audio/FluidMusicPlayer.h"
#include "ui/audio/SongSynth.h"

using capzel::ui::FluidMusicPlayer;

namespace {

// One track: middle C for a quarter of a second.
QByteArray oneNoteSong() {
    const QByteArray track("\x00\x90\x3C\x64\x83\x60\x80\x3C\x40\x00\xFF\x2F\x00", 13);
    return QByteArray("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0", 21) + char(track.size()) + track;
}

// A peak above -80 dBFS; a synthesiser at gain 0 still leaves a trace of
// about -150 dBFS.
bool heard(float peak) { return peak > 1e-4f; }

}  // namespace

class SoundTest : public QObject {
    Q_OBJECT

    capzel::test::WindowFixture f;

    // A fresh player for the window, rendering on demand.
    FluidMusicPlayer* usePlayer() {
        auto player = std::make_unique<FluidMusicPlayer>(capzel::ui::kSoundfontPath, FluidMusicPlayer::Output::Manual);
        FluidMusicPlayer* kept = player.get();
        f.window().setMusicPlayer(std::move(player));
        return kept;
    }

private slots:
    void initTestCase() { capzel::test::quietOffscreenNotices(); }
    void init() { QVERIFY(f.open()); }
    void cleanup() {
        f.app->setSettings(capzel::ui::PlayerSettings());
        f.close();
    }

    void settingsApplyAtOnceAndShotsSound() {
        QVERIFY2(QFile::exists(capzel::ui::kSoundfontPath), "the timgm6mb-soundfont package is needed");
        QTemporaryDir dir;
        const QString song = dir.filePath("1.mid");
        QFile file(song);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(oneNoteSong()) > 0);
        file.close();

        struct Case { bool effects; int effectsVolume; bool muted; int musicVolume; bool effectHeard, musicHeard; };
        for (const Case& c : {Case{false, 80, false, 100, false, true}, Case{true, 80, true, 100, true, false},
                              Case{true, 0, false, 0, false, false}, Case{true, 100, false, 50, true, true}}) {
            const QByteArray row = QByteArray::number(c.effects) + " " + QByteArray::number(c.effectsVolume) + " " +
                                   QByteArray::number(c.muted) + " " + QByteArray::number(c.musicVolume);
            FluidMusicPlayer* player = usePlayer();
            capzel::ui::PlayerSettings s;
            s.soundEffects = c.effects;
            s.effectsVolume = c.effectsVolume;
            s.musicMuted = c.muted;
            s.musicVolume = c.musicVolume;
            f.app->setSettings(s);
            f.platform().playSound(capzel::SoundEffect::Kill, 127);
            QVERIFY2(heard(player->renderManually(8820)) == c.effectHeard, row);
            // A player of its own for the song, so that no tail of the crash
            // is heard in it.
            player = usePlayer();
            player->setFile(song.toStdString());
            QVERIFY2(heard(player->renderManually(8820)) == c.musicHeard, row);
        }

        // A full-strength shot bounces off the field's edges.
        for (const bool on : {false, true}) {
            FluidMusicPlayer* player = usePlayer();
            capzel::ui::PlayerSettings s;
            s.soundEffects = on;
            f.app->setSettings(s);
            f.play();
            capzel::test::aim(f.window());
            QVERIFY(capzel::test::shoot(f.window(), 9000));
            QCOMPARE(heard(player->renderManually(22050)), on);
        }
    }
};

CAPZEL_QT_TEST(SoundTest)
#include "tst_sound.moc"
