#include "ui/online/OnlineChoices.h"

#include <QSettings>
#include <algorithm>

#include "model/Board.h"

namespace capzel::ui {

namespace {

QSettings store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Capzel"), QStringLiteral("Capzel")); }

int whole(const QSettings& s, const QString& key, int fallback, int low, int high) {
    bool ok = false;
    const int v = s.value(key, fallback).toInt(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

std::string text(const QSettings& s, const QString& key) { return s.value(key).toString().toStdString(); }

}  // namespace

HostChoices loadHostChoices() {
    const QSettings s = store();
    HostChoices c;
    c.port = quint16(whole(s, QStringLiteral("online/host/port"), kDefaultOnlinePort, 1, 65535));
    c.walls = s.value(QStringLiteral("online/host/walls"), c.walls).toBool();
    const int seats = whole(s, QStringLiteral("online/host/seats"), 1, 1, kMaxPlayers);
    for (int i = 1; i <= seats; ++i) {
        const QString at = QStringLiteral("online/host/seat%1/").arg(i);
        HostSeat seat;
        seat.name = text(s, at + QStringLiteral("name"));
        seat.who = HostSeat::Who(whole(s, at + QStringLiteral("who"), 0, 0, int(HostSeat::Who::Computer)));
        seat.kind = PlayerKind(whole(s, at + QStringLiteral("kind"), 0, 0, int(PlayerKind::Strong)));
        if (seat.who != HostSeat::Who::Computer) seat.kind = PlayerKind::Human;
        else if (seat.kind == PlayerKind::Human) seat.kind = PlayerKind::Novice;
        c.seats.push_back(seat);
    }
    if (std::none_of(c.seats.begin(), c.seats.end(), [](const HostSeat& h) { return h.who == HostSeat::Who::ThisComputer; }))
        c.seats.front() = HostSeat{c.seats.front().name, HostSeat::Who::ThisComputer, PlayerKind::Human};
    return c;
}

void saveHostChoices(const HostChoices& c) {
    QSettings s = store();
    s.setValue(QStringLiteral("online/host/port"), int(c.port));
    s.setValue(QStringLiteral("online/host/walls"), c.walls);
    s.setValue(QStringLiteral("online/host/seats"), int(c.seats.size()));
    for (std::size_t i = 0; i < c.seats.size(); ++i) {
        const QString at = QStringLiteral("online/host/seat%1/").arg(i + 1);
        s.setValue(at + QStringLiteral("name"), QString::fromStdString(c.seats[i].name));
        s.setValue(at + QStringLiteral("who"), int(c.seats[i].who));
        s.setValue(at + QStringLiteral("kind"), int(c.seats[i].kind));
    }
    s.sync();
}

JoinChoices loadJoinChoices() {
    const QSettings s = store();
    return {text(s, QStringLiteral("online/join/url")), text(s, QStringLiteral("online/join/code")),
            text(s, QStringLiteral("online/join/name")), s.value(QStringLiteral("online/join/spectate"), false).toBool()};
}

void saveJoinChoices(const JoinChoices& c) {
    QSettings s = store();
    s.setValue(QStringLiteral("online/join/url"), QString::fromStdString(c.url));
    s.setValue(QStringLiteral("online/join/code"), QString::fromStdString(c.code));
    s.setValue(QStringLiteral("online/join/name"), QString::fromStdString(c.name));
    s.setValue(QStringLiteral("online/join/spectate"), c.spectate);
    s.sync();
}

}  // namespace capzel::ui
