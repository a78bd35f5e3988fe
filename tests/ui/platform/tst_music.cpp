// The background music: the rotation from song to song (with a scripted
// player), the music folder and its count, the check of song files, the real
// FluidSynth player driven without a sound device (and silent without its
// soundfont), and one of our songs rendered into memory to prove it sounds.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "model/GameState.h"
#include "support/QtTestMain.h"
#include "ui/FluidMusicPlayer.h"
#include "ui/MidiCheck.h"
#include "ui/Songs.h"
#include "ui/SongSynth.h"

using capzel::GameState;
using capzel::ui::FluidMusicPlayer;
using capzel::ui::MusicPlayer;

namespace {

constexpr int kPlaying = MusicPlayer::kPlaying;
constexpr int kStopped = MusicPlayer::kStopped;
using Change = std::pair<int, int>;
using Changes = std::vector<Change>;

// Records what the rotation asks of its player.
class ScriptedPlayer : public MusicPlayer {
public:
    void setFile(const std::string& path) override { calls.push_back("setFile " + path); }
    void play() override { calls.push_back("play"); }
    void halt() override { calls.push_back("halt"); }
    std::vector<std::string> calls;
};

// A format-0 file, one track: middle C for a quarter note at 120 beats per
// minute (a quarter of a second).
QByteArray oneNoteSong() {
    const QByteArray track("\x00\x90\x3C\x64\x83\x60\x80\x3C\x40\x00\xFF\x2F\x00", 13);
    return QByteArray("MThd\0\0\0\6\0\0\0\1\1\xE0MTrk\0\0\0", 21) + char(track.size()) + track;
}

std::string str(const QString& s) { return s.toStdString(); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

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

Q_DECLARE_METATYPE(Changes)

class MusicTest : public QObject {
    Q_OBJECT

private slots:
    // Each song end (and each "Next Song", which is the same call) halts,
    // sets the next file and starts it.
    void rotation_data() {
        QTest::addColumn<int>("songCount");
        QTest::addColumn<int>("songNumber");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QList<int>>("played");
        QTest::newRow("three songs go round") << 3 << 1 << false << QList<int>{2, 3, 1, 2};
        QTest::newRow("loop repeats the song") << 3 << 2 << true << QList<int>{2, 2};
        QTest::newRow("a single song plays again") << 1 << 1 << false << QList<int>{1, 1};
        QTest::newRow("a number above the count keeps rising") << 2 << 5 << false << QList<int>{6, 7};
        QTest::newRow("an empty folder still counts on") << 0 << 1 << false << QList<int>{2, 3};
    }
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
            const std::vector<std::string> want = {"halt", "setFile " + folder + std::to_string(expected) + ".mid", "play"};
            QCOMPARE(player.calls, want);
        }
        QCOMPARE(g.songCount, songCount);
    }

    // Songs are counted by their exact spelling, files only; the folder is
    // beside the program first (the build puts our songs there), then the
    // installed share folder, else the missing folder beside the program.
    void musicFolderAndItsSongs() {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath("prefix/bin") && dir.mkpath("prefix/share/capzel/media/folder.mid"));
        for (const char* name : {"1.mid", "intro.mid", "notes.txt", "1.midi", "2.MID"})
            writeFile(dir.filePath(QStringLiteral("prefix/share/capzel/media/") + name), {});
        const std::string bin = str(dir.filePath("prefix/bin"));
        QCOMPARE(capzel::ui::musicFolderOf(bin), str(dir.filePath("prefix/share/capzel/media/")));
        QCOMPARE(capzel::ui::countSongs(capzel::ui::musicFolderOf(bin)), 2);
        QCOMPARE(capzel::ui::countSongs(str(dir.filePath("prefix/share/capzel/media"))), 2);
        QVERIFY(dir.mkpath("prefix/bin/media"));
        QCOMPARE(capzel::ui::musicFolderOf(bin), str(dir.filePath("prefix/bin/media/")));
        const std::string none = capzel::ui::musicFolderOf(str(dir.filePath("none")));
        QCOMPARE(none, str(dir.filePath("none/media/")));
        QCOMPARE(capzel::ui::countSongs(none), 0);
        QCOMPARE(capzel::ui::countSongs(""), 0);
        const std::string ours = capzel::ui::musicFolder();
        QCOMPARE(QString::fromStdString(ours), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/media") + "/");
        QVERIFY(capzel::ui::countSongs(ours) >= 3);
    }

    void midiCheck_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        const QByteArray good = oneNoteSong();
        auto with = [&](std::initializer_list<std::pair<int, int>> changes) {
            QByteArray b = good;
            for (auto [at, value] : changes) b[at] = char(value);
            return b;
        };
        QTest::newRow("a song") << good << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("MThd is not enough here") << false;
        QTest::newRow("wrong magic") << with({{0, 'X'}}) << false;
        QTest::newRow("header too short") << with({{7, 5}}) << false;
        QTest::newRow("no division") << with({{12, 0}, {13, 0}}) << false;
        QTest::newRow("unknown format") << with({{9, 3}}) << false;
        QTest::newRow("track longer than file") << with({{21, good[21] + 1}}) << false;
        QTest::newRow("no track chunk") << with({{14, 'X'}}) << false;
        QTest::newRow("cut-off chunk") << good + "MTr" << false;
    }
    void midiCheck() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(capzel::ui::isStandardMidiFile(std::vector<char>(bytes.begin(), bytes.end())), valid);
    }

    // The real player pulled by hand: song 1 plays, ends, and the rotation
    // (one song) starts it again, every change announced from the event
    // loop. Without the soundfont, or with a file that is no song, it stays
    // stopped and silent and announces nothing.
    void realPlayer_data() {
        QTest::addColumn<QString>("soundfont");
        QTest::addColumn<bool>("soundCard");
        QTest::addColumn<QByteArray>("song");
        QTest::addColumn<Changes>("changes");
        const QString none = QStringLiteral("/nonexistent/capzel.sf2");
        QTest::newRow("plays, ends, again") << QString(capzel::ui::kSoundfontPath) << false << oneNoteSong()
                                            << Changes{{kStopped, kPlaying}, {kPlaying, kStopped}, {kStopped, kPlaying}};
        QTest::newRow("no soundfont, sound card") << none << true << oneNoteSong() << Changes{};
        QTest::newRow("no soundfont, no device") << none << false << oneNoteSong() << Changes{};
        QTest::newRow("a text file for a song") << QString(capzel::ui::kSoundfontPath) << false << QByteArray("MThd?")
                                                << Changes{};
    }
    void realPlayer() {
        QFETCH(QString, soundfont);
        QFETCH(bool, soundCard);
        QFETCH(QByteArray, song);
        QFETCH(Changes, changes);
        QTemporaryDir dir;
        writeFile(dir.filePath("1.mid"), song);
        const std::string folder = str(dir.path()) + "/";
        GameState g;
        g.songCount = capzel::ui::countSongs(folder);
        g.songNumber = 1;
        FluidMusicPlayer player(str(soundfont), soundCard ? FluidMusicPlayer::Output::SoundCard : FluidMusicPlayer::Output::Manual);
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
        QCOMPARE(player.state(), changes.empty() ? kStopped : kPlaying);
        QCOMPARE(g.songNumber, 1);
    }

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
