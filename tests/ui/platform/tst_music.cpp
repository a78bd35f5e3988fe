// The background music: rotation, folder, song check, the real player, our songs, the sound settings.
#include "support/QtTestMain.h"
#include "audio/FluidMusicPlayer.h"
#include "audio/MidiCheck.h"
#include "audio/Songs.h"
#include "audio/SongSynth.h"

using namespace capzel::ui;

namespace {

constexpr int kPlaying = MusicPlayer::kPlaying;
constexpr int kStopped = MusicPlayer::kStopped;
using Change = std::pair<int, int>;
using Changes = std::vector<Change>;

class ScriptedPlayer : public MusicPlayer {  // records what the rotation asks of its player
public:
    void setFile(const std::string& path) override { calls.push_back("setFile " + path); }
    void play() override { calls.push_back("play"); }
    void halt() override { calls.push_back("halt"); }
    std::vector<std::string> calls;
};

QByteArray oneNoteSong() {  // one track: middle C for a quarter of a second
    const QByteArray track("\x00\x90\x3C\x64\x83\x60\x80\x3C\x40\x00\xFF\x2F\x00", 13);
    return QByteArray("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0", 21) + char(track.size()) + track;
}

bool heard(float peak) { return peak > 1e-4f; }  // above -80 dBFS: a synthesiser at gain 0 leaves about -150

std::string str(const QString& s) { return s.toStdString(); }

}  // namespace

class MusicTest : public capzel::test::UiTest {
    Q_OBJECT

private slots:
    // Each song end (or "Next Song") halts, sets the next file, plays: round the folder, the same on loop, on past an empty folder.
    void rotation() {
        struct Case { int count, number; bool loop; std::vector<int> played; };
        for (const Case& c : {Case{3, 1, false, {2, 3, 1, 2}}, Case{3, 2, true, {2, 2}}, Case{1, 1, false, {1, 1}},
                              Case{0, 1, false, {2, 3}}}) {
            capzel::MenuState g;
            g.songCount = c.count, g.songNumber = c.number;
            ScriptedPlayer player;
            const std::string folder = "/games/capzel/media/";
            for (int expected : c.played) {
                player.calls.clear();
                capzel::ui::songEnded(g, c.loop, player, folder, kPlaying, kStopped);
                QCOMPARE(g.songNumber, expected);
                QCOMPARE(player.calls, (std::vector<std::string>{"halt", "setFile " + folder + std::to_string(expected) + ".mid", "play"}));
            }
            QCOMPARE(g.songCount, c.count);
        }
    }

    // Songs counted by exact spelling; the folder beside the program, else the share folder.
    void musicFolderAndItsSongs() {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath("prefix/bin") && dir.mkpath("prefix/share/capzel/media/folder.mid"));
        for (const char* name : {"1.mid", "intro.mid", "notes.txt", "1.midi", "2.MID"})
            QVERIFY(capzel::test::writeBytes(dir.filePath(QStringLiteral("prefix/share/capzel/media/") + name), {}));
        const std::string bin = str(dir.filePath("prefix/bin"));
        QCOMPARE(musicFolderOf(bin), str(dir.filePath("prefix/share/capzel/media/")));
        QVERIFY(countSongs(musicFolderOf(bin)) == 2 && countSongs(str(dir.filePath("prefix/share/capzel/media"))) == 2);
        QVERIFY(dir.mkpath("prefix/bin/media"));
        QCOMPARE(capzel::ui::musicFolderOf(bin), str(dir.filePath("prefix/bin/media/")));
        const std::string none = capzel::ui::musicFolderOf(str(dir.filePath("none")));
        QCOMPARE(none, str(dir.filePath("none/media/")));
        QVERIFY(capzel::ui::countSongs(none) == 0 && capzel::ui::countSongs("") == 0);
        QCOMPARE(QString::fromStdString(capzel::ui::musicFolder()), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/media") + "/");
    }

    // A song passes; empty, bad magic, short header, no division, unknown format, overlong track, no track, cut-off chunk do not.
    void midiCheck() {
        const QByteArray good = oneNoteSong();
        auto with = [&](std::initializer_list<std::pair<int, int>> changes) {
            QByteArray b = good;
            for (auto [at, value] : changes) b[at] = char(value);
            return b;
        };
        auto valid = [](const QByteArray& b) { return capzel::ui::isStandardMidiFile(std::vector<char>(b.begin(), b.end())); };
        QVERIFY(valid(good));
        for (const QByteArray& bad : {QByteArray(), with({{0, 'X'}}), with({{7, 5}}), with({{12, 0}, {13, 0}}), with({{9, 3}}),
                                      with({{21, good[21] + 1}}), with({{14, 'X'}}), good + "MTr"})
            QVERIFY2(!valid(bad), bad.toHex().constData());
    }

