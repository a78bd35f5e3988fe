#include "ui/windows/StatusWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "ui/windows/FramePlacement.h"
#include "ui/windows/StatusCells.h"
#include "ui/windows/Twips.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

namespace {

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3090;
constexpr int kLabelHeight = 195;
constexpr int kHeaderTop = 120;
constexpr int kRuleTop = 480;                               // Line1, 2 pixels wide
constexpr int kSepVertX[5] = {360, 1920, 2760, 3600, 4320};  // sepVert 0..4
constexpr int kSepVertTop = 120;
constexpr capzel::Color kWhite = 0xFFFFFF;

struct CellLayout {
    int left;
    int width;
    Qt::Alignment align;
    const char* name;
    const char* designCaption;  // the text a cell shows until the state fills it
    int columnLeft;             // the column between its separators, in which a
    int columnRight;            // text too long for the cell may still spread
};

// Row cells, in the order of StatusWindow::Column.
constexpr CellLayout kCells[StatusWindow::ColumnCount] = {
    {120, 90, Qt::AlignLeft, "numberLabel", "", 0, 360},
    {480, 1305, Qt::AlignLeft, "nameLabel", "Name", 360, 1920},
    {2280, 90, Qt::AlignHCenter, "positionLabel", "1", 1920, 2760},
    {2760, 855, Qt::AlignHCenter, "directionLabel", "Direction", 2760, 3600},
    {3700, 540, Qt::AlignRight, "scoreLabel", "000000", 3600, 4320},
};

struct HeaderLayout {
    const char* name;
    const char* caption;
    int left;
    int width;
    Qt::Alignment align;
};

constexpr HeaderLayout kHeaders[] = {
    {"numberHeader", "#", 120, 105, Qt::AlignLeft},
    {"nameHeader", "Name", 360, 1500, Qt::AlignHCenter},
    {"positionHeader", "Position", 1920, 795, Qt::AlignHCenter},
    {"directionHeader", "Direction", 2760, 855, Qt::AlignHCenter},
    {"scoreHeader", "Score", 3600, 720, Qt::AlignHCenter},
};

int rowTop(int row) { return 240 + 240 * row; }

QColor toQColor(capzel::Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

void setTextColor(QLabel* label, capzel::Color c) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, toQColor(c));
    label->setPalette(pal);
}

// The default look of the window's texts: 8-point type at the 96 dots per
// inch that the twip layout assumes, whatever the screen's own density. A
// larger window takes the whole pixels that its zoom allows, never more, so
// that no text outgrows the cell laid out for it.
QFont tableFont(const QFont& base, double zoom) {
    QFont f = base;
    f.setPixelSize(int(std::floor(11 * zoom)));
    return f;
}

bool within(int v, int start, int length) { return v >= start && v < start + length; }

}  // namespace

