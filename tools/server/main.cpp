// capzel-server: rooms of the online game on a WebSocket port.
//
//   capzel-server [--port 7788] [--data-dir DIR] [--tls-cert FILE --tls-key FILE]
//                 [--max-rooms N] [--max-connections-per-address N] [--max-messages-per-second N]
//                 [--code-prefix LETTER] [--web-root DIR] [limits and times: see --help]
//
// The same port serves the web client (http://, or https:// with the
// certificate): the page installed with the server, or the one in DIR.
//
// Ctrl+C or SIGTERM stop it: the signal only writes a byte to a pipe, which
// the event loop reads and quits on; the rooms are kept as they stand.
//
// Its event loop is an epoll one (network/EpollDispatcher.h), so that
// thousands of connections cost what they do, not what they are;
// --qt-event-loop keeps Qt's own, to compare.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>

#include <csignal>
#include <filesystem>
#include <cstdio>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "network/EpollDispatcher.h"
#include "network/ServerHost.h"
#include "server/WebPages.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

int fail(const QString& message) {
    std::fprintf(stderr, "capzel-server: %s\n", qPrintable(message));
    return 2;
}

// A whole number from the command line within lo..hi.
std::optional<int> number(const QCommandLineParser& parser, const QString& option, int lo, int hi) {
    bool ok = false;
    const int n = parser.value(option).toInt(&ok);
    if (!ok || n < lo || n > hi) return std::nullopt;
    return n;
}

// A length of time from the command line, in seconds (fractions too),
// within lo..hi, in milliseconds.
std::optional<int> milliseconds(const QCommandLineParser& parser, const QString& option, double lo, double hi) {
    bool ok = false;
    const double s = parser.value(option).toDouble(&ok);
    if (!ok || !(s >= lo && s <= hi)) return std::nullopt;
    return int(s * 1000 + 0.5);
}

// Whether a TLS handshake with this configuration gets through, tried over
// the loopback interface: a key that does not match its certificate would
// make every player's handshake fail.
bool handshakeGoesThrough(const QSslConfiguration& tls, QString& error) {
    QSslServer server;
    server.setSslConfiguration(tls);
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        error = QStringLiteral("no loopback port to try the certificate on: ") + server.errorString();
        return false;
    }
    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    QEventLoop loop;
    bool through = false;
    QObject::connect(&client, &QSslSocket::encrypted, &loop, [&] {
        through = true;
        loop.quit();
    });
    QObject::connect(&client, &QAbstractSocket::errorOccurred, &loop, [&] {
        error = client.errorString();
        loop.quit();
    });
    QObject::connect(&server, &QSslServer::errorOccurred, &loop, [&](QSslSocket* socket, QAbstractSocket::SocketError) {
        error = socket->errorString();
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, [&] {
        error = QStringLiteral("no handshake within 10 seconds");
        loop.quit();
    });
    client.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.serverPort());
    loop.exec();
    return through;
}

std::optional<QSslConfiguration> tlsConfiguration(const QString& certPath, const QString& keyPath, QString& error) {
    if (!QSslSocket::supportsSsl()) {
        error = QStringLiteral("this Qt has no TLS support");
        return std::nullopt;
    }
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(certPath, QSsl::Pem);
    QFile keyFile(keyPath);
    if (certs.isEmpty()) {
        error = QStringLiteral("no certificate in ") + certPath;
        return std::nullopt;
    }
    if (!keyFile.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("the key ") + keyPath + QStringLiteral(" cannot be read");
        return std::nullopt;
    }
    const QByteArray pem = keyFile.read(1 << 20);
    QSslKey key(pem, QSsl::Rsa, QSsl::Pem);
    if (key.isNull()) key = QSslKey(pem, QSsl::Ec, QSsl::Pem);
    if (key.isNull()) {
        error = QStringLiteral("no RSA or EC private key in ") + keyPath;
        return std::nullopt;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(certs);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    if (!handshakeGoesThrough(tls, error)) {
        error = QStringLiteral("the key ") + keyPath + QStringLiteral(" does not go with the certificate ") + certPath +
                QStringLiteral(": a TLS handshake with them fails (") + error + QStringLiteral(")");
        return std::nullopt;
    }
    return tls;
}

// Every connection is an open file: the soft limit (often 1,024) goes up to
// the hard one so that thousands of players fit. Gives the limit in force.
rlim_t raiseOpenFileLimit() {
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0) return 0;
    if (files.rlim_cur >= files.rlim_max) return files.rlim_cur;
    rlimit raised = files;
    raised.rlim_cur = files.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) return raised.rlim_cur;
    std::fprintf(stderr, "capzel-server: the open-file limit stays at %llu (it cannot be raised to %llu): "
                 "about as many connections fit\n", static_cast<unsigned long long>(files.rlim_cur),
                 static_cast<unsigned long long>(files.rlim_max));
    return files.rlim_cur;
}

