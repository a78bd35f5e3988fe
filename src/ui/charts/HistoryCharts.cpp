#include "ui/charts/HistoryCharts.h"

#include <QChartView>
#include <QVBoxLayout>
#include <algorithm>

#include "records/GameHistory.h"

namespace capzel::ui {

TrendGatherer::TrendGatherer(const std::vector<std::string>& names, std::size_t gameCount)
    : names_(names), tallies_(names.size()), gameCount_(std::max<std::size_t>(gameCount, 1)) {
    for (const std::string& name : names_) {
        trends_.wins.push_back({QString::fromStdString(name), {}, {}});
        trends_.averageShots.push_back({QString::fromStdString(name), {}, {}});
    }
}

// Points of one stretch of games share a column: the later replaces the
// earlier, so a line holds at most kTrendColumns points.
void TrendGatherer::put(ChartLine& line, double x, double y) {
    const auto column = [this](double at) { return long(at) * kTrendColumns / long(gameCount_ + 1); };
    if (!line.points.isEmpty() && column(line.points.back().x()) == column(x))
        line.points.back() = QPointF(x, y);
    else
        line.points.append(QPointF(x, y));
}

void TrendGatherer::add(const HistoryGame& game) {
    ++seen_;
    const std::string winner = game.winnerName();
    for (std::size_t n = 0; n < names_.size(); ++n) {
        const bool played = std::any_of(game.players.begin(), game.players.end(),
                                        [&](const HistoryPlayer& p) { return p.name == names_[n]; });
        if (!played) continue;
        Tally& t = tallies_[n];
        ++t.games;
        t.shots += game.shots;
        if (winner == names_[n]) ++t.wins;
        put(trends_.wins[n], double(seen_), t.wins);
        put(trends_.averageShots[n], double(seen_), double(t.shots) / t.games);
    }
}

QWidget* openHistoryChartWindow(const HistoryTrends& trends, QWidget* parent) {
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("historyCharts"));
    window->setWindowTitle(QStringLiteral("Game History Charts"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(window);
    column->addWidget(lineChart("winsChart", {QStringLiteral("Wins"), QStringLiteral("Game"), QStringLiteral("Wins")},
                                trends.wins, window));
    column->addWidget(lineChart("shotsChart",
                                {QStringLiteral("Average shots a game"), QStringLiteral("Game"), QStringLiteral("Shots")},
                                trends.averageShots, window));
    window->resize(600, 640);
    window->show();
    return window;
}

}  // namespace capzel::ui
