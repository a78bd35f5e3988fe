// The "Game History" window: every finished game of the history file,
// newest first (date, winner, shots, and each player with seat and final
// score), and beside it the number of wins of every name that played. It
// shows the history it is given and deletes itself when closed.
#pragma once

#include <QWidget>
#include <vector>

#include "records/GameHistory.h"

class QTreeWidget;

namespace capzel::ui {

class GameHistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit GameHistoryWindow(QWidget* parent = nullptr);

    // Fills both lists from `games` (oldest first, as the file holds them).
    void showGames(const std::vector<HistoryGame>& games);

    QTreeWidget* gameList() const { return games_; }
    QTreeWidget* winList() const { return wins_; }

private:
    QTreeWidget* games_;
    QTreeWidget* wins_;
};

}  // namespace capzel::ui
