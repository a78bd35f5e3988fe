// "How to Play" (Help menu): the game explained in one window, each part
// beside a small picture drawn by the field view itself: aiming, the power
// bar, the course of boxes, killers, placing by hand, the keys, friction and
// the settings. There is one such window at a time; it has no parent, so it
// stays open across new games, and deletes itself when closed.
#pragma once

#include <QWidget>

namespace capzel::ui {

class HowToPlayWindow : public QWidget {
    Q_OBJECT
public:
    HowToPlayWindow();

    // Opens the window, or brings the open one to the front; gives it.
    static HowToPlayWindow* showOne();
    // The open window, if any.
    static HowToPlayWindow* openOne();
};

}  // namespace capzel::ui
