// One headless run: the board set up from a request, the shot, the judging.
#pragma once

#include "SimRequest.h"
#include "engine/Shot.h"
#include "model/GameContext.h"
#include "model/GameSetup.h"
#include "SimPlatform.h"

namespace capzel::sim {

class SimRun {
public:
    Game g;
    Field field;
    SimPlatform ui;
    GameContext ctx{g, field, ui};

    // Sets up the game state and the fixed board layout from the request.
    explicit SimRun(const SimRequest& request);

    // Plays the shot; when asked, the finished shot is then judged by the
    // turn rules as "Go" judges it in the game. An unfinished shot is not
    // judged.
    ShotResult play(const SimRequest& request);
};

}  // namespace capzel::sim
