// What the page draws, as JSON text it parses: the field's fixed layout
// once (the boxes with their labels, the field's picture, the centre's
// diagonals, where the power bar, "Go" and the aim label sit), and the
// client's state whenever it changed (the shown game's shapes in the
// desktop's drawing order, the bar's rows, "Go", the status table, the
// waiting line, the last shot's comparison with the server). All places
// are in twips; the page scales them to its canvas and decides nothing.
#pragma once

#include <string>

#include "web/WebClient.h"

namespace capzel::web {

std::string layoutJson();
std::string viewJson(const WebClient& client);
// The events taken from the client, as a JSON list.
std::string eventsJson(const std::vector<WebEvent>& events);

}  // namespace capzel::web
