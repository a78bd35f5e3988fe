#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "app/App.h"
#include "app/AppOnline.h"
#include "ui/online/OnlineEntries.h"
#include "platform/SafeWrite.h"
#include "desktop/ProgramFolder.h"

namespace {

// "LRN": a seat per letter: L a person at this computer, R a remote
// player, N, C, S or E the computer at Novice, Club, Strong or Expert.
std::optional<capzel::ui::HostChoices> hostChoicesOf(quint16 port, const QString& seats, const QString& name) {
    using capzel::ui::HostSeat;
    capzel::ui::HostChoices choices;
    choices.port = port;
    int local = 0;
    for (const QChar c : seats.toUpper()) {
        HostSeat seat;
        switch (c.toLatin1()) {
        case 'L': seat = {local++ == 0 ? name.toStdString() : "Player " + std::to_string(choices.seats.size() + 1),
                          HostSeat::Who::ThisComputer, capzel::PlayerKind::Human}; break;
        case 'R': seat = {"", HostSeat::Who::Remote, capzel::PlayerKind::Human}; break;
        case 'N': seat = {"Novice", HostSeat::Who::Computer, capzel::PlayerKind::Novice}; break;
        case 'C': seat = {"Club", HostSeat::Who::Computer, capzel::PlayerKind::Club}; break;
        case 'S': seat = {"Strong", HostSeat::Who::Computer, capzel::PlayerKind::Strong}; break;
        case 'E': seat = {"Expert", HostSeat::Who::Computer, capzel::PlayerKind::Expert}; break;
        default: return std::nullopt;
        }
        choices.seats.push_back(seat);
    }
    if (choices.seats.empty() || choices.seats.size() > 8 || local == 0) return std::nullopt;
    return choices;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // "capzel game.json" or "capzel --watch game.json": the game record is
    // watched at once, and no unfinished game is offered meanwhile.
    // "capzel --host-online PORT" hosts an online game, "capzel --join
    // ws://host:port CODE NAME" joins one (taking back a seat kept for it),
    // and so does "capzel --join http://host:port/?room=CODE NAME", the
    // invitation's link as a browser opens it.
    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({QStringLiteral("watch"), QStringLiteral("Watch the game record in <file>."),
                       QStringLiteral("file")});
    options.addOption({QStringLiteral("host-online"), QStringLiteral("Host an online game on <port>."),
                       QStringLiteral("port")});
    options.addOption({QStringLiteral("seats"),
                       QStringLiteral("The hosted game's seats, one letter each: L here, R remote, N/C/S/E the "
                                      "computer (default LR)."),
                       QStringLiteral("letters"), QStringLiteral("LR")});
    options.addOption({QStringLiteral("player"), QStringLiteral("The host's name."), QStringLiteral("name"),
                       QStringLiteral("Host")});
    options.addOption({QStringLiteral("join"), QStringLiteral("Join the online game at <url>: CODE NAME follow."),
                       QStringLiteral("url")});
    options.addOption({QStringLiteral("spectate"), QStringLiteral("Join only to watch.")});
    options.addPositionalArgument(QStringLiteral("record"), QStringLiteral("A game record (.json) to watch."));
    options.process(qapp);
    QString record = options.value(QStringLiteral("watch"));
    const QStringList positional = options.positionalArguments();
    const bool joining = options.isSet(QStringLiteral("join"));
    if (record.isEmpty() && !joining && !positional.isEmpty()) record = positional.front();

    // What a copy of the game killed half-way through a save left behind.
    for (const std::string& folder : {capzel::ui::userDataFolder(), capzel::ui::userDataFolder() + "/records"})
        capzel::removeStaleTemporaryFiles(folder);
    capzel::ui::CapzelApp app;
    app.openMainWindow();
    QObject::connect(&app.onlinePlay(), &capzel::ui::OnlinePlay::roomJoined, [&app](const QString& code) {
        QString seats;
        for (int seat : app.onlinePlay().game()->mySeats()) seats += QStringLiteral(" %1").arg(seat);
        std::printf("room %s seats%s\n", qPrintable(code), qPrintable(seats));
        std::fflush(stdout);
    });
    if (options.isSet(QStringLiteral("host-online"))) {
        bool ok = false;
        const uint port = options.value(QStringLiteral("host-online")).toUInt(&ok);
        const auto choices = hostChoicesOf(quint16(port), options.value(QStringLiteral("seats")),
                                           options.value(QStringLiteral("player")));
        QString error = QStringLiteral("the port or the seats are not right");
        if (!ok || port > 65535 || !choices || !app.onlinePlay().host(*choices, &error)) {
            std::fprintf(stderr, "capzel: the online game cannot be hosted: %s\n", qPrintable(error));
            return 2;
        }
    } else if (joining) {
        const QString address = options.value(QStringLiteral("join"));
        const auto invitation = capzel::ui::readInvitation(address);
        if (positional.size() != (invitation ? 1 : 2)) {
            std::fprintf(stderr, "capzel: --join needs the address, the room's code and a name\n");
            return 2;
        }
        const capzel::ui::JoinChoices choices =
            invitation ? capzel::ui::JoinChoices{invitation->url.toStdString(), invitation->code.toStdString(),
                                                 positional[0].toStdString(),
                                                 invitation->watch || options.isSet(QStringLiteral("spectate"))}
                       : capzel::ui::JoinChoices{capzel::ui::serverUrl(address).value_or(address).toStdString(),
                                                 positional[0].toUpper().toStdString(), positional[1].toStdString(),
                                                 options.isSet(QStringLiteral("spectate"))};
        std::optional<std::string> token;
        const auto kept = capzel::ui::keptOnlineSeat();
        if (kept && !choices.spectate && kept->code.toStdString() == choices.code) token = kept->token;
        app.onlinePlay().join(choices, token);
    } else if (record.isEmpty()) {
        app.offerResume();
    } else {
        app.watchRecordFile(record.toStdString());
    }
    return QApplication::exec();
}
