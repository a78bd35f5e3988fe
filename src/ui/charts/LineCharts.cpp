#include "ui/charts/LineCharts.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace capzel::ui {

namespace {

// Ticks on whole numbers only, about six of them, at 1, 2 or 5 times a
// power of ten apart.
double wholeStep(double span) {
    const double rough = std::max(1.0, span / 6);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= rough) return m * power;
    return 10 * power;
}

QValueAxis* wholeAxis(const QString& title, double low, double high) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%d"));
    low = std::floor(low);
    high = std::max(std::ceil(high), low + 1);
    const double step = wholeStep(high - low);
    low = std::floor(low / step) * step;
    // A little room above the highest value, so its point is not cut.
    high = std::ceil((high + (high - low) / 20) / step) * step;
    axis->setRange(low, high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
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
    const int count = int(lines.size());
    for (int k = 0; k < count; ++k) {
        const ChartLine& line = lines[std::size_t(k)];
        auto* series = new QLineSeries;
        series->setName(line.name);
        series->append(line.points);
        // A short line shows its points too: a single one is no line at all.
        series->setPointsVisible(line.points.size() < 40);
        // Each line is drawn over the ones before it, a little thinner and
        // with smaller points, so that lines and points that are equal
        // still show each other's colour around them.
        const int under = count - 1 - k;
        series->setMarkerSize(6 + 2 * under);
        chart->addSeries(series);  // the chart's theme colours it first
        QPen pen = series->pen();
        if (line.color.isValid()) pen.setColor(line.color);
        pen.setWidth(2 + under);
        series->setPen(pen);
        series->setBrush(pen.color());
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
