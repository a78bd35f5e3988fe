// The Game History's charts: for the names with the most wins, the wins
// counted up game by game and the average shots of the games each played,
// over the history from its oldest game. A long history is drawn with at
// most kTrendColumns points a line (the last value of each stretch of games).
#pragma once

#include <QWidget>
#include <string_view>
#include <vector>

#include "ui/charts/LineCharts.h"

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
// deleted when closed.
QWidget* openHistoryChartWindow(const HistoryTrends& trends, QWidget* parent);

}  // namespace capzel::ui