StatusWindow::StatusWindow(const capzel::Game& g, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      g_(g) {
    setObjectName("StatusWindow");
    setWindowTitle(QStringLiteral("Game Status"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(spx(kClientWidth), spx(kClientHeight));
    setFont(tableFont(font(), zoom_));

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setMouseTracking(true);

    fullName_.fill(QString::fromLatin1(kCells[NameColumn].designCaption));
    rowColor_.fill(kWhite);
    rowRuleVisible_.fill(true);
    rowVisible_.fill(true);
    buildHeaders();
    buildRows();
}

void StatusWindow::stateChanged() {
    if (refreshDue_) return;
    refreshDue_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshDue_ = false;
        refreshRows();
    });
}

void StatusWindow::buildHeaders() {
    for (const HeaderLayout& h : kHeaders) {
        auto* label = new QLabel(QString::fromLatin1(h.caption), this);
        label->setObjectName(QString::fromLatin1(h.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(h.align | Qt::AlignTop);
        const auto i = std::size_t(&h - kHeaders);
        headers_[i] = label;
        placeHeader(i);
        // A header does not follow the mouse, so a move over it reaches no
        // handler at all and the highlight stays as it is.
    }
}

void StatusWindow::placeHeader(std::size_t i) {
    const HeaderLayout& h = kHeaders[i];
    fitLabel(headers_[i], QRect(spx(h.left), spx(kHeaderTop), spx(h.width), spx(kLabelHeight)), Column(i));
}

void StatusWindow::setZoom(double zoom) {
    if (zoom == zoom_) return;
    zoom_ = zoom;
    setFixedWidth(spx(kClientWidth));
    setFont(tableFont(font(), zoom));
    for (std::size_t i = 0; i < headers_.size(); ++i) placeHeader(i);
    placePresenceLine();
    for (int row = 1; row <= kMaxPlayers; ++row) {
        for (int c = 0; c < ColumnCount; ++c) fitCell(Column(c), row);
        elideName(row);
    }
    adjustHeight(rowsInUse());
    update();
    if (isVisible()) keepOnScreen(*this);
}

void StatusWindow::buildRows() {
    for (int row = 1; row <= kMaxPlayers; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            const CellLayout& l = kCells[c];
            const QString caption = c == NumberColumn ? QString::number(row) : QString::fromLatin1(l.designCaption);
            auto* label = new QLabel(caption, this);
            label->setObjectName(QString::fromLatin1(l.name) + QString::number(row));
            label->setTextFormat(Qt::PlainText);  // names are the players' own text, never markup
            label->setAlignment(l.align | Qt::AlignTop);
            label->setProperty("row", row);
            label->setMouseTracking(true);
            label->setAttribute(Qt::WA_NoMousePropagation);
            label->installEventFilter(this);
            cells_[c][row] = label;
            fitCell(Column(c), row);
        }
    }
}

void StatusWindow::fitCell(Column c, int row) {
    const CellLayout& l = kCells[c];
    fitLabel(cells_[c][row], QRect(spx(l.left), spx(rowTop(row)), spx(l.width), spx(kLabelHeight)), c);
}

// Places a label at its laid-out rectangle; a text wider than that spreads
// from the label's alignment edge (both ways when centred, and to the right
// once a right-aligned one has no more room on the left), but never past
// its column's separators.
void StatusWindow::fitLabel(QLabel* label, QRect laid, Column c) {
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    if (needed > laid.width()) {
        const Qt::Alignment align = label->alignment();
        const int colLeft = spx(kCells[c].columnLeft) + 2;
        const int colRight = spx(kCells[c].columnRight) - 1;
        const int grown = std::min(needed, colRight - colLeft);
        if (align & Qt::AlignRight) {
            const int right = laid.left() + laid.width();
            const int left = std::max(colLeft, right - grown);
            laid.setLeft(left);
            laid.setRight(std::max(right, left + grown) - 1);
        } else if (align & Qt::AlignHCenter) {
            const int centre2 = 2 * laid.left() + laid.width();  // twice the centre, to stay whole
            laid.moveLeft(std::clamp((centre2 - grown) / 2, colLeft, colRight - grown));
            laid.setWidth(grown);
        } else {
            laid.setWidth(std::min(grown, colRight - laid.left()));
        }
    }
    if (label->geometry() != laid) label->setGeometry(laid);
}

void StatusWindow::setCellText(Column c, int row, const QString& text) {
    QLabel* label = cells_[c][row];
    if (label->text() == text) return;  // an unchanged text would still cost a relayout
    label->setText(text);
    fitCell(c, row);
}

// A name too long for its column ends in an ellipsis instead of a cut letter.
void StatusWindow::setNameText(int row, const QString& name) {
    if (fullName_[row] == name) return;
    fullName_[row] = name;
    elideName(row);
}

void StatusWindow::elideName(int row) {
    const QLabel* label = cells_[NameColumn][row];
    const int room = spx(kCells[NameColumn].columnRight) - 1 - label->x();
    setCellText(NameColumn, row, label->fontMetrics().elidedText(fullName_[row], Qt::ElideRight, room));
}

void StatusWindow::setRowColor(int row, capzel::Color c) {
    c &= kWhite;
    if (rowColor_[row] == c) return;
    rowColor_[row] = c;
    for (int col = 0; col < ColumnCount; ++col) setTextColor(cells_[col][row], c);
    update(0, spx(ruleYTwips(row)) - 1, width(), thick(1) + 2);
}

void StatusWindow::setRowVisible(int row, bool visible) {
    if (rowVisible_[row] != visible) {
        rowVisible_[row] = visible;
        for (int col = 0; col < ColumnCount; ++col) cells_[col][row]->setVisible(visible);
    }
    if (rowRuleVisible_[row] != visible) {
        rowRuleVisible_[row] = visible;
        update(0, spx(ruleYTwips(row)) - 1, width(), thick(1) + 2);
    }
}

void StatusWindow::setRowOut(int row, bool out) {
    QLabel* name = cells_[NameColumn][row];
    if (name->font().strikeOut() == out) return;
    QFont f = name->font();
    f.setStrikeOut(out);
    name->setFont(f);
}

bool StatusWindow::rowMarkedOut(int row) const { return cells_[NameColumn][row]->font().strikeOut(); }

QRect StatusWindow::turnArrowRect(int row) const {
    // In the margin left of the number, as high as the row's text.
    return {thick(1), spx(rowTop(row)) + thick(2), spx(kCells[NumberColumn].left) - thick(2), spx(kLabelHeight) - thick(3)};
}

void StatusWindow::setTurnRow(int row) {
    if (turnRow_ == row) return;
    if (turnRow_ != 0) update(turnArrowRect(turnRow_));
    turnRow_ = row;
    if (turnRow_ != 0) update(turnArrowRect(turnRow_));
}

int StatusWindow::rowsInUse() const { return std::clamp<int>(g_.numberOfPlayers, 0, kMaxPlayers); }

void StatusWindow::refreshRows() {
    const int n = rowsInUse();
    for (int i = 1; i <= n; ++i) {
        if (i != highlightedRow_) setRowColor(i, g_.seats[i].color);
        setRowVisible(i, true);
        setCellText(NumberColumn, i, QString::number(i));
        setNameText(i, QString::fromStdString(g_.seats[i].name));
        const StatusCells cells = statusCells(g_.seats[i].position, g_.seats[i].isKiller);
        setCellText(PositionColumn, i, QString::fromStdString(cells.position));
        if (cells.direction) setCellText(DirectionColumn, i, QString::fromStdString(*cells.direction));
        setCellText(ScoreColumn, i, QString::number(g_.seats[i].score));
        setRowOut(i, marks_ && g_.seats[i].dead);
    }
    setTurnRow(marks_ && g_.gameRunning && g_.currentTurn >= 1 && g_.currentTurn <= n ? g_.currentTurn : 0);
    for (int i = n + 1; i <= kMaxPlayers; ++i) setRowVisible(i, false);

    const int y2 = ruleYTwips(n);
    if (separatorsEndTwips_ != y2) {
        separatorsEndTwips_ = y2;
        placePresenceLine();
        update();
    }
    adjustHeight(n);
}

// The window's outer height follows the rows in use: the last row's rule
// plus 600 twips. Only in the normal state: a minimised, maximised or
// full-screen window keeps its size. Until its own frame is known (the
// window manager adds it some time after showing) the frame is taken to be
// like the other windows' frames, and the height is set again once it is.
void StatusWindow::adjustHeight(int rows) {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const int frameExtra = isWindow() ? frameExtraHeight(*this) : 0;
    const int clientHeight = std::max(1, spx(ruleYTwips(rows) + 600 + presenceHeightTwips()) - frameExtra);
    if (clientHeight != height()) setFixedHeight(clientHeight);
}

void StatusWindow::highlightRow(int row) {
    if (row < 1 || row > kMaxPlayers) return;
    setRowColor(row, kWhite - (g_.seats[row].color & kWhite));
    highlightedRow_ = row;
}

void StatusWindow::unhighlightAll() {
    for (int i = 1; i <= rowsInUse(); ++i) setRowColor(i, g_.seats[i].color);
    highlightedRow_ = 0;
}

void StatusWindow::applyPlayerColors() {
    for (int i = 1; i <= rowsInUse(); ++i) setRowColor(i, g_.seats[i].color);
}

void StatusWindow::setMarks(bool on) {
    if (marks_ == on) return;
    marks_ = on;
    showPresence();
    refreshRows();
    update();
}

void StatusWindow::placeForNewGame() {
    // Where the classic window stands, unless the game's other windows
    // (a larger main window) are there: then beside them, whole on screen.
    placeClear(*this, [this] {
        QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        if (!s) return pos();
        const QRect sg = s->geometry();
        const int left = sg.x() + sg.width() - frameGeometry().width();
        const int top = sg.y() + sg.height() - spx(ruleYTwips(rowsInUse()) + 1050);
        return QPoint(left, top);
    });
}

// True when p lies on one of the drawn rules; moving over them changes nothing.
bool StatusWindow::onALine(QPoint p) const {
    if (within(p.y(), spx(kRuleTop), thick(2))) return true;
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (rowRuleVisible_[i] && within(p.y(), spx(ruleYTwips(i)), thick(1))) return true;
    const int top = spx(kSepVertTop);
    if (within(p.y(), top, spx(separatorsEndTwips_) - top + thick(1)))
        for (int x : kSepVertX)
            if (within(p.x(), spx(x), thick(1))) return true;
    return false;
}

void StatusWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    painter.fillRect(0, spx(kRuleTop), w, thick(2), Qt::white);
    const int top = spx(kSepVertTop);
    const int bottom = spx(separatorsEndTwips_);
    for (int x : kSepVertX) painter.fillRect(spx(x), top, thick(1), bottom - top + thick(1), Qt::white);
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (rowRuleVisible_[i]) painter.fillRect(0, spx(ruleYTwips(i)), w, thick(1), toQColor(rowColor_[i]));
    if (turnRow_ != 0) {
        const QRectF r = turnArrowRect(turnRow_);
        const QPointF arrow[] = {r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()};
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPolygon(arrow, 3);
    }
    paintPresence(painter);
}

void StatusWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!onALine(event->position().toPoint())) unhighlightAll();
}

bool StatusWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const QVariant row = watched->property("row");
        if (row.isValid()) {
            highlightRow(row.toInt());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StatusWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) applyPlayerColors();
    QWidget::changeEvent(event);
}

void StatusWindow::showEvent(QShowEvent* event) {
    // Fill the table before the first paint.
    refreshRows();
    QWidget::showEvent(event);
    whenFrameKnown(*this, [this] { adjustHeight(rowsInUse()); });
}

}  // namespace capzel::ui
