// The live status window: one row per player with number, name, position,
// direction and score, rebuilt from the shared game state whenever the game
// says it changed (stateChanged). It only reads the state. Moving the mouse over a row lights it up in the
// complementary colours; the background puts every row back. With the
// status marks on (a helper, off in the classic window), beside the classic
// columns an arrow in the left margin points at the row whose turn it is,
// and the name of a player who is out is struck through; in an online game
// a dot in the right margin shows who is connected (a ring: a dropped
// player awaited), and a line beneath the table names whom the game waits
// for.
//
// Usage: `auto* w = new StatusWindow(g); w->show(); w->placeForNewGame();
// w->refreshRows();` The window deletes itself when it is closed, so
// keep it in a QPointer.
#pragma once

#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/Game.h"
#include "protocol/Messages.h"
#include "ui/windows/Twips.h"

class QLabel;
class QPainter;

namespace capzel::ui {

class StatusWindow : public QWidget {
    Q_OBJECT

public:
    // The five cells of a row, left to right.
    enum Column { NumberColumn = 0, NameColumn, PositionColumn, DirectionColumn, ScoreColumn, ColumnCount };

    explicit StatusWindow(const capzel::Game& g, QWidget* parent = nullptr);

    // Rebuilds every row from the game state at once.
    void refreshRows();

    // The game state may have changed: the rows are rebuilt once the events
    // at hand have been handled (many changes in a row cost one rebuild).
    void stateChanged();

    // Colours row `row` (1..8) in the complementary colour of its player and
    // remembers it as the highlighted row.
    void highlightRow(int row);

    // Gives every row of the running game its player's colour again and
    // forgets the highlighted row.
    void unhighlightAll();

    // What the window does when it becomes active: colour rows 1..N.
    void applyPlayerColors();

    // The window shown `zoom` times its designed size (1 is the designed
    // size): every cell, rule and text grows alike, and a window on screen
    // stays within it.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

    // The marks beside the classic columns: the turn arrow, struck-through
    // names, and who is connected in an online game. Off at first.
    void setMarks(bool on);
    bool marks() const { return marks_; }

    // Puts the window at the bottom right of the screen, as at the start of
    // a game. Call it after show(), so the frame's size is known.
    void placeForNewGame();

    int highlightedRow() const { return highlightedRow_; }

    // The cell of row `row` (1..8) in column `c`, for inspection.
    const QLabel* cell(Column c, int row) const { return cells_[c][row]; }

    // Colour of row `row` (its labels and its rule), red + 256 green + 65536 blue.
    capzel::Color rowColor(int row) const { return rowColor_[row]; }

    bool rowRuleVisible(int row) const { return rowRuleVisible_[row]; }

    // The row the turn arrow points at (0: none, no game runs), and whether
    // row `row` is marked as out of the game.
    int turnRow() const { return turnRow_; }
    bool rowMarkedOut(int row) const;
    // Where the turn arrow of row `row` is drawn, in pixels.
    QRect turnArrowRect(int row) const;

    // Who of an online game's players is connected, by seat (= row); empty
    // when the game is not online, the window then as it always was.
    void setPresence(const std::vector<protocol::SeatStatus>& seats);
    // The presence shown on row `row` (1..8), if any, and the line beneath.
    const protocol::SeatStatus* presenceOf(int row) const;
    const QLabel* presenceLine() const { return presenceLine_; }
    // Where row `row`'s presence dot is drawn, in pixels.
    QRect presenceDotRect(int row) const;

    // Lower end of the column separators, in twips.
    int separatorsEndTwips() const { return separatorsEndTwips_; }

    // y1 of linSep i in twips (i = 0 is the rule under the headers).
    static int ruleYTwips(int i) { return 480 + 240 * i; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildHeaders();
    void buildRows();
    void placeHeader(std::size_t i);
    void elideName(int row);
    // Twips to this window's pixels, and a line `px` pixels thick at the
    // designed size as drawn at the window's zoom.
    int spx(double twips) const { return ipx(twips, zoom_); }
    int thick(int px) const { return std::max(px, int(std::lround(px * zoom_))); }
    void setRowColor(int row, capzel::Color c);
    void setCellText(Column c, int row, const QString& text);
    void setNameText(int row, const QString& name);
    void setRowVisible(int row, bool visible);
    void setRowOut(int row, bool out);
    void setTurnRow(int row);
    void fitCell(Column c, int row);
    void fitLabel(QLabel* label, QRect laid, Column c);
    void adjustHeight(int rows);
    bool onALine(QPoint p) const;
    int rowsInUse() const;
    void placePresenceLine();
    void showPresence();
    void paintPresence(QPainter& painter) const;
    int presenceHeightTwips() const;

    const capzel::Game& g_;
    bool refreshDue_ = false;
    double zoom_ = 1.0;
    bool marks_ = false;
    std::array<QLabel*, ColumnCount> headers_{};
    int highlightedRow_ = 0;
    int turnRow_ = 0;

    std::array<std::array<QLabel*, kMaxPlayers + 1>, ColumnCount> cells_{};
    std::array<QString, kMaxPlayers + 1> fullName_{};  // before any ellipsis
    std::array<capzel::Color, kMaxPlayers + 1> rowColor_{};
    std::array<bool, kMaxPlayers + 1> rowRuleVisible_{};
    std::array<bool, kMaxPlayers + 1> rowVisible_{};
    int separatorsEndTwips_ = 2400;
    std::vector<protocol::SeatStatus> presence_;
    QLabel* presenceLine_ = nullptr;
};

}  // namespace capzel::ui
