// The background music: the rotation from song to song (with a scripted
// player), the music folder and its count, the check of song files, the real
// FluidSynth player driven without a sound device, and our own songs
// rendered into memory to prove that they really sound.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/GameState.h"
#include "support/QtTestMain.h"
#include "ui/FluidMusicPlayer.h"
#include "ui/MidiCheck.h"
#include "ui/MusicPlayer.h"
#include "ui/Songs.h"
#include "ui/SongSynth.h"

using capzel::GameState;
using capzel::ui::FluidMusicPlayer;
using capzel::ui::MusicPlayer;

namespace {

constexpr int kPlaying = MusicPlayer::kPlaying;
constexpr int kStopped = MusicPlayer::kStopped;

// Records what the rotation asks of its player.
class ScriptedPlayer : public MusicPlayer {
public:
    void setFile(const std::string& path) override { calls.push_back("setFile " + path); }
    void play() override { calls.push_back("play"); }
    void halt() override { calls.push_back("halt"); }
    std::vector<std::string> calls;
};

using Bytes = std::vector<std::uint8_t>;

// A format-0 file with one track holding `events` (end of track appended).
Bytes midiFile(const Bytes& events) {
    const Bytes header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
    const Bytes endOfTrack = {0x00, 0xFF, 0x2F, 0x00};
    const auto n = std::uint32_t(events.size() + endOfTrack.size());
    Bytes file = header;
    for (std::uint8_t b : {std::uint8_t('M'), std::uint8_t('T'), std::uint8_t('r'), std::uint8_t('k'),
                           std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)})
        file.push_back(b);
    for (const Bytes* part : {&events, &endOfTrack}) file.insert(file.end(), part->begin(), part->end());
    return file;
}

// Middle C for a quarter note at 120 beats per minute (a quarter of a second).
Bytes oneNoteSong() { return midiFile({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 64}); }

// Half a second without a single note: safe to play on a real sound card.
Bytes silentSong() { return midiFile({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x83, 0x60, 0xB0, 7, 100}); }

void writeFile(const QString& path, const Bytes& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

std::string str(const QString& s) { return s.toStdString(); }

using Change = std::pair<int, int>;

// The real player without a sound device, recording every change it
// announces and passing it to the song-end handler.
struct RecordedPlayer {
    FluidMusicPlayer player{capzel::ui::kSoundfontPath, FluidMusicPlayer::Output::Manual};
    std::vector<Change> changes;

    RecordedPlayer(GameState& g, const std::string& folder) {
        player.onPlayStateChange = [this, &g, folder](int previous, int current) {
            changes.emplace_back(previous, current);
            capzel::ui::songEnded(g, false, player, folder, previous, current);
        };
    }
};


// One song played into memory at 44100 frames a second instead of a sound
// card, until it ends or `maxSeconds` of audio were made: how long it ran
// (0 when it never started) and how loud it was over both channels.
struct Rendering {
    bool finished = false;
    double seconds = 0, rms = 0, peak = 0;
};
Rendering renderSong(const std::string& path, double maxSeconds) {
    constexpr int kRate = 44100, kBlock = 512;
    Rendering r;
    capzel::ui::SongSynth synth(capzel::ui::kSoundfontPath, kRate);
    if (!synth.ready() || !synth.start(capzel::ui::readSongFile(path))) return r;
    std::vector<float> left(kBlock), right(kBlock);
    float* out[2] = {left.data(), right.data()};
    long frames = 0;
    double sumSquares = 0;
    while (frames < long(maxSeconds * kRate) && !r.finished) {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        synth.render(kBlock, 0, nullptr, 2, out);
        for (int i = 0; i < kBlock; ++i) {
            const double l = left[std::size_t(i)], rr = right[std::size_t(i)];
            sumSquares += l * l + rr * rr;
            r.peak = std::max({r.peak, std::fabs(l), std::fabs(rr)});
        }
        frames += kBlock;
        r.finished = !synth.playing();
    }
    r.seconds = double(frames) / kRate;
    r.rms = std::sqrt(sumSquares / (2.0 * double(std::max(frames, 1L))));
    return r;
}

}  // namespace

