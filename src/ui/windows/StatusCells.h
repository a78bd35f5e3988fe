// What the status window writes into a row's position and direction cells
// for a player's target number and killer flag. Kept free of any window so
// the table of cases reads on its own.
#pragma once

#include <optional>
#include <string>

namespace capzel::ui {

struct StatusCells {
    std::string position;
    // The direction to show, or nothing when the cell keeps the text it had
    // (back in box 1 at the end of the way down, and on the letters).
    std::optional<std::string> direction;
};

inline StatusCells statusCells(int position, bool isKiller) {
    if (isKiller) return {"X", "KILLER"};
    const int p = position;
    if (p < 25 && p <= 13) return {std::to_string(p), "Forward"};
    if (p < 25) return {std::to_string(26 - p), "Backward"};
    if (p == 25) return {"1", std::nullopt};
    // The letters A to D for 26 to 29. A position pushed far beyond the
    // course by hand has no printable letter: show its number instead.
    const int code = p + 39;
    if (code >= 33 && code <= 126) return {std::string(1, char(code)), std::nullopt};
    return {std::to_string(p), std::nullopt};
}

}  // namespace capzel::ui
