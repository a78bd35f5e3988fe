// The main window's client area: draws every element of the field from the
// model (it keeps no game state of its own), carries the real "Go" button,
// and turns mouse events into the handlers' buttons, shift keys and twips.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "ui/windows/SuggestionOverlay.h"

class QPushButton;

namespace capzel {
struct Field;
struct GameState;
}

namespace capzel::ui {

class FieldView : public QWidget {
    Q_OBJECT
public:
    FieldView(const Field& field, QWidget* parent);

    QPushButton* goButton() const { return go_; }

    // Shows, hides, places and labels the "Go" button as the model says.
    void syncGoButton();

    // Marks the current player's piece and target between shots, from the
    // game state `game`; null draws the field without them.
    void setHints(const GameState* game);

    // Draws `other` instead of the window's own field (a replay of the
    // last shot); null goes back to the own field.
    void showField(const Field* other);
    // The computer's suggestion for a person's shot, drawn over the field;
    // none clears it.
    void setSuggestion(const std::optional<SuggestedShot>& s);
    const std::optional<SuggestedShot>& suggestion() const { return suggestion_; }

    // False while the picture on screen still shows what the game's loops
    // change (the pieces, the power bar, the "Go" button): a repaint asked
    // for during a loop would then show the same frame twice.
    bool isStale() const;

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

    const Field& shown() const { return other_ ? *other_ : field_; }

    const Field& field_;
    const Field* other_ = nullptr;
    const GameState* hintsFrom_ = nullptr;
    std::optional<SuggestedShot> suggestion_;
    QPushButton* go_;
    QPixmap background_;
    std::uint64_t paintedFingerprint_ = 0;  // of the last paint; 0 before any
};

}  // namespace capzel::ui
