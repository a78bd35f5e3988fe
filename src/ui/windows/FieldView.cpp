#include "ui/windows/FieldView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/Game.h"
#include "controls/TurnController.h"
#include "rules/Hints.h"
#include "ui/windows/FieldBackground.h"
#include "ui/windows/InputCodes.h"
#include "ui/windows/Twips.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

namespace {

QColor qcolor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QPointF pt(float x, float y) { return {px(x), px(y)}; }

QRectF boxRect(const Box& b) { return pxRect(b.left, b.top, b.width, b.height); }

// One shape of the drawing order: a box drawn as a rectangle or a circle,
// or a line. `order` is its place as laid out, used among equal Z values.
struct Shape {
    enum Kind { Rect, Circle, Segment } kind;
    const Box* box = nullptr;
    const Line* line = nullptr;
    int z = 0;
    int order = 0;
};

void drawLine(QPainter& p, const Line& l) {
    QPen pen(qcolor(l.lineColor), std::max(1, l.borderWidth));
    pen.setCapStyle(Qt::FlatCap);
    if (l.style == LineStyle::DashDotDot) pen.setStyle(Qt::DashDotDotLine);
    p.setPen(pen);
    p.drawLine(pt(l.x1, l.y1), pt(l.x2, l.y2));
}

// The bold aim: the drag line 3 px wide in a bright colour, and an arrow
// from the piece's centre the other way, where the shot sends the piece,
// as long as the drag but at least a piece's width and at most the field's
// tenth.
void drawBoldAim(QPainter& p, const Line& l, double fieldWidthPx) {
    const QColor bright(255, 210, 0);
    QPen pen(bright, 3);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const QPointF piece = pt(l.x1, l.y1);
    const QPointF drag = pt(l.x2, l.y2);
    p.drawLine(piece, drag);
    const QPointF back = piece - drag;
    const double length = std::hypot(back.x(), back.y());
    if (length < 1) return;
    const double arrow = std::clamp(length, 24.0, fieldWidthPx / 10);
    const QPointF unit = back / length;
    const QPointF tip = piece + unit * arrow;
    p.drawLine(piece, tip - unit * 6);
    const QPointF side(-unit.y(), unit.x());
    const QPointF head[] = {tip, tip - unit * 12 + side * 6, tip - unit * 12 - side * 6};
    p.setPen(Qt::NoPen);
    p.setBrush(bright);
    p.drawPolygon(head, 3);
}

// A hash of what the game's loops change on the field beyond the power
// bar's rows: the pieces, the aim line, the bar's visibility, the "Go"
// button and the drawing order. The bar's rows are told apart by its
// revision. Commands and mouse moves repaint on their own when they return.
template <class Drawn>
std::uint64_t loopFingerprint(const Drawn& drawn, const BoardControls& c) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    auto mix = [&h](const void* data, std::size_t n) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    };
    auto mixValue = [&mix](auto v) { mix(&v, sizeof v); };
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const Box& p = drawn.pieces[std::size_t(i)];
        mixValue(p.left);
        mixValue(p.top);
        mixValue(p.visible);
        mixValue(p.fillColor);
    }
    // A computer's aim is drawn out step by step as well.
    mixValue(drawn.aim.visible);
    mixValue(drawn.aim.x2);
    mixValue(drawn.aim.y2);
    mixValue(c.powerBar.box.visible);
    mixValue(c.goButton.box.visible);
    mixValue(c.order.counter);
    return h | 1;  // never 0, which stands for "nothing painted yet"
}

}  // namespace

