// The computer's suggestion for the shot of the person at the board, drawn
// over the field: a dashed aim line from the piece's centre to the point to
// drag to, a mark on the power bar where to press "Go", and the strength in
// words. It is only a picture; nothing of the game changes.
#pragma once

#include <QString>

class QPainter;

namespace capzel {
struct BoardControls;
}

namespace capzel::ui {

struct SuggestedShot {
    float x1 = 0, y1 = 0;  // the piece's centre, in field twips
    float x2 = 0, y2 = 0;  // the point the aim line runs to
    int barLevel = 0;      // the bar's level (a row from its top) at which "Go" stops it
    int percent = 0;       // how full the bar is then, 1 to 100
};

// Shortens the aim line so that its end, where the drag goes, lies at least
// `margin` twips inside the area from (0, 0) to (width, height); its
// direction from the piece's centre stays as it is.
void keepAimInside(SuggestedShot& s, float width, float height, float margin);

// The strength in words: "Suggested strength: 62 %".
QString suggestionCaption(const SuggestedShot& s);

void paintSuggestion(QPainter& p, const BoardControls& controls, const SuggestedShot& s);

}  // namespace capzel::ui
