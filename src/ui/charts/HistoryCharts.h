// The Game History's charts: for the names with the most wins, the wins
// counted up game by game and the average shots of the games each played,
// over the history from its oldest game. A long history is drawn with at
// most kTrendColumns points a line (the last value of each stretch of games).
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/charts/LineCharts.h"

class QLabel;
class QThread;

namespace capzel {
struct HistoryGame;
}

namespace capzel::ui {

inline constexpr int kTrendNames = 8;
inline constexpr int kTrendColumns = 400;

struct HistoryTrends {
    std::vector<ChartLine> wins;
    std::vector<ChartLine> averageShots;
};

// Gathers the trends of `names` from games handed over oldest first.
class TrendGatherer {
public:
    TrendGatherer(const std::vector<std::string>& names, std::size_t gameCount);
    void add(const HistoryGame& game);
    HistoryTrends take() { return std::move(trends_); }

private:
    struct Tally {
        int wins = 0;
        int games = 0;
        long long shots = 0;
    };
    void put(ChartLine& line, double x, double y);

    std::vector<std::string> names_;
    std::vector<Tally> tallies_;
    std::size_t gameCount_;
    std::size_t seen_ = 0;
    HistoryTrends trends_;
};

// The two charts in a window of its own (object name "historyCharts"),
// deleted when closed. The window shows at once; `gather` reads the history
// on a thread of the window's own (a long history takes a while), a line
// saying so standing in for the charts meanwhile. It looks at `stop` between
// games: the window's end stops it and waits for it.
class HistoryChartWindow : public QWidget {
    Q_OBJECT
public:
    using Gather = std::function<HistoryTrends(const std::atomic<bool>& stop)>;
    HistoryChartWindow(Gather gather, QWidget* parent);
    ~HistoryChartWindow() override;

    bool gathering() const { return gatherer_ != nullptr; }

private:
    void showTrends(const HistoryTrends& trends);
    void stopGathering();

    QLabel* reading_;
    std::unique_ptr<QThread> gatherer_;
    std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace capzel::ui
