#include "network/GameClient.h"

#include <QWebSocket>

namespace capzel::network {

namespace {
// How long a server may take to welcome a hello.
constexpr int kHandshakeMs = 10000;

QString text(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

GameClient::GameClient(QObject* parent) : QObject(parent) {
    handshakeTimer_.setSingleShot(true);
    connect(&handshakeTimer_, &QTimer::timeout, this,
            [this] { lose(QStringLiteral("The server did not answer within %1 seconds.").arg(kHandshakeMs / 1000)); });
    answerTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        emit roomUnanswered(QStringLiteral("The server has not answered for %1 seconds.").arg(answerMs_ / 1000.0));
    });
}

GameClient::~GameClient() { close(); }

QUrl GameClient::serverUrl(const QString& typed) {
    QString t = typed.trimmed();
    if (!t.contains(QStringLiteral("://"))) t.prepend(QStringLiteral("ws://"));
    QUrl url(t, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != QLatin1String("ws") && url.scheme() != QLatin1String("wss")))
        return {};
    return url;
}

void GameClient::connectTo(const QUrl& url, const std::string& name, const std::string& programVersion) {
    close();
    lost_ = false;
    welcomed_ = false;
    if (serverUrl(url.toString()).isEmpty()) {
        QTimer::singleShot(0, this, [this, url] {
            lose(QStringLiteral("\"%1\" is not a server's address (ws://host:port).").arg(url.toString()));
        });
        return;
    }
    hello_ = protocol::encodeMessage(protocol::Hello{protocol::kProtocolVersion, programVersion, name});
    socket_ = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
    socket_->setMaxAllowedIncomingMessageSize(protocol::kMaxMessageBytes);
    socket_->setMaxAllowedIncomingFrameSize(protocol::kMaxMessageBytes);
    connect(socket_, &QWebSocket::connected, this, [this] { socket_->sendTextMessage(text(hello_)); });
    // What the socket tells is handled from the event loop, not from inside
    // the socket's own reading: a handler may open a box and wait for its
    // answer, and meanwhile the connection may end and its socket be
    // deleted. Whatever was still queued from a connection that has since
    // been closed is dropped.
    const std::uint64_t connection = ++connection_;
    const auto current = [this, connection] { return socket_ != nullptr && connection == connection_; };
    connect(socket_, &QWebSocket::textMessageReceived, this, [this, current](const QString& message) {
        if (current()) received(message);
    }, Qt::QueuedConnection);
    connect(socket_, &QWebSocket::disconnected, this, [this, current] {
        if (!current()) return;
        const QString reason = socket_->closeReason();
        const QString error = socket_->error() != QAbstractSocket::UnknownSocketError ? socket_->errorString() : QString();
        QString why = QStringLiteral("The connection to the server was lost");
        if (!reason.isEmpty())
            why += QStringLiteral(": ") + reason;
        else if (!error.isEmpty())
            why += QStringLiteral(": ") + error;
        lose(why + QLatin1Char('.'));
    }, Qt::QueuedConnection);
    handshakeTimer_.start(kHandshakeMs);
    socket_->open(url);
}

void GameClient::close() {
    handshakeTimer_.stop();
    answerTimer_.stop();
    if (!socket_) return;
    QWebSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->close();
    socket->deleteLater();
    welcomed_ = false;
}

void GameClient::lose(const QString& why) {
    if (lost_) return;
    lost_ = true;
    close();
    emit connectionLost(why);
}

void GameClient::send(const protocol::Message& message) {
    if (!socket_ || !welcomed_) return;
    socket_->sendTextMessage(text(protocol::encodeMessage(message)));
    if (std::holds_alternative<protocol::CreateRoom>(message) || std::holds_alternative<protocol::JoinRoom>(message))
        answerTimer_.start(answerMs_);
}

void GameClient::received(const QString& message) {
    protocol::Decoded decoded = protocol::decodeMessage(message.toStdString());
    if (!welcomed_) {
        // The handshake: a welcome of our version, or the connection ends
        // with what went wrong (a server of another version writes every
        // message in it, and the decoder says which is older).
        if (const auto* w = std::get_if<protocol::Welcome>(&decoded)) {
            handshakeTimer_.stop();
            welcomed_ = true;
            return void(emit welcomed(*w));
        }
        if (const auto* r = std::get_if<protocol::Refusal>(&decoded))
            return lose(QStringLiteral("The server cannot be played with: ") + text(r->reason));
        if (const auto* r = std::get_if<protocol::Refused>(&decoded))
            return lose(QStringLiteral("The server refused the connection: ") + text(r->reason));
        return lose(QStringLiteral("The server did not say welcome."));
    }
    if (std::holds_alternative<protocol::Joined>(decoded) || std::holds_alternative<protocol::Refused>(decoded))
        answerTimer_.stop();
    std::visit([this](auto& m) {
        using Kind = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<Kind, protocol::Refused>) emit refused(m);
        else if constexpr (std::is_same_v<Kind, protocol::Joined>) emit joined(m);
        else if constexpr (std::is_same_v<Kind, protocol::Seats>) emit seatsChanged(m);
        else if constexpr (std::is_same_v<Kind, protocol::Accepted>) emit accepted(m);
        else if constexpr (std::is_same_v<Kind, protocol::State>) emit stateReceived(m);
        else if constexpr (std::is_same_v<Kind, protocol::Aim>) emit aimed(m);
        else if constexpr (std::is_same_v<Kind, protocol::Chat>) emit chatReceived(m);
        else if constexpr (std::is_same_v<Kind, protocol::Refusal>)
            emit unreadable(QStringLiteral("A message from the server was not understood: ") + text(m.reason));
        // Anything else is a player's message and means nothing here.
    }, decoded);
}

}  // namespace capzel::network
