#include "ui/windows/SidePanel.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

#include "ui/windows/RuleBanner.h"
#include "ui/windows/WindowZoom.h"

namespace capzel::ui {

namespace {
constexpr int kNoteMs = 4000;  // how long a word stays
}

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sidePanel"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(12, 12, 24));
    colours.setColor(QPalette::WindowText, QColor(255, 255, 160));
    setPalette(colours);

    watchingLabel_ = new QLabel(QStringLiteral("Watching"), this);
    watchingLabel_->setObjectName(QStringLiteral("watchingLabel"));
    watchingLabel_->setAlignment(Qt::AlignCenter);
    watchingLabel_->setToolTip(QStringLiteral("This computer follows the game without a seat: the players shoot at "
                                              "their own computers"));
    watchingLabel_->setStyleSheet(QStringLiteral("QLabel { color: black; background: #ffc040; font-weight: bold;"
                                                 " border-radius: 4px; padding: 2px; }"));
    watchingLabel_->hide();
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("sideNote"));
    note_->setTextFormat(Qt::PlainText);  // it may name a player
    note_->setWordWrap(true);
    note_->hide();
    noteTime_.setSingleShot(true);
    noteTime_.setInterval(kNoteMs);
    connect(&noteTime_, &QTimer::timeout, note_, &QLabel::hide);

    banner_ = new RuleBanner(this);
    split_ = new QSplitter(Qt::Vertical, this);
    split_->setObjectName(QStringLiteral("sideSplit"));
    split_->setChildrenCollapsible(false);
    split_->addWidget(banner_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(watchingLabel_);
    column->addWidget(note_);
    column->addWidget(split_, 1);
}

void SidePanel::fit(double zoom, int fieldHeight) {
    zoom_ = zoom;
    setFixedSize(int(std::lround(kWidth * zoom)), fieldHeight);
    QFont f = font();
    f.setPixelSize(int(std::lround(13 * zoom)));
    for (QLabel* label : {watchingLabel_, note_}) label->setFont(f);
    banner_->setZoom(zoom);
    if (docked_) zoomFont(*docked_, zoom);
}

void SidePanel::dock(QWidget* widget) {
    if (widget == docked_) return;
    if (docked_) docked_->deleteLater();
    docked_ = widget;
    if (!widget) return;
    split_->addWidget(widget);
    zoomFont(*widget, zoom_);
    // The messages above take what they need; the rest is the docked one's.
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    widget->show();
}

void SidePanel::setWatching(bool watching) {
    watching_ = watching;
    watchingLabel_->setVisible(watching);
}

void SidePanel::say(const QString& word) {
    note_->setText(word);
    note_->show();
    noteTime_.start();
}

}  // namespace capzel::ui
