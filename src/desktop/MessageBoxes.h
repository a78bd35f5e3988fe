// The game's message, question and input boxes: titled "Capzel", no icon,
// and every text shown as plain text (a player's name is never markup).
#pragma once

#include <QString>

class QWidget;

namespace capzel::ui {

inline const QString kTitle = QStringLiteral("Capzel");

// The boxes' type `zoom` times its usual size, as the player's size makes
// the game's windows (1 at first).
void setBoxZoom(double zoom);
double boxZoom();

// Modal box with an OK button.
void showMessage(QWidget* parent, const QString& text);

// The same box, closed by itself after `closeAfterMs` unless somebody has
// clicked OK sooner: the messages of a turn that nobody at the board plays.
void showPassingMessage(QWidget* parent, const QString& text, int closeAfterMs);

// The same box, not modal: the game goes on behind it (an online game,
// whose other players' shots are shown meanwhile). Boxes given while one is
// open wait their turn and open, in order, as each is closed.
void showLooseMessage(QWidget* parent, const QString& text);
// The loose box open now, if any.
QWidget* openLooseMessage();

// Modal box with Yes and No; true for Yes.
bool askYesNo(QWidget* parent, const QString& text);

// Input box: the prompt, an empty field, OK and Cancel (Cancel gives "").
QString askInput(QWidget* parent, const QString& prompt);

}  // namespace capzel::ui
