#include "ui/charts/LineCharts.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace capzel::ui {

namespace {

QValueAxis* wholeAxis(const QString& title, double low, double high) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    if (high <= low) high = low + 1;
    axis->setRange(std::floor(low), std::ceil(high));
    axis->applyNiceNumbers();
    return axis;
}

}  // namespace

QColor lineColor(QColor pieceColor) {
    if (!pieceColor.isValid()) return pieceColor;
    return pieceColor.lightness() > 190 ? pieceColor.darker(170) : pieceColor;
}

QChartView* lineChart(const char* name, const ChartAxes& axes, const std::vector<ChartLine>& lines,
                      QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(axes.title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1;
    for (const ChartLine& line : lines)
        for (const QPointF& p : line.points) {
            xLow = std::min(xLow, p.x());
            xHigh = std::max(xHigh, p.x());
            yLow = std::min(yLow, p.y());
            yHigh = std::max(yHigh, p.y());
        }
    QValueAxis* x = wholeAxis(axes.xTitle, xLow, xHigh);
    QValueAxis* y = wholeAxis(axes.yTitle, yLow, yHigh);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (const ChartLine& line : lines) {
        auto* series = new QLineSeries;
        series->setName(line.name);
        series->append(line.points);
        if (line.color.isValid()) {
            QPen pen(line.color);
            pen.setWidth(2);
            series->setPen(pen);
        }
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 220);
    return view;
}

}  // namespace capzel::ui
