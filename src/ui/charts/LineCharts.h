// Line charts drawn with Qt Charts: one line per name, x and y counted in
// whole numbers, the legend below. Shared by the game's chart (score and
// course position shot by shot) and the history's (wins and shots over time).
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <vector>

class QChartView;
class QWidget;

namespace capzel::ui {

struct ChartLine {
    QString name;
    QColor color;  // invalid: the chart's own colour
    QList<QPointF> points;
};

struct ChartAxes {
    QString title;
    QString xTitle;
    QString yTitle;
};

// A chart of `lines` in a view of its own (object name `name`).
QChartView* lineChart(const char* name, const ChartAxes& axes, const std::vector<ChartLine>& lines,
                      QWidget* parent);

// A piece's colour as a line on a white chart: a colour too light to see
// there is darkened.
QColor lineColor(QColor pieceColor);

}  // namespace capzel::ui
