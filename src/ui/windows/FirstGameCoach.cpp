#include "ui/windows/FirstGameCoach.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QToolButton>
#include <cmath>

#include "model/Game.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {
// The empty bands of the field between the top row of boxes and the
// centre (under the upper wall) and between the centre and the bottom row
// (over the lower wall), clear of the boxes, the walls and the power bar.
const QRect kUpperPlace(85, 172, 560, 56);
const QRect kLowerPlace(85, 400, 560, 56);
constexpr int kCloseSize = 18;
constexpr int kHelpersWidth = 128;
constexpr int kPieceMargin = 6;  // kept between the panel and the piece
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

QRect coachPlace(const QRect& piece) {
    const QRect clear = piece.adjusted(-kPieceMargin, -kPieceMargin, kPieceMargin, kPieceMargin);
    return piece.isValid() && clear.intersects(kUpperPlace) ? kLowerPlace : kUpperPlace;
}

FirstGameCoach::FirstGameCoach(GameHost& app, const TurnController& turn, QWidget* field)
    : QFrame(field), app_(app), turn_(turn), placed_(kUpperPlace) {
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
    // covers: only its buttons, siblings laid over its right end, take one.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    close_ = new QToolButton(field);
    close_->setObjectName(QStringLiteral("coachClose"));
    close_->setStyleSheet(QStringLiteral("QToolButton { color: white; background: transparent; border: none;"
                                         " font-weight: bold; }"));
    close_->setText(QStringLiteral("\u2715"));
    close_->setToolTip(QStringLiteral("Close the first-game steps; they do not come back"));
    connect(close_, &QToolButton::clicked, this, &FirstGameCoach::finish);
    helpers_ = new QPushButton(QStringLiteral("Turn on the helpers"), field);
    helpers_->setObjectName(QStringLiteral("coachHelpers"));
    helpers_->setToolTip(QStringLiteral("Rings and outlines on the field, marks in the status window, a chart at the "
                                        "end of a game and icons on buttons\n(Extras > Settings..., Helpers, turns "
                                        "each on or off)"));
    helpers_->setFocusPolicy(Qt::NoFocus);
    connect(helpers_, &QPushButton::clicked, this, [this] {
        PlayerSettings settings = app_.settings();
        settings.turnOnHelpers();
        app_.setSettings(settings);
        helpers_->hide();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->addWidget(number_);
    layout->addWidget(text_, 1);
    buttonRoom_ = layout->count();
    layout->addSpacing(kHelpersWidth + kCloseSize);
    setZoom(1);
    hide();
    close_->hide();
    helpers_->hide();
}

void FirstGameCoach::setZoom(double zoom) {
    zoom_ = zoom;
    QFont big = number_->font();
    big.setPixelSize(int(std::lround(22 * zoom)));
    big.setBold(true);
    number_->setFont(big);
    QFont readable = text_->font();
    readable.setPixelSize(int(std::lround(13 * zoom)));
    text_->setFont(readable);
    QFont small = helpers_->font();
    small.setPixelSize(int(std::lround(11 * zoom)));
    helpers_->setFont(small);
    place();
}

// The panel and its buttons at the designed place `placed_`, at the zoom.
void FirstGameCoach::place() {
    const auto scaled = [this](int n) { return int(std::lround(n * zoom_)); };
    const QRect at(scaled(placed_.left()), scaled(placed_.top()), scaled(placed_.width()), scaled(placed_.height()));
    setFixedSize(at.size());
    move(at.topLeft());
    const int closeSize = scaled(kCloseSize);
    const int helpersWidth = scaled(kHelpersWidth);
    static_cast<QHBoxLayout*>(layout())->itemAt(buttonRoom_)->spacerItem()->changeSize(helpersWidth + closeSize, 0);
    layout()->invalidate();
    close_->setGeometry(at.right() - closeSize - scaled(2), at.top() + scaled(4), closeSize, closeSize);
    const int helpersHeight = scaled(24);
    helpers_->setGeometry(at.right() - closeSize - scaled(4) - helpersWidth, at.top() + (at.height() - helpersHeight) / 2,
                          helpersWidth, helpersHeight);
}

// The piece whose turn it is, in the field's designed pixels (none when
// it is not on the field).
QRect FirstGameCoach::pieceOnField() const {
    const Game& g = app_.session().game();
    if (!g.isPlayer(g.currentTurn)) return {};
    const capzel::Box& piece = g.piece(g.currentTurn);
    if (!piece.visible) return {};
    return pxRect(piece.left, piece.top, piece.width, piece.height).toAlignedRect();
}

void FirstGameCoach::follow(bool personToPlay) {
    const std::optional<CoachStep> now = coachStepFor(turn_.phase());
    // The shot fired from the last step may have run and been judged
    // between two looks.
    const bool fired = step_ == CoachStep::PressGo && turn_.judgedShots() > judgedSeen_;
    judgedSeen_ = turn_.judgedShots();
    if ((fired || (now == CoachStep::Done && personToPlay)) && !app_.settings().coachDone) {
        finish();
        return;
    }
    // A box open over the window: the coach would sit under it.
    if (app_.settings().coachDone || !personToPlay || !now || QApplication::activeModalWidget() != nullptr) {
        setShown(false);
        return;
    }
    step_ = *now;
    const QString number = QStringLiteral("%1/3").arg(int(step_) + 1);
    if (number_->text() != number) {
        number_->setText(number);
        text_->setText(coachText(step_));
    }
    const QRect where = coachPlace(pieceOnField());
    if (where != placed_) {
        placed_ = where;
        place();
    }
    setShown(true);
}

void FirstGameCoach::stepAside() { setShown(false); }

void FirstGameCoach::setShown(bool shown) {
    const PlayerSettings& s = app_.settings();
    helpers_->setVisible(shown && !(s.fieldHints && s.statusMarks && s.endChart && s.buttonIcons));
    if (shown == isVisible()) return;  // a look at every step repaints nothing
    setVisible(shown);
    close_->setVisible(shown);
    if (!shown) return;
    raise();
    close_->raise();
    helpers_->raise();
}

void FirstGameCoach::finish() {
    step_ = CoachStep::Done;
    setShown(false);
    PlayerSettings settings = app_.settings();
    settings.coachDone = true;
    app_.setSettings(settings);
}

}  // namespace capzel::ui