// Room-code letters (upper case), at most half a code.
bool isCodePrefix(const QString& prefix) {
    if (prefix.size() > int(capzel::protocol::kRoomCodeLength / 2)) return false;
    for (const QChar c : prefix)
        if (capzel::protocol::kRoomCodeLetters.find(char(c.toLatin1())) == std::string_view::npos) return false;
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    bool qtEventLoop = false;
    for (int k = 1; k < argc; ++k) qtEventLoop = qtEventLoop || std::strcmp(argv[k], "--qt-event-loop") == 0;
    if (!qtEventLoop)
        if (QAbstractEventDispatcher* epoll = capzel::network::makeEpollDispatcher())
            QCoreApplication::setEventDispatcher(epoll);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("capzel-server"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Rooms of Capzel's online game on a WebSocket port."));
    parser.addHelpOption();
    const capzel::network::ServerLimits limits;
    const capzel::network::ServerTimes times;
    const auto secondsOf = [](auto d) { return std::chrono::duration<double>(d).count(); };
    parser.addOptions({
        {"port", "The port to listen on (0: any free one, printed).", "port", "7788"},
        {"data-dir", "Where rooms are kept.", "folder",
         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/capzel-server"},
        {"tls-cert", "A PEM certificate (chain): wss:// instead of ws://.", "file"},
        {"tls-key", "The certificate's PEM private key.", "file"},
        {"max-rooms", "Rooms the server holds at most.", "n", QString::number(limits.rooms)},
        {"max-connections-per-address", "Connections one address may hold.", "n",
         QString::number(limits.connectionsPerAddress)},
        {"max-messages-per-second", "Messages a connection may send a second.", "n",
         QString::number(limits.messagesPerSecond)},
        {"code-prefix", "Letters every new room's code begins with (servers behind one load balancer).", "letters"},
        {"web-root", "The folder of the web client to serve (default: the one installed with the server).", "folder"},
        {"max-aims-per-second", "Aims a connection may send a second.", "n", QString::number(limits.aimsPerSecond)},
        {"max-waiting-rooms-per-address", "Rooms whose game has not begun one address may have made.", "n",
         QString::number(limits.waitingRoomsPerAddress)},
        {"max-wrong-codes-per-minute", "Codes naming no room one address may try a minute.", "n",
         QString::number(limits.wrongCodesPerMinute)},
        {"max-unsent-kib", "What may wait to be sent to a connection before it is closed, in KiB.", "n",
         QString::number(limits.unsentBytes / 1024)},
        {"handshake-seconds", "Time a connection has for its TLS handshake and WebSocket upgrade.", "s",
         QString::number(times.handshakeMs / 1000.0)},
        {"ping-seconds", "A connection silent this long is pinged.", "s", QString::number(times.pingMs / 1000.0)},
        {"silent-seconds", "A connection silent this long is dropped.", "s", QString::number(times.silentMs / 1000.0)},
        {"seat-hold-seconds", "How long a dropped player's seat is held.", "s", QString::number(secondsOf(times.rooms.seatHold))},
        {"empty-room-seconds", "How long a room whose game has not begun stays once nobody is in it.", "s",
         QString::number(secondsOf(times.rooms.emptyStay))},
        {"finished-room-seconds", "How long a room whose game is over stays.", "s",
         QString::number(secondsOf(times.rooms.finishedStay))},
        {"qt-event-loop", "Qt's own event loop instead of the epoll one (to compare)."},
    });
    parser.process(app);

    capzel::network::ServerOptions options;
    const auto port = number(parser, "port", 0, 65535);
    const auto rooms = number(parser, "max-rooms", 1, 1000000);
    const auto perAddress = number(parser, "max-connections-per-address", 1, 100000);
    const auto rate = number(parser, "max-messages-per-second", 1, 10000);
    if (!port) return fail("--port must be a number from 0 to 65535");
    const auto aims = number(parser, "max-aims-per-second", 1, 10000);
    const auto waiting = number(parser, "max-waiting-rooms-per-address", 1, 1000000);
    const auto wrongCodes = number(parser, "max-wrong-codes-per-minute", 1, 1000000);
    const auto unsent = number(parser, "max-unsent-kib", 1, 1 << 20);
    if (!rooms || !perAddress || !rate || !aims || !waiting || !wrongCodes || !unsent)
        return fail("the limits must be whole numbers of at least 1");
    const auto handshake = milliseconds(parser, "handshake-seconds", 0.05, 600);
    const auto ping = milliseconds(parser, "ping-seconds", 0.05, 86400);
    const auto silent = milliseconds(parser, "silent-seconds", 0.1, 86400);
    const auto hold = milliseconds(parser, "seat-hold-seconds", 0, 86400);
    const auto empty = milliseconds(parser, "empty-room-seconds", 0, 86400);
    const auto finished = milliseconds(parser, "finished-room-seconds", 0, 86400);
    if (!handshake || !ping || !silent || !hold || !empty || !finished)
        return fail("the times are seconds within their ranges (see --help)");
    if (*silent <= *ping) return fail("--silent-seconds must be longer than --ping-seconds");
    options.limits.aimsPerSecond = *aims;
    options.limits.waitingRoomsPerAddress = *waiting;
    options.limits.wrongCodesPerMinute = *wrongCodes;
    options.limits.unsentBytes = qint64(*unsent) * 1024;
    options.times.handshakeMs = *handshake;
    options.times.pingMs = *ping;
    options.times.silentMs = *silent;
    options.times.rooms.seatHold = std::chrono::milliseconds(*hold);
    options.times.rooms.emptyStay = std::chrono::milliseconds(*empty);
    options.times.rooms.finishedStay = std::chrono::milliseconds(*finished);
    options.port = quint16(*port);
    options.dataDir = parser.value("data-dir");
    options.limits.rooms = *rooms;
    options.limits.connectionsPerAddress = *perAddress;
    options.limits.messagesPerSecond = *rate;
    options.codePrefix = parser.value("code-prefix").toUpper().toStdString();
    if (!isCodePrefix(parser.value("code-prefix").toUpper()))
        return fail("--code-prefix takes 1 to 3 of the room-code letters " +
                    QString::fromLatin1(capzel::protocol::kRoomCodeLetters.data(),
                                        qsizetype(capzel::protocol::kRoomCodeLetters.size())));
    if (parser.isSet("web-root")) {
        const std::filesystem::path root = parser.value("web-root").toStdString();
        std::error_code error;
        if (!std::filesystem::is_regular_file(root / "index.html", error))
            return fail("--web-root: no index.html in " + parser.value("web-root"));
        options.webRoot = std::filesystem::canonical(root, error).string();
    } else {
        options.webRoot = capzel::server::installedWebRoot(
            QCoreApplication::applicationFilePath().toStdString()).string();
    }
    if (parser.isSet("tls-cert") != parser.isSet("tls-key")) return fail("--tls-cert and --tls-key go together");
    if (parser.isSet("tls-cert")) {
        QString error;
        options.tls = tlsConfiguration(parser.value("tls-cert"), parser.value("tls-key"), error);
        if (!options.tls) return fail(error);
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return fail("no pipe for the signals");
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const rlim_t openFiles = raiseOpenFileLimit();
    capzel::network::ServerHost host(options);
    QString error;
    if (!host.start(&error)) return fail("cannot listen on port " + QString::number(options.port) + ": " + error);
    std::printf("capzel-server listening on %s://0.0.0.0:%u (%d rooms kept in %s; up to %d rooms, %llu open files)\n",
                options.tls ? "wss" : "ws", unsigned(host.port()), host.roomCount(), qPrintable(options.dataDir),
                options.limits.rooms, static_cast<unsigned long long>(openFiles));
    if (options.webRoot.empty())
        std::printf("capzel-server: no web page to serve (--web-root DIR gives one)\n");
    else
        std::printf("capzel-server serving the web page from %s on %s://0.0.0.0:%u/\n", options.webRoot.c_str(),
                    options.tls ? "https" : "http", unsigned(host.port()));
    std::fflush(stdout);
    const int code = app.exec();
    host.stop();
    std::printf("capzel-server stopped\n");
    return code;
}