class MusicTest : public QObject {
    Q_OBJECT

private slots:
    // ---- The rotation --------------------------------------------------
    void rotation_data() {
        QTest::addColumn<int>("songCount");
        QTest::addColumn<int>("songNumber");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QList<int>>("played");
        QTest::newRow("three songs go round") << 3 << 1 << false << QList<int>{2, 3, 1, 2, 3, 1};
        QTest::newRow("loop repeats the song") << 3 << 2 << true << QList<int>{2, 2, 2};
        QTest::newRow("a single song plays again") << 1 << 1 << false << QList<int>{1, 1, 1};
        QTest::newRow("a number above the count keeps rising") << 2 << 5 << false << QList<int>{6, 7, 8, 9};
    }

    // Each song end (and each "Next Song", which is the same call) halts,
    // sets the next file and starts it.
    void rotation() {
        QFETCH(int, songCount);
        QFETCH(int, songNumber);
        QFETCH(bool, loop);
        QFETCH(QList<int>, played);
        GameState g;
        g.songCount = songCount;
        g.songNumber = songNumber;
        ScriptedPlayer player;
        const std::string folder = "/games/capzel/media/";
        for (int expected : played) {
            player.calls.clear();
            capzel::ui::songEnded(g, loop, player, folder, kPlaying, kStopped);
            QCOMPARE(g.songNumber, expected);
            const std::vector<std::string> want = {"halt", "setFile " + folder + std::to_string(expected) + ".mid",
                                                   "play"};
            QCOMPARE(player.calls, want);
        }
        QCOMPARE(g.songCount, songCount);
    }

