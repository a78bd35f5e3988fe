#include "ui/windows/FirstGameCoach.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <cmath>
#include <QLabel>
#include <QToolButton>

#include "ui/windows/GameHost.h"

namespace capzel::ui {

namespace {
// Over the empty band of the field between the top wall and the centre,
// clear of the boxes, the walls and the power bar.
const QRect kCoachPlace(150, 172, 460, 54);
constexpr int kCloseSize = 18;
}  // namespace

std::optional<CoachStep> coachStepFor(TurnPhase phase) {
    switch (phase) {
    case TurnPhase::Idle: return CoachStep::DragBack;
    case TurnPhase::Aiming: return CoachStep::Release;
    case TurnPhase::Charging: return CoachStep::PressGo;
    case TurnPhase::Shooting: return CoachStep::Done;
    default: return std::nullopt;
    }
}

QString coachText(CoachStep step) {
    switch (step) {
    case CoachStep::DragBack:
        return QStringLiteral("Press the left button on your piece and drag back, away from where it should go.");
    case CoachStep::Release: return QStringLiteral("Release the button: the power bar on the left starts filling.");
    case CoachStep::PressGo: return QStringLiteral("Press Go, Space or Enter when the bar is as full as you want.");
    case CoachStep::Done: break;
    }
    return {};
}

FirstGameCoach::FirstGameCoach(GameHost& app, const TurnController& turn, QWidget* field)
    : QFrame(field), app_(app), turn_(turn) {
    setObjectName(QStringLiteral("firstGameCoach"));
    setStyleSheet(QStringLiteral("QFrame#firstGameCoach { background: #202840; border: 2px solid #ffd040;"
                                 " border-radius: 6px; }"
                                 "QLabel { color: white; background: transparent; }"));
    number_ = new QLabel(this);
    number_->setObjectName(QStringLiteral("coachStep"));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("coachText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    // The panel lets every click through to the field beneath, which it
    // covers: only its close button, a sibling laid over its corner, takes
    // one.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    close_ = new QToolButton(field);
    close_->setObjectName(QStringLiteral("coachClose"));
    close_->setStyleSheet(QStringLiteral("QToolButton { color: white; background: transparent; border: none;"
                                         " font-weight: bold; }"));
    close_->setText(QStringLiteral("\u2715"));
    close_->setToolTip(QStringLiteral("Close the first-game steps; they do not come back"));
    connect(close_, &QToolButton::clicked, this, &FirstGameCoach::finish);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->addWidget(number_);
    layout->addWidget(text_, 1);
    closeRoom_ = layout->count();
    layout->addSpacing(kCloseSize);
    setZoom(1);
    hide();
    close_->hide();
}

void FirstGameCoach::setZoom(double zoom) {
    const auto scaled = [zoom](int n) { return int(std::lround(n * zoom)); };
    const QRect place(scaled(kCoachPlace.left()), scaled(kCoachPlace.top()), scaled(kCoachPlace.width()),
                      scaled(kCoachPlace.height()));
    setFixedSize(place.size());
    move(place.topLeft());
    QFont big = number_->font();
    big.setPixelSize(scaled(22));
    big.setBold(true);
    number_->setFont(big);
    QFont readable = text_->font();
    readable.setPixelSize(scaled(13));
    text_->setFont(readable);
    const int closeSize = scaled(kCloseSize);
    static_cast<QHBoxLayout*>(layout())->itemAt(closeRoom_)->spacerItem()->changeSize(closeSize, 0);
    layout()->invalidate();
    close_->setGeometry(place.right() - closeSize - scaled(2), place.top() + scaled(4), closeSize, closeSize);
}

void FirstGameCoach::follow(bool personToPlay) {
    const std::optional<CoachStep> now = coachStepFor(turn_.phase());
    if (app_.settings().coachDone || !personToPlay || !now) {
        setShown(false);
        return;
    }
    step_ = *now;
    if (step_ == CoachStep::Done) {
        finish();
        return;
    }
    number_->setText(QStringLiteral("%1/3").arg(int(step_) + 1));
    text_->setText(coachText(step_));
    setShown(true);
}

void FirstGameCoach::setShown(bool shown) {
    setVisible(shown);
    close_->setVisible(shown);
    if (!shown) return;
    raise();
    close_->raise();
}

void FirstGameCoach::finish() {
    step_ = CoachStep::Done;
    setShown(false);
    PlayerSettings settings = app_.settings();
    settings.coachDone = true;
    app_.setSettings(settings);
}

}  // namespace capzel::ui
