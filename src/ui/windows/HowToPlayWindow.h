// "How to Play" (Help menu): the game explained in one window, each part
// beside a small picture drawn by the field view itself: aiming, the power
// bar, the course of boxes, killers, placing by hand, the keys, friction and
// the settings, the helpers. There is one such window at a time; it has no
// parent, so it stays open across new games, deletes itself when closed, and
// closes with Esc. It is shown at the player's size, whole on the screen.
#pragma once

#include <QWidget>

namespace capzel::ui {

class HowToPlayWindow : public QWidget {
    Q_OBJECT
public:
    explicit HowToPlayWindow(double zoom = 1.0);

    // Opens the window at `zoom` times its designed size, or brings the open
    // one to the front; gives it.
    static HowToPlayWindow* showOne(double zoom = 1.0);
    // The open window, if any.
    static HowToPlayWindow* openOne();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace capzel::ui
