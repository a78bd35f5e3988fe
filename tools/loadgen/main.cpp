// capzel-loadgen: rooms of simulated players against a capzel-server.
//
//   capzel-loadgen --server ws://127.0.0.1:7788 --rooms 100 --seconds 30
//                  [--players-per-room 2] [--computer-seats 0] [--think-ms 2000]
//                  [--ramp 50] [--seed 1] [--server-pid PID] [--tls [--insecure]] [--relay]
//
// The rooms are opened gradually (--ramp a second); once all are open the
// run goes on for --seconds, then no more shots are sent, the shots under
// way are awaited and one JSON object is printed: rooms, shots, the median
// and 99th percentile of the time from a shot sent to its Accepted back,
// errors, desyncs, and this program's (and with --server-pid the server's)
// processor time and memory, with the server's processor time a shot over
// the whole run and over its first and last thirds (a shot must cost the
// same in a long game as in a short one). --think-ms 0 shoots as soon as a
// turn comes, for games of hundreds of shots within a run. Exit status 0 when no error and no desync
// happened and shots were played, 1 otherwise, 2 for bad options.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

#include "../common/ProcessCpu.h"
#include "LoadRoom.h"
#include "network/EpollDispatcher.h"

using namespace capzel::loadgen;

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "capzel-loadgen: %s\n", qPrintable(message));
    return 2;
}

int number(const QCommandLineParser& parser, const QString& option, int lo, int hi) {
    bool ok = false;
    const int n = parser.value(option).toInt(&ok);
    return ok && n >= lo && n <= hi ? n : -1;
}

// A process's processor seconds (user + system) and resident megabytes, from /proc.
struct ProcessUse {
    double cpuSeconds = -1;
    double residentMb = -1;
    double peakResidentMb = -1;
};

