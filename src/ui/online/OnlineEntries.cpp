#include "ui/online/OnlineEntries.h"

#include <QUrl>

#include "protocol/Messages.h"
#include "records/SavedGame.h"
#include "ui/online/OnlineChoices.h"

namespace capzel::ui {

std::optional<QString> serverUrl(const QString& typed) {
    QString text = typed.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (!text.contains(QLatin1String("://"))) text.prepend(QLatin1String("ws://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
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

bool isPlayerName(const QString& name) {
    return !name.trimmed().isEmpty() && protocol::isPlainText(name.toStdString(), saveLimits::kMaxNameLength);
}

}  // namespace capzel::ui