FieldView::FieldView(const TurnController& turn, const FieldMarkings& marks, QWidget* parent)
    : QWidget(parent), turn_(turn), marks_(marks), go_(new QPushButton(this)) {
    setObjectName(QStringLiteral("fieldView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // moves without a button place a piece by hand
    setFocusPolicy(Qt::StrongFocus);
    go_->setObjectName(QStringLiteral("goButton"));
    go_->setToolTip(QStringLiteral("Stops the power bar and shoots (keys: Space or Enter)"));
    barFrame_.setSingleShot(true);
    barFrame_.setTimerType(Qt::PreciseTimer);
    connect(&barFrame_, &QTimer::timeout, this, [this] { update(powerBarRect()); });
    syncGoButton();
}

const ShotReplay* FieldView::replayShown() const { return turn_.replay(); }

const Game& FieldView::shown() const {
    const ShotReplay* replay = replayShown();
    return replay ? replay->game() : turn_.match().game();
}

const BoardControls& FieldView::shownControls() const {
    const ShotReplay* replay = replayShown();
    return replay ? replay->controls() : turn_.controls();
}

FieldView::DrawnPieces FieldView::drawnPieces() const {
    const Game& g = shown();
    DrawnPieces drawn{g.board.pieces, g.board.pointer};
    if (replayShown() || g.shotInProgress) return drawn;
    const PendingShot& pending = turn_.pending();
    if (pending.placement && g.isPlayer(g.currentTurn)) {
        drawn.pieces[std::size_t(g.currentTurn)].left = pending.placement->left;
        drawn.pieces[std::size_t(g.currentTurn)].top = pending.placement->top;
    }
    Line& aim = drawn.aim;
    aim.x1 = pending.aim.x1;
    aim.y1 = pending.aim.y1;
    aim.x2 = pending.aim.x2;
    aim.y2 = pending.aim.y2;
    aim.visible = pending.aim.visible;
    return drawn;
}

QSize FieldView::designSize() const {
    return {int(std::lround(width() / zoom_)), int(std::lround(height() / zoom_))};
}

void FieldView::setZoom(double zoom) {
    if (zoom == zoom_) return;
    const QSize design = designSize();
    zoom_ = zoom;
    zoomFont(*go_, zoom);
    syncGoButton();
    setFixedSize(int(std::lround(design.width() * zoom)), int(std::lround(design.height() * zoom)));
    update();
}

QRectF FieldView::onWidget(const QRectF& field) const {
    return {field.topLeft() * zoom_, field.size() * zoom_};
}

QPointF FieldView::toTwips(QPointF widgetPoint) const {
    return {twips(widgetPoint.x() / zoom_), twips(widgetPoint.y() / zoom_)};
}

void FieldView::syncGoButton() {
    const Button& b = shownControls().goButton;
    const QString caption = QString::fromStdString(b.caption);
    if (go_->text() != caption) go_->setText(caption);
    const QRect r = onWidget(boxRect(b.box)).toRect();
    if (go_->geometry() != r) go_->setGeometry(r);
    if (go_->isVisibleTo(this) != b.box.visible) go_->setVisible(b.box.visible);
}

void FieldView::setHints(const Game* game) {
    if (hintsFrom_ == game) return;
    hintsFrom_ = game;
    update();
}

void FieldView::setBoldAim(bool bold) {
    if (boldAim_ == bold) return;
    boldAim_ = bold;
    update();
}

void FieldView::syncShownField() {
    const bool replay = replayShown() != nullptr;
    if (showingReplay_ == replay) return;
    showingReplay_ = replay;
    syncGoButton();
    update();
}

void FieldView::setSuggestion(const std::optional<SuggestedShot>& s) {
    if (!s && !suggestion_) return;
    suggestion_ = s;
    update();
}

FieldView::Staleness FieldView::staleness() const {
    const BoardControls& c = shownControls();
    if (paintedFingerprint_ != loopFingerprint(drawnPieces(), c)) return Staleness::Field;
    if (c.powerBar.box.visible && paintedBarRevision_ != c.powerBar.revision) return Staleness::PowerBar;
    return Staleness::None;
}

QRect FieldView::powerBarRect() const { return onWidget(boxRect(shownControls().powerBar.box)).toAlignedRect(); }

// One frame of the screen's refresh (60 a second when it does not say).
int FieldView::frameMs() const {
    const QScreen* s = screen();
    const double hz = s && s->refreshRate() > 1 ? s->refreshRate() : 60.0;
    return std::clamp(int(std::lround(1000.0 / hz)), 1, 100);
}

void FieldView::updatePowerBar() {
    if (!barFrame_.isActive()) barFrame_.start(frameMs());
}

void FieldView::paintEvent(QPaintEvent* event) {
    const qreal dpr = devicePixelRatioF();
    if (background_.isNull() || background_.devicePixelRatio() != dpr)
        background_ = renderFieldBackground(shown().board, marks_, size(), dpr, zoom_);

    // Only what the paint covers as a whole counts as shown.
    const QRegion painted = event->region();
    if (QRegion(rect()).subtracted(painted).isEmpty()) paintedFingerprint_ = loopFingerprint(drawnPieces(), shownControls());
    if (QRegion(powerBarRect()).subtracted(painted).isEmpty())
        paintedBarRevision_ = shownControls().powerBar.revision;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
    // Everything else is drawn in the field's designed pixels.
    if (zoom_ != 1.0) p.scale(zoom_, zoom_);
    paintTargetHint(p);
    paintShapes(p);
    paintPieceHints(p);
    paintLabel(p);
    paintPowerBar(p);
    if (suggestion_ && !replayShown()) paintSuggestion(p, turn_.controls(), *suggestion_);
    paintReplayMark(p);
}

// While a replay runs the field says so, in its top right corner.
void FieldView::paintReplayMark(QPainter& p) const {
    if (!replayShown()) return;
    QFont f = font();
    f.setPixelSize(std::max(12, height() / 30));
    f.setBold(true);
    p.setFont(f);
    const QString text = QStringLiteral("Replay");
    const QFontMetrics metrics(f);
    const int pad = metrics.height() / 4;
    QRect r = metrics.boundingRect(text).adjusted(-2 * pad, -pad, 2 * pad, pad);
    r.moveTopRight(QPoint(width() - 2 * pad, 2 * pad));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 40, 220));
    p.drawRoundedRect(r, pad, pad);
    p.setPen(QColor(255, 255, 160));
    p.drawText(r, Qt::AlignCenter, text);
}

