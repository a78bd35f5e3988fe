#include "ui/windows/RuleBanner.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace capzel::ui {

namespace {

// The text's size beside the classic field.
constexpr int kTextPixels = 14;

}  // namespace

RuleBanner::RuleBanner(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ruleBanner"));
    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, &RuleBanner::expire);
    hide();
}

void RuleBanner::setZoom(double zoom) {
    if (zoom_ == zoom) return;
    zoom_ = zoom;
    relayout();
}

void RuleBanner::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void RuleBanner::post(const QString& text) {
    queue_.append(Message{text, {}});
    relayout();
}

QStringList RuleBanner::messages() const {
    QStringList out;
    for (const Message& m : queue_) out << m.text;
    return out;
}

QList<QLabel*> RuleBanner::shownLabels() const { return labels_; }

void RuleBanner::aimStarted() {
    aimPending_ = true;
    expire();
}

void RuleBanner::clear() {
    queue_.clear();
    aimPending_ = false;
    expiry_.stop();
    relayout();
}

// Since an aim started, every shown message that has been read goes; the
// next in the queue come up and are read in their turn.
void RuleBanner::expire() {
    if (!aimPending_) return;
    const int shown = std::min(int(queue_.size()), kShownAtOnce);
    qint64 youngest = -1;
    for (int i = shown - 1; i >= 0; --i) {
        const qint64 left = readingMs - queue_[i].shownFor.elapsed();
        if (left <= 0)
            queue_.removeAt(i);
        else
            youngest = std::max(youngest, left);
    }
    if (queue_.isEmpty()) aimPending_ = false;
    relayout();
    if (aimPending_) {
        // What was waiting in the queue is now on screen: its time runs.
        for (int i = 0; i < std::min(int(queue_.size()), kShownAtOnce); ++i)
            youngest = std::max(youngest, readingMs - queue_[i].shownFor.elapsed());
        expiry_.start(int(std::max<qint64>(youngest, 0)));
    }
}

void RuleBanner::withdraw(const QString& text) {
    if (queue_.removeIf([&text](const Message& m) { return m.text == text; }) > 0) relayout();
}

void RuleBanner::dismiss(int index) {
    if (index < 0 || index >= queue_.size()) return;
    queue_.removeAt(index);
    relayout();
}

// One label per shown message, as wide as the strip, light on dark,
// stacked from its top.
void RuleBanner::relayout() {
    const int shown = std::min(int(queue_.size()), kShownAtOnce);
    for (int i = 0; i < shown; ++i) {
        if (i == labels_.size()) {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);  // names are the players' own input
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignCenter);
            label->setAutoFillBackground(true);
            label->setCursor(Qt::PointingHandCursor);
            label->setToolTip(QStringLiteral("Click to dismiss"));
            label->installEventFilter(this);
            label->show();  // a child added to a shown banner starts hidden
            labels_.append(label);
        }
        if (labels_[i]->text() != queue_[i].text) labels_[i]->setText(queue_[i].text);
        if (!queue_[i].shownFor.isValid()) queue_[i].shownFor.start();
    }
    // Later: a click on a label may be what dismissed it.
    while (labels_.size() > shown) {
        QLabel* gone = labels_.takeLast();
        gone->hide();
        gone->deleteLater();
    }

    const int textPx = int(std::lround(kTextPixels * zoom_));
    QFont f = font();
    f.setPixelSize(textPx);
    f.setBold(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(20, 20, 40, 235));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 160));
    const int width = this->width();
    const int gap = std::max(2, textPx / 3);
    int y = 0;
    for (QLabel* label : labels_) {
        label->setFont(f);
        label->setPalette(colours);
        label->setContentsMargins(textPx / 2, textPx / 4, textPx / 2, textPx / 4);
        const int height = label->heightForWidth(width);
        label->setGeometry(0, y, width, height);
        y += height + gap;
    }
    // As high as its messages: a widget docked beneath gets the rest.
    setMinimumHeight(std::max(0, y - gap));
    setVisible(shown > 0);
    emit changed();
}

bool RuleBanner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        // The click is the banner's: it never reaches the field as an aim.
        const int index = int(labels_.indexOf(qobject_cast<QLabel*>(watched)));
        if (index >= 0) {
            if (event->type() == QEvent::MouseButtonRelease) dismiss(index);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace capzel::ui