    // The real player pulled by hand: song 1 plays, ends, starts again, told from the event loop; without soundfont or song, silence.
    void realPlayer() {
        struct Case { std::string soundfont; bool soundCard; QByteArray song; bool plays; };
        for (const auto& [soundfont, soundCard, song, plays] :
             {Case{capzel::ui::kSoundfontPath, false, oneNoteSong(), true}, Case{"/nonexistent/capzel.sf2", true, oneNoteSong(), false},
              Case{capzel::ui::kSoundfontPath, false, QByteArray("MThd?"), false}}) {
            const Changes changes = plays ? Changes{{kStopped, kPlaying}, {kPlaying, kStopped}, {kStopped, kPlaying}} : Changes{};
            QTemporaryDir dir;
            QVERIFY(capzel::test::writeBytes(dir.filePath("1.mid"), song));
            const std::string folder = str(dir.path()) + "/";
            capzel::MenuState g;
            g.songCount = capzel::ui::countSongs(folder), g.songNumber = 1;
            FluidMusicPlayer player(soundfont, soundCard ? FluidMusicPlayer::Output::SoundCard : FluidMusicPlayer::Output::Manual);
            Changes seen;
            player.onPlayStateChange = [&](int previous, int current) {
                seen.emplace_back(previous, current);
                capzel::ui::songEnded(g, false, player, folder, previous, current);
            };
            player.setFile(capzel::ui::songPath(folder, 1));
            QVERIFY(seen.empty());  // announced from the event loop, not from inside setFile
            QCoreApplication::processEvents();
            for (int block = 0; block < 200 && seen.size() < 2; ++block) {  // at most 20 s of audio
                player.renderManually(4410);
                player.checkState();
            }
            QCoreApplication::processEvents();
            QCOMPARE(seen, changes);
            QVERIFY(player.state() == (changes.empty() ? kStopped : kPlaying) && g.songNumber == 1);
        }
    }

    // Song 2 of ours rendered into memory: it ends within 45-95 s, audible and never clipped.
    void ourSongsSound() {
        QVERIFY2(QFile::exists(capzel::ui::kSoundfontPath), "the timgm6mb-soundfont package is needed");
        constexpr int kRate = 44100, kBlock = 512;
        capzel::ui::SongSynth synth(capzel::ui::kSoundfontPath, kRate);
        QVERIFY(synth.ready() && synth.start(capzel::ui::readSongFile(CAPZEL_BIN_DIR "/media/2.mid")));
        std::vector<float> left(kBlock), right(kBlock);
        float* out[2] = {left.data(), right.data()};
        long frames = 0;
        float peak = 0;
        for (; synth.playing() && frames < 150L * kRate; frames += kBlock) {
            std::fill(left.begin(), left.end(), 0.0f), std::fill(right.begin(), right.end(), 0.0f);
            synth.render(kBlock, 0, nullptr, 2, out);
            for (int i = 0; i < kBlock; ++i) peak = std::max({peak, std::fabs(left[std::size_t(i)]), std::fabs(right[std::size_t(i)])});
        }
        QVERIFY2(frames >= 45L * kRate && frames <= 95L * kRate, qPrintable(QString::number(frames)));
        QVERIFY2(peak > 0.05f && peak < 1.0f, qPrintable(QString::number(peak)));
    }

    // Sound settings apply at once to music and effects; a shot on the field sounds only with the effects on.
    void settingsApplyAtOnceAndShotsSound() {
        capzel::test::WindowFixture f;
        QVERIFY(f.open());
        const auto usePlayer = [&f] {  // a fresh player for the window, rendering on demand
            auto player = std::make_unique<FluidMusicPlayer>(capzel::ui::kSoundfontPath, FluidMusicPlayer::Output::Manual);
            FluidMusicPlayer* kept = player.get();
            f.window().setMusicPlayer(std::move(player));
            return kept;
        };
        QVERIFY2(QFile::exists(capzel::ui::kSoundfontPath), "the timgm6mb-soundfont package is needed");
        QTemporaryDir dir;
        const QString song = dir.filePath("1.mid");
        QVERIFY(capzel::test::writeBytes(song, oneNoteSong()));

        struct Case { bool effects; int effectsVolume; bool muted; int musicVolume; bool effectHeard, musicHeard; };
        const Case cases[] = {{false, 80, false, 100, false, true}, {true, 80, true, 100, true, false}, {true, 0, false, 0, false, false},
                              {true, 100, false, 50, true, true}};
        for (const Case& c : cases) {
            const QByteArray row = "row " + QByteArray::number(&c - cases);
            FluidMusicPlayer* player = usePlayer();
            capzel::ui::PlayerSettings s;
            s.soundEffects = c.effects, s.effectsVolume = c.effectsVolume, s.musicMuted = c.muted, s.musicVolume = c.musicVolume;
            f.app->setSettings(s);
            f.platform().playSound(capzel::SoundEffect::Kill, 127);
            QVERIFY2(heard(player->renderManually(8820)) == c.effectHeard, row);
            player = usePlayer();  // a player of its own for the song: no tail of the crash in it
            player->setFile(song.toStdString());
            QVERIFY2(heard(player->renderManually(8820)) == c.musicHeard, row);
        }

        for (const bool on : {false, true}) {  // a full-strength shot bounces off the field's edges
            FluidMusicPlayer* player = usePlayer();
            capzel::ui::PlayerSettings s;
            s.soundEffects = on;
            f.app->setSettings(s);
            f.play();
            capzel::test::aim(f.window());
            QVERIFY(capzel::test::shoot(f.window(), 9000));
            QCOMPARE(heard(player->renderManually(22050)), on);
        }
        f.app->setSettings(capzel::ui::PlayerSettings());
        f.close();
    }
};

CAPZEL_QT_TEST(MusicTest)
#include "tst_music.moc"
