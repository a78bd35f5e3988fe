// The Extras menu's online commands and the offer, at start-up, to take a
// kept online seat back.
#include <QHostInfo>

#include "app/App.h"
#include "app/AppOnline.h"
#include "desktop/MessageBoxes.h"
#include "ui/online/HostOnlineDialog.h"
#include "ui/online/JoinOnlineDialog.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/WindowZoom.h"
#include "network/LanDiscovery.h"

namespace capzel::ui {

OnlinePlay& CapzelApp::onlinePlay() {
    if (!online_) online_ = new OnlinePlay(*this, this);
    return *online_;
}

void CapzelApp::hostOnlineGame() {
    HostOnlineDialog dialog(mainWindow());
    zoomFont(dialog, shownZoom());
    if (dialog.exec() != QDialog::Accepted) return;
    QString error;
    if (!onlinePlay().host(dialog.choices(), &error))
        showMessage(mainWindow(), QStringLiteral("The online game cannot be hosted: ") + error);
}

void CapzelApp::joinOnlineGame() {
    JoinOnlineDialog dialog(mainWindow());
    zoomFont(dialog, shownZoom());
    network::LanBrowser browser;
    connect(&browser, &network::LanBrowser::gamesChanged, &dialog, &JoinOnlineDialog::setGames);
    browser.start();
    if (dialog.exec() != QDialog::Accepted) return;
    const JoinChoices choices = dialog.choices();
    // A seat this computer held in the same room is taken back.
    std::optional<std::string> token;
    if (const auto kept = keptOnlineSeat(); kept && kept->code == QString::fromStdString(choices.code) &&
                                           network::GameClient::serverUrl(kept->url) ==
                                               network::GameClient::serverUrl(QString::fromStdString(choices.url)))
        token = kept->token;
    onlinePlay().join(choices, choices.spectate ? std::nullopt : token);
}

bool CapzelApp::offerRejoin() {
    const std::optional<KeptSeat> kept = keptOnlineSeat();
    if (!kept) return false;
    const QString question = QStringLiteral("You were playing in online game %1 at %2. Take your seat back?")
                                 .arg(kept->code, kept->url);
    if (!askYesNo(mainWindow(), question)) {
        forgetOnlineSeat();
        return false;
    }
    QString error;
    if (!onlinePlay().rejoin(*kept, &error)) {
        showMessage(mainWindow(), QStringLiteral("The online game cannot be hosted again: ") + error);
        return false;
    }
    return true;
}

}  // namespace capzel::ui
