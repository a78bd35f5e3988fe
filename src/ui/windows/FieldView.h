// The main window's client area: draws every element of the field and the
// turn's controls from the session (it keeps no game state of its own), and
// while a replay runs the replay's copy instead; carries the real "Go" button,
// and turns mouse events into the handlers' buttons, shift keys and twips.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "ui/windows/SuggestionOverlay.h"

class QPushButton;

#include <array>

#include "model/Board.h"

namespace capzel {
class ShotReplay;
struct BoardControls;
struct FieldMarkings;
struct Game;
class TurnController;
}

namespace capzel::ui {

class FieldView : public QWidget {
    Q_OBJECT
public:
    // Draws the game of `turn`'s match (or its replay's copy) with the
    // window's `marks`, both of which must outlive the view.
    FieldView(const TurnController& turn, const FieldMarkings& marks, QWidget* parent);

    QPushButton* goButton() const { return go_; }

    // The view shown `zoom` times its designed size (1 is the designed size):
    // everything drawn and the "Go" button grow alike, and the mouse still
    // reports the same twips. The view's own fixed size follows.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // The view's size at zoom 1, in logical pixels.
    QSize designSize() const;

    // Shows, hides, places and labels the "Go" button as the model says.
    void syncGoButton();

    // Marks the current player's piece and target between shots, from the
    // game state `game`; null draws the field without them.
    void setHints(const Game* game);

    // The bold aim line: thick and bright, with an arrow from the piece
    // showing where it will go; the classic thin line otherwise.
    void setBoldAim(bool bold);
    bool boldAim() const { return boldAim_; }

    // The replay may have started or ended: "Go" and the picture follow.
    void syncShownField();
    // The computer's suggestion for a person's shot, drawn over the field;
    // none clears it.
    void setSuggestion(const std::optional<SuggestedShot>& s);
    const std::optional<SuggestedShot>& suggestion() const { return suggestion_; }

    // What the picture on screen lacks of what the game's loops change:
    // nothing (a repaint would show the same frame twice), only rows of the
    // power bar, or more of the field (the pieces, the aim line, the bar's
    // visibility, the "Go" button).
    enum class Staleness { None, PowerBar, Field };
    Staleness staleness() const;
    bool isStale() const { return staleness() != Staleness::None; }

    // Repaints the power bar's rectangle alone, once the current frame of
    // the display is over: the bar's ticks within one frame (a tick is far
    // shorter) cost one paint, and the state after the last one is shown.
    void updatePowerBar();
    QRect powerBarRect() const;

    // Mouse handlers: buttons, shift keys, X and Y in window twips.
    std::function<void(int, int, float, float)> onMouseMove;
    std::function<void(int, int, float, float)> onMouseUp;
    std::function<void()> onResized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintShapes(QPainter& p) const;
    void paintPowerBar(QPainter& p) const;
    void paintLabel(QPainter& p) const;
    void paintTargetHint(QPainter& p) const;
    void paintPieceHints(QPainter& p) const;
    void paintReplayMark(QPainter& p) const;

    // What is drawn: the replay's copy while a replay runs, asked at every
    // paint and look, so that the view never keeps a pointer into a run
    // that may have ended; the game and the turn's controls otherwise.
    const ShotReplay* replayShown() const;
    const Game& shown() const;
    const BoardControls& shownControls() const;
    // The pieces and the aim line as drawn: the shown game's, with what the
    // player has set for the next shot (a piece placed by hand, the aim) on
    // them while no shot or replay runs.
    struct DrawnPieces {
        std::array<Box, kMaxPlayers + 1> pieces;
        Line aim;
    };
    DrawnPieces drawnPieces() const;
    int frameMs() const;
    // A rectangle of the field, in the widget's own pixels.
    QRectF onWidget(const QRectF& field) const;
    QPointF toTwips(QPointF widgetPoint) const;

    const TurnController& turn_;
    const FieldMarkings& marks_;
    bool showingReplay_ = false;
    bool boldAim_ = false;
    const Game* hintsFrom_ = nullptr;
    std::optional<SuggestedShot> suggestion_;
    QPushButton* go_;
    double zoom_ = 1.0;
    QPixmap background_;
    std::uint64_t paintedFingerprint_ = 0;  // of the last whole paint; 0 before any
    int paintedBarRevision_ = -1;           // of the last paint of the bar's rectangle
    QTimer barFrame_;                       // the bar's repaint at the end of the frame
};

}  // namespace capzel::ui
