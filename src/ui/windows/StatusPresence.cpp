// The status window in an online game: who is connected, beside the classic
// columns (a dot in the right margin, a tooltip on the name) and a line
// beneath the table naming the players the game waits for.
#include <QLabel>
#include <QPainter>
#include <QStringList>

#include "ui/windows/StatusWindow.h"

namespace capzel::ui {

namespace {

using protocol::SeatPresence;
using protocol::SeatStatus;

constexpr int kDotCentreX = 4500;     // in the margin right of the last separator
constexpr int kDotSize = 105;
constexpr int kLineGap = 90;          // between the last rule and the presence line
constexpr int kPresenceHeight = 330;  // what the line adds to the window's height
constexpr int kLineLeft = 120;
constexpr int kLineWidth = 4440;
constexpr int kLineHeight = 195;

QString waitingText(const SeatStatus& s) { return QStringLiteral("waiting for %1…").arg(QString::fromStdString(s.name)); }

QString presenceTip(const SeatStatus& s) {
    switch (s.presence) {
    case SeatPresence::Connected: return QStringLiteral("%1 is connected").arg(QString::fromStdString(s.name));
    case SeatPresence::Waiting: return waitingText(s);
    case SeatPresence::Computer: return QStringLiteral("The computer plays this seat");
    case SeatPresence::Open: break;
    }
    return QStringLiteral("Nobody has taken this seat yet");
}

}  // namespace

int StatusWindow::presenceHeightTwips() const { return presence_.empty() || !marks_ ? 0 : kPresenceHeight; }

const SeatStatus* StatusWindow::presenceOf(int row) const {
    for (const SeatStatus& s : presence_)
        if (s.seat == row) return &s;
    return nullptr;
}

QRect StatusWindow::presenceDotRect(int row) const {
    const int size = std::max(5, spx(kDotSize));
    const int top = spx(ruleYTwips(row - 1) + 100) - size / 2;  // the middle of the row's text
    return {spx(kDotCentreX) - size / 2, top, size, size};
}

void StatusWindow::setPresence(const std::vector<SeatStatus>& seats) {
    if (seats == presence_) return;
    presence_ = seats;
    showPresence();
}

void StatusWindow::showPresence() {
    if (!presenceLine_) {
        presenceLine_ = new QLabel(this);
        presenceLine_->setObjectName(QStringLiteral("presenceLine"));
        presenceLine_->setTextFormat(Qt::PlainText);  // names are the players' own text
        presenceLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QStringList waiting;
    for (int row = 1; row <= kMaxPlayers; ++row) {
        const SeatStatus* s = presenceOf(row);
        cells_[NameColumn][row]->setToolTip(s && marks_ ? presenceTip(*s) : QString());
        if (s && s->presence == SeatPresence::Waiting) waiting << waitingText(*s);
    }
    presenceLine_->setText(waiting.isEmpty() ? QStringLiteral("Online: every player is here") : waiting.join(QStringLiteral(", ")));
    presenceLine_->setVisible(marks_ && !presence_.empty());
    placePresenceLine();
    adjustHeight(rowsInUse());
    update();
}

void StatusWindow::placePresenceLine() {
    if (!presenceLine_) return;
    presenceLine_->setGeometry(spx(kLineLeft), spx(separatorsEndTwips_ + kLineGap), spx(kLineWidth), spx(kLineHeight));
}

// A filled dot for a connected player, a ring for one awaited; nothing for
// the computer's seats.
void StatusWindow::paintPresence(QPainter& painter) const {
    if (presence_.empty() || !marks_) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 1; row <= rowsInUse(); ++row) {
        const SeatStatus* s = presenceOf(row);
        if (!s || (s->presence != SeatPresence::Connected && s->presence != SeatPresence::Waiting)) continue;
        const QRectF dot = QRectF(presenceDotRect(row)).adjusted(0.5, 0.5, -0.5, -0.5);
        const QColor colour = s->presence == SeatPresence::Connected ? QColor(0, 200, 0) : QColor(255, 160, 0);
        painter.setPen(QPen(colour, thick(1)));
        painter.setBrush(s->presence == SeatPresence::Connected ? QBrush(colour) : Qt::NoBrush);
        painter.drawEllipse(dot);
    }
}

}  // namespace capzel::ui
