#include "ui/online/OnlineEntries.h"

#include <QNetworkInterface>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

#include "protocol/Messages.h"
#include "records/SavedGame.h"
#include "ui/online/OnlineChoices.h"

namespace capzel::ui {

namespace {

// The WebSocket scheme of a typed scheme: the server's web page (http,
// https) is on the same port as its WebSocket (ws, wss).
QString socketScheme(const QString& scheme) {
    const QString s = scheme.toLower();
    if (s == QLatin1String("http")) return QStringLiteral("ws");
    if (s == QLatin1String("https")) return QStringLiteral("wss");
    return s;
}

}  // namespace

std::optional<QString> serverUrl(const QString& typed) {
    QString text = typed.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("ws://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = socketScheme(url.scheme());
    if (!url.isValid() || (scheme != QLatin1String("ws") && scheme != QLatin1String("wss")) || url.host().isEmpty() ||
        !url.userInfo().isEmpty() || (!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment())
        return std::nullopt;
    QUrl out;
    out.setScheme(scheme);
    out.setHost(url.host());
    out.setPort(url.port(kDefaultOnlinePort));
    if (out.port() < 1) return std::nullopt;
    return out.toString();
}

QString invitationText(const QString& serverUrl, const QString& code) {
    // The server's own page is on the WebSocket's port: the link opens the
    // room in a browser, and the game's Join takes it as well.
    QString page = serverUrl;
    if (page.startsWith(QLatin1String("wss://"), Qt::CaseInsensitive))
        page.replace(0, 3, QStringLiteral("https"));
    else if (page.startsWith(QLatin1String("ws://"), Qt::CaseInsensitive))
        page.replace(0, 2, QStringLiteral("http"));
    return page + QStringLiteral("/?room=") + code;
}

std::optional<Invitation> readInvitation(const QString& typed, QString* rest) {
    static const QRegularExpression link(QStringLiteral("(?:wss?|https?)://\\S+"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch found = link.match(typed);
    if (!found.hasMatch()) return std::nullopt;
    QUrl url(found.captured(), QUrl::StrictMode);
    if (!url.isValid() || !url.hasQuery() || url.hasFragment()) return std::nullopt;
    const QUrlQuery query(url);
    const QString code = query.queryItemValue(QStringLiteral("room")).trimmed().toUpper();
    if (!protocol::isRoomCode(code.toStdString())) return std::nullopt;
    const bool watch = query.hasQueryItem(QStringLiteral("watch"));
    url.setQuery(QString());
    url.setPath(QString());
    const std::optional<QString> server = serverUrl(url.toString());
    if (!server) return std::nullopt;
    if (rest) *rest = (typed.left(found.capturedStart()) + typed.mid(found.capturedEnd())).trimmed();
    return Invitation{*server, code, watch};
}

QStringList reachableAddresses() {
    QStringList v4, v6;
    for (const QNetworkInterface& face : QNetworkInterface::allInterfaces()) {
        const auto flags = face.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : face.addressEntries()) {
            const QHostAddress a = entry.ip();
            if (a.isLoopback() || a.isLinkLocal() || a.isMulticast() || a.isNull()) continue;
            if (a.protocol() == QAbstractSocket::IPv4Protocol)
                v4 << a.toString();
            else if (a.protocol() == QAbstractSocket::IPv6Protocol && a.isGlobal())
                v6 << QLatin1Char('[') + a.toString() + QLatin1Char(']');
        }
    }
    QStringList all = v4 + v6;
    all.removeDuplicates();
    if (all.isEmpty()) all << QStringLiteral("127.0.0.1");
    return all;
}

bool isPlayerName(const QString& name) {
    return !name.trimmed().isEmpty() && protocol::isPlainText(name.toStdString(), saveLimits::kMaxNameLength);
}

}  // namespace capzel::ui
