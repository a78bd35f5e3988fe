// The checks of what a player types to play online, shared by the dialogs.
#pragma once

#include <QString>
#include <optional>

namespace capzel::ui {

// The server's address as the client connects to it, ws://host:port or
// wss://host:port, from "host", "host:port", "[::1]:port" or such a URL
// (a trailing slash is dropped); the port is kDefaultOnlinePort unless
// given. Nothing for anything else (another scheme, a path, a user,
// an empty host, a bad port).
std::optional<QString> serverUrl(const QString& typed);

// A player's name: not blank, no control character, within the saved
// game's length.
bool isPlayerName(const QString& name);

}  // namespace capzel::ui
