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
    SimPlatform ui;
    GameContext ctx{g, ui};

    // Sets up the game state and the fixed board layout from the request.
    explicit SimRun(const SimRequest& request);

    // Plays the shot on the engine alone (a request may ask for what no
    // player can do: any strength, a cycle limit, no judging); when asked,
    // the finished shot is then judged by the turn rules as "Go" judges it
    // in the game. An unfinished shot is not judged.
    ShotResult play(const SimRequest& request);
};

}  // namespace capzel::sim
