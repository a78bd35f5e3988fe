#include "ui/charts/GameChart.h"

#include <QChartView>
#include <QVBoxLayout>

#include "model/Game.h"
#include "ui/charts/LineCharts.h"

namespace capzel::ui {

void GameStandings::takePlayers(const Game& g) {
    names.clear();
    colors.clear();
    for (int i = 1; g.isPlayer(i); ++i) {
        names.push_back(QString::fromStdString(g.seats[i].name));
        const Color c = g.seats[i].color;
        colors.push_back(lineColor(QColor(redOf(c), greenOf(c), blueOf(c))));
    }
}

void GameStandings::addRow(const Game& g) {
    Row row;
    for (int i = 1; i <= int(names.size()) && g.isPlayer(i); ++i) {
        row.scores.push_back(g.seats[i].score);
        row.positions.push_back(g.seats[i].position);
    }
    rows.push_back(std::move(row));
}

namespace {

template <class Value>
std::vector<ChartLine> linesOf(const GameStandings& s, std::vector<Value> GameStandings::Row::*column) {
    std::vector<ChartLine> lines(s.names.size());
    for (std::size_t p = 0; p < lines.size(); ++p) {
        lines[p].name = s.names[p];
        lines[p].color = s.colors[p];
    }
    for (std::size_t shot = 0; shot < s.rows.size(); ++shot) {
        const auto& values = s.rows[shot].*column;
        for (std::size_t p = 0; p < values.size() && p < lines.size(); ++p)
            lines[p].points.append(QPointF(double(shot), double(values[p])));
    }
    return lines;
}

}  // namespace

GameChart::GameChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gameChart"));
    new QVBoxLayout(this);
    layout()->setContentsMargins(0, 0, 0, 0);
}

void GameChart::setStandings(const GameStandings& standings) {
    delete charts_;
    charts_ = new QWidget(this);
    auto* column = new QVBoxLayout(charts_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(lineChart("scoreChart", {QStringLiteral("Score"), QStringLiteral("Shot"), QStringLiteral("Score")},
                                linesOf(standings, &GameStandings::Row::scores), charts_));
    column->addWidget(lineChart("courseChart",
                                {QStringLiteral("Course position"), QStringLiteral("Shot"), QStringLiteral("Box")},
                                linesOf(standings, &GameStandings::Row::positions), charts_));
    layout()->addWidget(charts_);
}

QWidget* openGameChartWindow(const GameStandings& standings, const QString& title, double zoom) {
    auto* window = new GameChart;
    window->setObjectName(QStringLiteral("gameChartWindow"));
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // It comes up beside the high scores without taking the keyboard.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setStandings(standings);
    window->resize(int(560 * zoom + 0.5), int(620 * zoom + 0.5));
    window->show();
    return window;
}

}  // namespace capzel::ui
