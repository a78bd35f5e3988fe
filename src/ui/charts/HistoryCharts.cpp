#include "ui/charts/HistoryCharts.h"

#include <QChartView>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "records/GameHistory.h"
#include "records/NewGame.h"

namespace capzel::ui {

TrendGatherer::TrendGatherer(const std::vector<std::string>& names, std::size_t gameCount)
    : names_(names), tallies_(names.size()), gameCount_(std::max<std::size_t>(gameCount, 1)) {
    // The history keeps no colours: the names take the players' colours of
    // a new game, by their rank in wins.
    for (std::size_t n = 0; n < names_.size(); ++n) {
        const Color c = defaultPlayerColor(int(n % kMaxPlayers) + 1);
        const QColor colour = lineColor(QColor(redOf(c), greenOf(c), blueOf(c)));
        trends_.wins.push_back({QString::fromStdString(names_[n]), colour, {}});
        trends_.averageShots.push_back({QString::fromStdString(names_[n]), colour, {}});
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

HistoryChartWindow::HistoryChartWindow(Gather gather, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("historyCharts"));
    setWindowTitle(QStringLiteral("Game History Charts"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* column = new QVBoxLayout(this);
    reading_ = new QLabel(QStringLiteral("Reading the history..."), this);
    reading_->setAlignment(Qt::AlignCenter);
    column->addWidget(reading_);
    resize(600, 640);
    show();

    // The trends come back as an event, which the window's end (it waits
    // for the thread) drops.
    gatherer_.reset(QThread::create([this, gather = std::move(gather), stop = stop_] {
        HistoryTrends trends = gather(*stop);
        if (*stop) return;
        QMetaObject::invokeMethod(
            this, [this, trends = std::move(trends), stop] {
                if (!*stop) showTrends(trends);
            },
            Qt::QueuedConnection);
    }));
    gatherer_->start();
}

HistoryChartWindow::~HistoryChartWindow() { stopGathering(); }

void HistoryChartWindow::stopGathering() {
    if (!gatherer_) return;
    *stop_ = true;
    gatherer_->wait();
    gatherer_.reset();
}

void HistoryChartWindow::showTrends(const HistoryTrends& trends) {
    gatherer_->wait();  // it has finished: this only joins it
    gatherer_.reset();
    delete reading_;
    reading_ = nullptr;
    layout()->addWidget(lineChart("winsChart", {QStringLiteral("Wins"), QStringLiteral("Game"), QStringLiteral("Wins")},
                                  trends.wins, this));
    layout()->addWidget(lineChart(
        "shotsChart", {QStringLiteral("Average shots a game"), QStringLiteral("Game"), QStringLiteral("Shots")},
        trends.averageShots, this));
}

}  // namespace capzel::ui