void FieldView::paintShapes(QPainter& p) const {
    const Board& b = shown().board;
    const DrawnPieces drawn = drawnPieces();
    const DrawingOrder& z = shownControls().order;
    std::vector<Shape> shapes;
    shapes.reserve(64);
    int order = 0;
    auto addBox = [&](const Box& x, Shape::Kind kind, int front = 0) {
        if (x.visible) shapes.push_back({kind, &x, nullptr, front, order});
        ++order;
    };
    auto addLine = [&](const Line& l, int front = 0) {
        if (l.visible) shapes.push_back({Shape::Segment, nullptr, &l, front, order});
        ++order;
    };
    for (int j = 1; j <= kWallCount; ++j) addBox(b.walls[j], Shape::Rect);
    addLine(b.leftLine);
    addLine(b.rightLine);
    addBox(b.pieceHolder, Shape::Rect);
    for (int i = 1; i <= kMaxPlayers; ++i) addBox(drawn.pieces[std::size_t(i)], Shape::Circle, z.pieces[std::size_t(i)]);
    for (const Line& l : marks_.centerLines) addLine(l);
    for (int g = 0; g < kGuideCount; ++g)
        if (FieldMarkings::guideExists(g)) addLine(marks_.guideLines[std::size_t(g)], z.guides[std::size_t(g)]);
    addLine(drawn.aim, z.pointer);

    std::stable_sort(shapes.begin(), shapes.end(), [](const Shape& a, const Shape& c) {
        return a.z != c.z ? a.z < c.z : a.order < c.order;
    });

    for (const Shape& s : shapes) {
        switch (s.kind) {
        case Shape::Rect:
            p.setRenderHint(QPainter::Antialiasing, false);
            p.fillRect(boxRect(*s.box), qcolor(s.box->fillColor));
            break;
        case Shape::Circle:
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(qcolor(s.box->fillColor));
            p.drawEllipse(boxRect(*s.box));
            break;
        case Shape::Segment:
            if (boldAim_ && s.line == &drawn.aim) {
                p.setRenderHint(QPainter::Antialiasing, true);
                drawBoldAim(p, *s.line, width());
                break;
            }
            p.setRenderHint(QPainter::Antialiasing, false);
            drawLine(p, *s.line);
            break;
        }
    }
}

