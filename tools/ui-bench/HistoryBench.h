// The Game History figures of ui_bench: a history of many games opened in
// the window, and games ending with the window open and closed.
#pragma once

#include <functional>

namespace capzel::ui {
class CapzelApp;
}

namespace capzel::tools {

// Writes a history of `games` games into the user's history file (the data
// folder must be a scratch one), then reports through `report`:
//   history.games            games in the file
//   history.file_mb          its size
//   history.open_s           Extras > Game History until the window is painted
//   history.wins_s           until the wins of every name are counted and shown
//   history.open_rss_mb      resident memory after that
//   history.rss_growth_mb    what opening the window added to it
//   history.charts_open_ms   "Charts..." clicked until its window is painted
//   history.charts_s         until its charts are drawn
//   history.end_open_ms      a game's end with the window open (median of runs)
//   history.end_closed_ms    a game's end with the window closed (median of runs)
//   history.messages         messages shown (a history set aside: none expected)
void historyFigures(ui::CapzelApp& app, int games, int runs,
                    const std::function<void(const char*, double)>& report);

}  // namespace capzel::tools
