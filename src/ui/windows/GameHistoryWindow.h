// The "Game History" window: every finished game of the history file,
// newest first (date, winner, shots, and each player with seat and final
// score), and beside it the number of wins of every name that played. The
// games are read as they are shown; the wins are counted on a thread of
// their own, the list saying so meanwhile. Below them, "Clear History..."
// (which asks first) and "Close". Beside them, for the game chosen in the
// list, "Watch" (when its record was kept) and "Export Game Record...",
// and "Charts..." once the wins are counted. It deletes itself when closed.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "records/GameHistory.h"

class QPushButton;
class QThread;
class QTreeView;
class QTreeWidget;

namespace capzel::ui {

struct HistoryFileState;
class HistoryTableModel;

class GameHistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit GameHistoryWindow(QWidget* parent = nullptr);
    ~GameHistoryWindow() override;

    // Shows the history read from its file and starts counting its wins.
    void showHistory(const HistoryFileState& history);
    // A game just added at the end of the file.
    void addGame(const HistoryGame& game);

    QTreeView* gameList() const { return games_; }
    QTreeWidget* winList() const { return wins_; }
    bool counting() const { return counter_ != nullptr; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* watchButton() const { return watch_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* chartsButton() const { return charts_; }

    // Whether a game's record was kept (none: no game has one).
    std::function<bool(const HistoryGame&)> hasRecord;
    // The game chosen in the list, when there is one.
    std::optional<HistoryGame> chosenGame() const;

signals:
    // Counting found a line that is not a game ("line 12: ...").
    void brokenLine(const QString& why);
    // The player asked to clear the history and said yes to the question.
    void clearConfirmed();
    // "Watch" and "Export Game Record..." for the chosen game.
    void watchRequested(const capzel::HistoryGame& game);
    void exportRequested(const capzel::HistoryGame& game);

private:
    void stopCounting();
    void countingDone(const WinTally& tally, const HistoryReading& reading);
    void showWins();
    void askToClear();
    void syncGameButtons();
    void showCharts();

    HistoryTableModel* model_;
    QTreeView* games_;
    QTreeWidget* wins_;
    QPushButton* clear_;
    QPushButton* close_;
    QPushButton* watch_;
    QPushButton* export_;
    QPushButton* charts_;
    std::unique_ptr<QThread> counter_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::optional<WinTally> tally_;           // once counted
    std::vector<HistoryGame> addedMeanwhile_;  // games added while counting
};

}  // namespace capzel::ui