void FieldView::paintTargetHint(QPainter& p) const {
    if (!hintsFrom_) return;
    const FieldHints h = fieldHints(*hintsFrom_, shown().board, turn_.charging());
    if (!h.target) return;
    // Just inside the box's own white outline, which stays as it is.
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(qcolor(h.colour), 3);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(boxRect(*h.target).adjusted(4, 4, -4, -4));
}

void FieldView::paintPieceHints(QPainter& p) const {
    if (!hintsFrom_) return;
    const FieldHints h = fieldHints(*hintsFrom_, shown().board, turn_.charging());
    if (h.piece == 0) return;
    // A ring a few pixels off the piece, so that the field's black shows
    // between them whatever the piece's colour: solid around the player's
    // own piece, dashed around each piece a killer can take.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    const DrawnPieces drawn = drawnPieces();
    auto ring = [&](int i, Qt::PenStyle style) {
        const Box& b = drawn.pieces[std::size_t(i)];
        if (!b.visible) return;
        QPen pen(qcolor(h.colour), 2, style);
        p.setPen(pen);
        p.drawEllipse(boxRect(b).adjusted(-4, -4, 4, 4));
    };
    ring(h.piece, Qt::SolidLine);
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (h.prey[std::size_t(i)]) ring(i, Qt::DashLine);
}

void FieldView::paintLabel(QPainter& p) const {
    const Label& l = shownControls().aimLabel;
    if (!l.box.visible || l.caption.empty()) return;
    QString text = QString::fromStdString(l.caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QFont f = font();
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(boxRect(l.box), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

void FieldView::paintPowerBar(QPainter& p) const {
    const PowerBar& bar = shownControls().powerBar;
    if (!bar.box.visible) return;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(boxRect(bar.box), Qt::white);
    p.save();
    p.setClipRect(boxRect(bar.box));
    // Each drawn row is a one-pixel line at its twip row; a span covers the
    // pixel rows from its top row to its bottom row.
    const QColor blue(0, 0, 255);
    for (const PowerBar::Span& s : bar.drawn) {
        const double y0 = std::floor(px(double(bar.box.top) + std::min(s.top, s.bottom)));
        const double y1 = std::floor(px(double(bar.box.top) + std::max(s.top, s.bottom)));
        const double x0 = px(double(bar.box.left) + std::min(s.x1, s.x2));
        const double x1 = px(double(bar.box.left) + std::max(s.x1, s.x2));
        p.fillRect(QRectF(x0, y0, std::max(1.0, x1 - x0), y1 - y0 + 1.0), blue);
    }
    p.restore();
}

void FieldView::mousePressEvent(QMouseEvent* event) { event->accept(); }

void FieldView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = toTwips(event->position());
    if (onMouseMove) onMouseMove(buttonSet(event->buttons()), shiftSet(event->modifiers()), float(at.x()), float(at.y()));
}

void FieldView::mouseReleaseEvent(QMouseEvent* event) {
    // The release reports the button that went up.
    const QPointF at = toTwips(event->position());
    if (onMouseUp) onMouseUp(buttonSet(event->button()), shiftSet(event->modifiers()), float(at.x()), float(at.y()));
}

void FieldView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    background_ = QPixmap();
    if (onResized) onResized();
}

}  // namespace capzel::ui
