#include "ui/windows/SuggestionOverlay.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "model/WindowState.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {
const QColor kSuggestionColour(0, 255, 128);
}

void keepAimInside(SuggestedShot& s, float width, float height, float margin) {
    const double dx = double(s.x2) - s.x1;
    const double dy = double(s.y2) - s.y1;
    // The largest part of the line, from the piece's centre, whose end is in
    // the area along both axes.
    auto fraction = [margin](double from, double along, double size) {
        const double low = margin;
        const double high = size - margin;
        if (along > 0 && from + along > high) return std::max(0.0, (high - from) / along);
        if (along < 0 && from + along < low) return std::max(0.0, (low - from) / along);
        return 1.0;
    };
    const double t = std::min(fraction(s.x1, dx, width), fraction(s.y1, dy, height));
    if (t >= 1.0) return;
    s.x2 = float(s.x1 + dx * t);
    s.y2 = float(s.y1 + dy * t);
}

QString suggestionCaption(const SuggestedShot& s) {
    return QStringLiteral("Suggested strength: %1 %").arg(s.percent);
}

void paintSuggestion(QPainter& p, const BoardControls& controls, const SuggestedShot& s) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen aim(kSuggestionColour, 2, Qt::DashLine);
    aim.setCapStyle(Qt::RoundCap);
    p.setPen(aim);
    p.drawLine(QPointF(px(s.x1), px(s.y1)), QPointF(px(s.x2), px(s.y2)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(px(s.x2), px(s.y2)), 4, 4);

    // The mark across the bar's place, shown or not: where "Go" stops it.
    const Box& bar = controls.powerBar.box;
    const double y = px(double(bar.top) + s.barLevel);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kSuggestionColour, 3));
    p.drawLine(QPointF(px(bar.left) - 2, y), QPointF(px(double(bar.left) + bar.width) + 6, y));

    // The strength in words, above the "Go" button.
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const QString text = suggestionCaption(s);
    const QFontMetrics m(f);
    const QRectF area(px(bar.left), px(controls.goButton.box.top) - m.height() - 8, m.horizontalAdvance(text) + 8,
                      m.height() + 4);
    p.fillRect(area, Qt::black);
    p.setPen(kSuggestionColour);
    p.drawText(area, Qt::AlignCenter, text);
    p.restore();
}

}  // namespace capzel::ui
