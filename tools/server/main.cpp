// capzel-server: rooms of the online game on a WebSocket port.
//
//   capzel-server [--port 7788] [--data-dir DIR] [--tls-cert FILE --tls-key FILE]
//                 [--max-rooms N] [--max-connections-per-address N] [--max-messages-per-second N]
//                 [--code-prefix LETTER] [--web-root DIR]
//
// The same port serves the web client (http://, or https:// with the
// certificate): the page installed with the server, or the one in DIR.
//
// Ctrl+C or SIGTERM stop it: the signal only writes a byte to a pipe, which
// the event loop reads and quits on; the rooms are kept as they stand.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QStandardPaths>

#include <csignal>
#include <filesystem>
#include <cstdio>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

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
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("capzel-server"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Rooms of Capzel's online game on a WebSocket port."));
    parser.addHelpOption();
    const capzel::network::ServerLimits limits;
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
    });
    parser.process(app);

    capzel::network::ServerOptions options;
    const auto port = number(parser, "port", 0, 65535);
    const auto rooms = number(parser, "max-rooms", 1, 1000000);
    const auto perAddress = number(parser, "max-connections-per-address", 1, 100000);
    const auto rate = number(parser, "max-messages-per-second", 1, 10000);
    if (!port) return fail("--port must be a number from 0 to 65535");
    if (!rooms || !perAddress || !rate) return fail("the limits must be whole numbers of at least 1");
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
