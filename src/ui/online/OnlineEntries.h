// The checks of what a player types to play online, shared by the dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace capzel::ui {

// The server's address as the client connects to it, ws://host:port or
// wss://host:port, from "host", "host:port", "[::1]:port" or such a URL
// (a trailing slash is dropped; http:// is taken as ws:// and https:// as
// wss://, the server's own page being on the same port); the port is
// kDefaultOnlinePort unless given. Nothing for anything else (another
// scheme, a path, a query, a user, an empty host, a bad port).
std::optional<QString> serverUrl(const QString& typed);

// An invitation to a room: the link of the server's page with the room's
// code, "http://192.0.2.2:47622/?room=A5LLG3" (https:// for a wss://
// server), and "&watch" to join as a spectator. A browser opens the room
// with it; the game's Join takes it, and ws:// links as well.
struct Invitation {
    QString url;  // ws://host:port or wss://host:port
    QString code;
    bool watch = false;
};
QString invitationText(const QString& serverUrl, const QString& code);
// The invitation in a text as pasted (into a box that may hold other
// words): ws://, wss://, http:// or https:// with "?room=CODE" (any case).
// Nothing when the text holds none; `rest` (when given) gets the text
// without it.
std::optional<Invitation> readInvitation(const QString& typed, QString* rest = nullptr);

// The addresses of this computer that another computer can reach it at:
// those of the interfaces that are up, IPv4 first, then global IPv6, as
// they go in a URL ("192.0.2.2", "[2001:db8::2]"); loopback only when
// there is nothing else.
QStringList reachableAddresses();

// A player's name: not blank, no control character, within the saved
// game's length.
bool isPlayerName(const QString& name);

}  // namespace capzel::ui
