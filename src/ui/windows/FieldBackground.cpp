#include "ui/windows/FieldBackground.h"

#include "model/WindowState.h"

#include <QFont>
#include <QPainter>
#include <cmath>
#include <string>

#include "model/Board.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {

// Box numbers and letters: bold, about a third of a box high.
constexpr int kNumberPixelSize = 24;
constexpr int kLetterPixelSize = 20;

// Regions drawn as boxes: 1..13 (the way out) and A..D.
constexpr int kDrawnSpots[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 26, 27, 28, 29};

QFont labelFont(int pixelSize) {
    QFont f;
    f.setBold(true);
    f.setPixelSize(pixelSize);
    return f;
}

// A one-pixel outline along the edges of `r` as drawn with a one-pixel pen
// (right and bottom edges included), as four fills: a larger field scales
// them as the pixels they are, where a wider pen would straddle its line.
void outline(QPainter& p, const QRect& r) {
    p.fillRect(QRect(r.left(), r.top(), r.width() + 1, 1), Qt::white);
    p.fillRect(QRect(r.left(), r.top() + r.height(), r.width() + 1, 1), Qt::white);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() + 1), Qt::white);
    p.fillRect(QRect(r.left() + r.width(), r.top(), 1, r.height() + 1), Qt::white);
}

}  // namespace

QRect outlineRect(float left, float top, float width, float height) {
    const int l = ipx(left);
    const int t = ipx(top);
    const int r = ipx(double(left) + double(width)) - 1;
    const int b = ipx(double(top) + double(height)) - 1;
    // A QRect drawn with a one-pixel pen covers left..left+width inclusive.
    return QRect(l, t, r - l, b - t);
}

QPixmap renderFieldBackground(const Board& board, const FieldMarkings& marks, QSize logicalSize, qreal devicePixelRatio,
                              double zoom) {
    QPixmap pm(QSize(int(std::ceil(logicalSize.width() * devicePixelRatio)),
                     int(std::ceil(logicalSize.height() * devicePixelRatio))));
    pm.setDevicePixelRatio(devicePixelRatio);
    pm.fill(Qt::black);

    QPainter p(&pm);
    p.scale(zoom, zoom);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen white(Qt::white, 1);
    white.setCapStyle(Qt::SquareCap);
    white.setJoinStyle(Qt::MiterJoin);
    p.setPen(white);
    p.setBrush(Qt::NoBrush);

    // The picture's frame along its four edges.
    const Box& img = marks.fieldPicture;
    outline(p, outlineRect(img.left, img.top, img.width, img.height));

    // The boxes and their labels.
    for (int k : kDrawnSpots) {
        const Box& s = board.spots[k];
        const QRect r = outlineRect(s.left, s.top, s.width, s.height);
        outline(p, r);
        p.setFont(labelFont(k >= 26 ? kLetterPixelSize : kNumberPixelSize));
        p.drawText(r.adjusted(1, 1, 0, 0), Qt::AlignCenter, QString::fromStdString(spotLabel(k)));
    }

    // The diagonal sides of the octagon.
    for (const Line& l : marks.centerLines)
        p.drawLine(QPointF(px(l.x1), px(l.y1)), QPointF(px(l.x2), px(l.y2)));
    return pm;
}

}  // namespace capzel::ui