ProcessUse processUse(qint64 pid) {
    ProcessUse use;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // The fields after the command's closing parenthesis; utime and stime are the 14th and 15th.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            use.cpuSeconds = double(fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const auto kb = [&] { return line.simplified().split(' ').value(1).toDouble() / 1024; };
            if (line.startsWith("VmRSS:")) use.residentMb = kb();
            if (line.startsWith("VmHWM:")) use.peakResidentMb = kb();
        }
    }
    return use;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t at = std::size_t(std::ceil(share * double(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

double rounded(double v, int digits = 2) {
    const double scale = std::pow(10.0, digits);
    return std::nearbyint(v * scale) / scale;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Thousands of connections: an event loop that does not look at every
    // one on each wake-up.
    if (QAbstractEventDispatcher* epoll = capzel::network::makeEpollDispatcher())
        QCoreApplication::setEventDispatcher(epoll);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("capzel-loadgen"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Rooms of simulated players against a capzel-server."));
    parser.addHelpOption();
    parser.addOptions({
        {"server", "The server's address.", "url", "ws://127.0.0.1:7788"},
        {"rooms", "Rooms played at once.", "n", "10"},
        {"seconds", "How long all rooms play once open.", "s", "10"},
        {"players-per-room", "Person seats of a room, each a connection (1 to 8).", "n", "2"},
        {"computer-seats", "Seats of a room the server's computer plays.", "n", "0"},
        {"think-ms", "Mean time from a player's turn to its shot.", "ms", "2000"},
        {"ramp", "Rooms opened a second until all are open.", "n", "50"},
        {"seed", "Seed of the players' shots.", "n", "1"},
        {"server-pid", "The server's process: its processor time and memory are reported.", "pid"},
        {"tls", "Connect with TLS (wss://) whatever the address says."},
        {"insecure", "Take the server's certificate unchecked (one of its own making)."},
        {"relay", "The server is capzel-relay: shots are passed on, not played, and not checked."},
    });
    parser.process(app);

    LoadSettings settings;
    settings.server = QUrl(parser.value("server"));
    const int rooms = number(parser, "rooms", 1, 100000);
    const int seconds = number(parser, "seconds", 1, 86400);
    settings.playersPerRoom = number(parser, "players-per-room", 1, 8);
    settings.computerSeats = number(parser, "computer-seats", 0, 7);
    settings.thinkMs = number(parser, "think-ms", 0, 600000);
    const int ramp = number(parser, "ramp", 1, 100000);
    const int seed = number(parser, "seed", 0, 1 << 30);
    const qint64 serverPid = parser.isSet("server-pid") ? parser.value("server-pid").toLongLong() : 0;
    if (parser.isSet("tls") && settings.server.scheme() == QLatin1String("ws")) settings.server.setScheme(QStringLiteral("wss"));
    settings.insecure = parser.isSet("insecure");
    settings.relay = parser.isSet("relay");
    if (!settings.server.isValid() || !settings.server.scheme().startsWith("ws"))
        return fail("--server must be a ws:// or wss:// address");
    if (rooms < 0 || seconds < 0 || settings.playersPerRoom < 0 || settings.computerSeats < 0 || settings.thinkMs < 0 ||
        ramp < 0 || seed < 0)
        return fail("the options are whole numbers in their ranges (see --help)");
    if (settings.playersPerRoom + settings.computerSeats > 8) return fail("a room has at most 8 seats");

    LoadStats stats;
    stats.clock.start();
    std::vector<LoadRoom*> all;
    QTimer opener;
    double ownCpuAtStart = 0;
    ProcessUse serverAtStart;
    qint64 measuredFromNs = 0;
    // The server's processor seconds and the shots measured at the start of
    // the run, at its thirds and at its end.
    std::vector<std::pair<double, std::size_t>> thirds;
    const auto markThird = [&] {
        thirds.emplace_back(serverPid ? processUse(serverPid).cpuSeconds : -1, stats.latenciesMs.size());
    };

    const auto finish = [&] {
        for (LoadRoom* room : all) room->stop();
        const qint64 measuredNs = stats.clock.nsecsElapsed() - measuredFromNs;
        const double ownCpu = capzel::tools::cpuSeconds() - ownCpuAtStart;
        const ProcessUse server = serverPid ? processUse(serverPid) : ProcessUse{};
        markThird();
        // The shots under way are awaited (a lost one counts as an error by its own timer).
        auto* wait = new QTimer(&app);
        const qint64 waitFrom = stats.clock.elapsed();
        QObject::connect(wait, &QTimer::timeout, &app, [&, wait, waitFrom, measuredNs, ownCpu, server] {
            const bool awaiting = std::any_of(all.begin(), all.end(), [](LoadRoom* r) { return r->awaiting(); });
            if (awaiting && stats.clock.elapsed() - waitFrom < settings.shotTimeoutMs + 1000) return;
            wait->stop();
            const double measured = double(measuredNs) / 1e9;
            QJsonObject out{
                {"rooms", rooms},
                {"connections", rooms * settings.playersPerRoom},
                {"seconds", rounded(measured)},
                {"shots", qint64(stats.shots)},
                {"measured_shots", qint64(stats.latenciesMs.size())},
                {"shots_per_second", rounded(double(stats.latenciesMs.size()) / measured, 1)},
                {"median_latency_ms", rounded(percentile(stats.latenciesMs, 0.5))},
                {"p99_latency_ms", rounded(percentile(stats.latenciesMs, 0.99))},
                {"max_latency_ms", rounded(percentile(stats.latenciesMs, 1.0))},
                {"followed_shots", qint64(stats.followed)},
                {"games", qint64(stats.games)},
                {"errors", qint64(stats.errors)},
                {"desyncs", qint64(stats.desyncs)},
                {"loadgen_cpu_percent", rounded(100 * ownCpu / measured, 1)},
                {"longest_game_shots", stats.longestGame},
            };
            // Each room offers a shot every thinking time (a server that
            // answers at once carries them all).
            if (settings.thinkMs > 0) {
                const double offered = double(rooms) * 1000.0 / settings.thinkMs;
                out.insert("offered_shots_per_second", rounded(offered, 1));
                out.insert("played_share", rounded(double(stats.latenciesMs.size()) / measured / offered, 3));
            }
            const auto perShot = [&](std::size_t from, std::size_t to) {
                const double shots = double(thirds[to].second - thirds[from].second);
                return shots > 0 && thirds[from].first >= 0 ? rounded(1000 * (thirds[to].first - thirds[from].first) / shots, 3) : -1.0;
            };
            if (serverPid && thirds.size() == 4) {
                out.insert("server_cpu_ms_per_shot", perShot(0, 3));
                out.insert("server_cpu_ms_per_shot_first_third", perShot(0, 1));
                out.insert("server_cpu_ms_per_shot_last_third", perShot(2, 3));
                if (perShot(0, 1) > 0) out.insert("last_to_first_third", rounded(perShot(2, 3) / perShot(0, 1), 3));
            }
            if (serverPid && server.cpuSeconds >= 0 && serverAtStart.cpuSeconds >= 0) {
                out.insert("server_cpu_percent", rounded(100 * (server.cpuSeconds - serverAtStart.cpuSeconds) / measured, 1));
                out.insert("server_rss_mb", rounded(server.residentMb, 1));
                out.insert("server_peak_rss_mb", rounded(server.peakResidentMb, 1));
            }
            QJsonObject kinds;
            for (const auto& [what, count] : stats.errorKinds) kinds.insert(QString::fromStdString(what), qint64(count));
            if (!kinds.isEmpty()) out.insert("error_kinds", kinds);
            std::printf("%s", QJsonDocument(out).toJson(QJsonDocument::Indented).constData());
            std::fflush(stdout);
            for (LoadRoom* room : all) room->close();
            QTimer::singleShot(300, &app, [&] {
                const bool ok = stats.errors == 0 && stats.desyncs == 0 && stats.shots > 0;
                QCoreApplication::exit(ok ? 0 : 1);
            });
        });
        wait->start(50);
    };

    // Rooms open at the ramp's pace; once all are open, the measured run begins.
    const qint64 tickMs = 20;
    QObject::connect(&opener, &QTimer::timeout, &app, [&] {
        const qint64 due = std::min<qint64>(rooms, 1 + stats.clock.elapsed() * ramp / 1000);
        while (qint64(all.size()) < due) {
            auto* room = new LoadRoom(settings, stats, std::uint64_t(seed) * 1000003u + all.size(), &app);
            all.push_back(room);
            room->start();
        }
        if (qint64(all.size()) < rooms) return;
        opener.stop();
        // A moment for the last rooms to begin their games.
        QTimer::singleShot(1000, &app, [&] {
            stats.measuring = true;
            measuredFromNs = stats.clock.nsecsElapsed();
            ownCpuAtStart = capzel::tools::cpuSeconds();
            if (serverPid) serverAtStart = processUse(serverPid);
            markThird();
            QTimer::singleShot(seconds * 1000 / 3, Qt::PreciseTimer, &app, markThird);
            QTimer::singleShot(seconds * 2000 / 3, Qt::PreciseTimer, &app, markThird);
            QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, finish);
        });
    });
    opener.start(int(tickMs));
    return app.exec();
}