    // ---- The folder ----------------------------------------------------
    void countSongs_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("count");
        QTest::newRow("three songs") << QStringList{"1.mid", "2.mid", "3.mid"} << 3;
        QTest::newRow("intro.mid counts too") << QStringList{"1.mid", "2.mid", "intro.mid"} << 3;
        QTest::newRow("other files do not") << QStringList{"1.mid", "notes.txt", "1.midi", "2.MID", "mid"} << 1;
        QTest::newRow("empty folder") << QStringList{} << 0;
    }

    void countSongs() {
        QFETCH(QStringList, files);
        QFETCH(int, count);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString& name : files) writeFile(dir.filePath(name), silentSong());
        QVERIFY(QDir(dir.path()).mkdir("folder.mid"));  // a folder is not a song
        QCOMPARE(capzel::ui::countSongs(str(dir.path()) + "/"), count);
        QCOMPARE(capzel::ui::countSongs(str(dir.path())), count);
    }

    // Beside the program first (the build puts our songs in media/ beside
    // every program it makes), then the installed share folder, else the
    // missing folder beside the program, which has no songs.
    void musicFolder() {
        const std::string folder = capzel::ui::musicFolder();
        const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/media") + "/";
        QCOMPARE(QString::fromStdString(folder), expected);
        QVERIFY(capzel::ui::countSongs(folder) >= 3);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath("prefix/bin") && dir.mkpath("prefix/share/capzel/media"));
        const std::string bin = dir.filePath("prefix/bin").toStdString();
        QCOMPARE(capzel::ui::musicFolderOf(bin), dir.filePath("prefix/share/capzel/media/").toStdString());
        QVERIFY(dir.mkpath("prefix/bin/media"));
        QCOMPARE(capzel::ui::musicFolderOf(bin), dir.filePath("prefix/bin/media/").toStdString());
        const std::string none = capzel::ui::musicFolderOf(dir.filePath("none").toStdString());
        QCOMPARE(none, dir.filePath("none/media/").toStdString());
        QCOMPARE(capzel::ui::countSongs(none), 0);
        QCOMPARE(capzel::ui::countSongs(""), 0);
    }

    // ---- Song files ----------------------------------------------------
    void midiCheck_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        auto qb = [](const Bytes& b) { return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())); };
        const Bytes good = oneNoteSong();
        auto with = [&](std::initializer_list<std::pair<int, int>> changes) {
            Bytes b = good;
            for (auto [at, value] : changes) b.at(std::size_t(at)) = std::uint8_t(value);
            return qb(b);
        };
        Bytes cutTail = good;
        cutTail.insert(cutTail.end(), {'M', 'T', 'r'});
        QTest::newRow("a song") << qb(good) << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("MThd is not enough here") << false;
        QTest::newRow("wrong magic") << with({{0, 'X'}}) << false;
        QTest::newRow("header too short") << with({{7, 5}}) << false;
        QTest::newRow("no division") << with({{12, 0}, {13, 0}}) << false;
        QTest::newRow("unknown format") << with({{9, 3}}) << false;
        QTest::newRow("track longer than file") << with({{21, good[21] + 1}}) << false;
        QTest::newRow("no track chunk") << with({{14, 'X'}}) << false;
        QTest::newRow("cut-off chunk") << qb(cutTail) << false;
    }

    void midiCheck() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(capzel::ui::isStandardMidiFile(std::vector<char>(bytes.begin(), bytes.end())), valid);
    }

    // ---- The real player, pulled by hand ---------------------------------
    // Song 1 plays, ends, and the rotation (one song) starts it again; every
    // change arrives through the event loop.
    void realPlayerEndsAndRotates() {
        QTemporaryDir dir;
        writeFile(dir.filePath("1.mid"), oneNoteSong());
        const std::string folder = str(dir.path()) + "/";
        GameState g;
        g.songCount = capzel::ui::countSongs(folder);
        g.songNumber = 1;
        RecordedPlayer r(g, folder);
        r.player.setFile(capzel::ui::songPath(folder, 1));
        QVERIFY(r.changes.empty());  // announced from the event loop, not from inside setFile
        QCoreApplication::processEvents();
        QCOMPARE(r.changes, (std::vector<Change>{{kStopped, kPlaying}}));

        for (int block = 0; block < 200 && r.changes.size() < 2; ++block) {  // at most 20 s of audio
            r.player.renderManually(4410);
            r.player.checkState();
        }
        QCOMPARE(r.changes, (std::vector<Change>{{kStopped, kPlaying}, {kPlaying, kStopped}}));
        QCOMPARE(g.songNumber, 1);
        QCoreApplication::processEvents();
        QCOMPARE(r.changes.size(), std::size_t(3));
        QCOMPARE(r.changes.back(), Change(kStopped, kPlaying));
        QCOMPARE(r.player.state(), kPlaying);
    }

    // Without the soundfont, or with a file that is no song, the player
    // stays stopped and silent and announces nothing.
    void silentWithoutSoundfontOrSong_data() {
        QTest::addColumn<QString>("soundfont");
        QTest::addColumn<bool>("soundCard");
        QTest::addColumn<QByteArray>("song");
        const QByteArray song(reinterpret_cast<const char*>(oneNoteSong().data()), qsizetype(oneNoteSong().size()));
        QTest::newRow("no soundfont, sound card") << "/nonexistent/capzel.sf2" << true << song;
        QTest::newRow("no soundfont, no device") << "/nonexistent/capzel.sf2" << false << song;
        QTest::newRow("a text file for a song") << QString(capzel::ui::kSoundfontPath) << false << QByteArray("MThd?");
    }
    void silentWithoutSoundfontOrSong() {
        QFETCH(QString, soundfont);
        QFETCH(bool, soundCard);
        QFETCH(QByteArray, song);
        QTemporaryDir dir;
        QFile file(dir.filePath("1.mid"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(song) == song.size());
        file.close();
        std::vector<Change> changes;
        FluidMusicPlayer player(str(soundfont), soundCard ? FluidMusicPlayer::Output::SoundCard : FluidMusicPlayer::Output::Manual);
        player.onPlayStateChange = [&](int previous, int current) { changes.emplace_back(previous, current); };
        player.setFile(str(file.fileName()));
        player.play();
        player.renderManually(4410);
        QCoreApplication::processEvents();
        player.checkState();
        QCOMPARE(player.state(), kStopped);
        QVERIFY(changes.empty());
    }

    // ---- Our songs, rendered without a device ---------------------------
    // One of our songs (they are made alike): it plays to its end, long
    // enough, audible and never clipped.
    void ourSongsSound() {
        QVERIFY2(QFile::exists(capzel::ui::kSoundfontPath), "the timgm6mb-soundfont package is needed");
        const Rendering r = renderSong(CAPZEL_BIN_DIR "/media/2.mid", 150.0);
        QVERIFY(r.finished);
        QVERIFY2(r.seconds >= 45.0 && r.seconds <= 95.0, qPrintable(QString::number(r.seconds)));
        QVERIFY2(r.rms > 0.01, qPrintable(QString::number(r.rms)));  // about -27 dBFS when measured
        QVERIFY2(r.peak > 0.05 && r.peak < 1.0, qPrintable(QString::number(r.peak)));  // audible, never clipped
    }
};

CAPZEL_QT_TEST(MusicTest)

#include "tst_music.moc"
