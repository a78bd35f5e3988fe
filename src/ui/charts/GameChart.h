// The chart of one game: every player's score and course position, shot by
// shot, from the game's start (shot 0) to its last judged shot. Shown when a
// game ends and beside the field while a game is watched.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace capzel {
struct Game;
}

namespace capzel::ui {

// Where every player stood after each shot; player i of the game at index
// i - 1 of every row.
struct GameStandings {
    std::vector<QString> names;
    std::vector<QColor> colors;
    struct Row {
        std::vector<std::int32_t> scores;
        std::vector<int> positions;
    };
    std::vector<Row> rows;  // rows[0]: the start, rows[k]: after shot k

    // The names and colours of `g`'s players (once, before the rows).
    void takePlayers(const Game& g);
    // Where `g`'s players stand now, as the next row.
    void addRow(const Game& g);
};

// Two charts, score above and course position below (object names
// "scoreChart" and "courseChart").
class GameChart : public QWidget {
    Q_OBJECT
public:
    explicit GameChart(QWidget* parent = nullptr);
    // Draws `standings` afresh.
    void setStandings(const GameStandings& standings);

private:
    QWidget* charts_ = nullptr;
};

// The chart of a finished game in a window of its own, `zoom` times its
// designed size, deleted when closed.
QWidget* openGameChartWindow(const GameStandings& standings, const QString& title, double zoom = 1.0);

}  // namespace capzel::ui
