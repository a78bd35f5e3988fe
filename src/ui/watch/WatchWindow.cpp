#include "ui/watch/WatchWindow.h"
#include "ui/windows/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/charts/GameChart.h"
#include "desktop/QtPlatform.h"
#include "ui/windows/FieldView.h"
#include "desktop/StepScheduler.h"

namespace capzel::ui {

namespace {

// The watched game's boxes are never shown: what the rules say is in the
// list, and a watched game asks nothing.
class WatchPlatform : public QtPlatform {
public:
    using QtPlatform::QtPlatform;
    void message(std::string_view) override {}
    bool askYesNo(std::string_view) override { return false; }
    std::string inputBox(std::string_view) override { return {}; }
    void beep() override {}
};

constexpr int kBreathMs = 600;  // between two shots at normal pace
// The field a little smaller than the main window's, so the list and the
// chart fit beside it on a common screen.
constexpr double kFieldZoom = 0.8;

QString rowText(int k, const WatchedShot& shot) {
    if (shot.player == 0) return QStringLiteral("%1. %2").arg(k).arg(QString::fromStdString(shot.shooter));
    QStringList said;
    for (const std::string& text : shot.said) said << displayText(text).simplified();
    return QStringLiteral("%1. %2: %3").arg(k).arg(QString::fromStdString(shot.shooter), said.join(QLatin1Char(' ')));
}

}  // namespace

WatchWindow::WatchWindow(std::unique_ptr<WatchedGame> game, const QString& title)
    : game_(std::move(game)), platform_(std::make_unique<WatchPlatform>(this)) {
    setObjectName(QStringLiteral("watchWindow"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    turn_ = std::make_unique<TurnController>(match_, *platform_);
    view_ = new FieldView(*turn_, marks_, this);
    view_->setFixedSize(kFieldWidthPx, kFieldHeightPx);
    view_->setZoom(kFieldZoom);
    scheduler_ = new StepScheduler(*turn_, this);
    // The shot's end is seen once its last advance has returned; what the
    // rules said is already in the list, so nothing waits to be told.
    scheduler_->onAdvanced = [this] {
        view_->update();
        if (running_ != 0 && !turn_->running())
            QTimer::singleShot(0, this, &WatchWindow::shotJudged);
    };
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    connect(pause_, &QTimer::timeout, this, &WatchWindow::playNextShot);
    buildControls();
    showShot(0);
}

WatchWindow::~WatchWindow() {
    scheduler_->stop();
    delete scheduler_;
    scheduler_ = nullptr;
    delete view_;
    view_ = nullptr;
    turn_->drop();
}

void WatchWindow::buildControls() {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("shotList"));
    list_->setWordWrap(true);
    list_->addItem(QStringLiteral("Start"));
    for (int k = 1; k <= game_->shotCount(); ++k) list_->addItem(rowText(k, game_->shot(k)));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != shown_ && running_ == 0) showShot(row);
    });
    connect(list_, &QListWidget::itemActivated, this, [this] { showShot(list_->currentRow()); });
    chart_ = new GameChart(this);
    chart_->setStandings(game_->standings());
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("watchNotice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setWordWrap(true);
    notice_->setText(QString::fromStdString(game_->stopMessage()));
    notice_->setVisible(!game_->stopMessage().empty());
    notice_->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));

    previous_ = new QPushButton(QStringLiteral("P&revious Shot"), this);
    play_ = new QPushButton(QStringLiteral("&Play"), this);
    play_->setObjectName(QStringLiteral("watchPlay"));
    next_ = new QPushButton(QStringLiteral("&Next Shot"), this);
    fast_ = new QCheckBox(QStringLiteral("Eight times &faster"), this);
    fast_->setObjectName(QStringLiteral("watchFast"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    connect(previous_, &QPushButton::clicked, this, [this] { showShot(std::max(0, shown_ - 1)); });
    connect(next_, &QPushButton::clicked, this, [this] {
        showShot(std::min(game_->shotCount(), (running_ != 0 ? running_ : shown_ + 1)));
    });
    connect(play_, &QPushButton::clicked, this, [this] { setPlaying(!playing_); });
    connect(fast_, &QCheckBox::toggled, this, [this](bool on) { scheduler_->setFast(on); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(previous_), static_cast<QWidget*>(play_),
                       static_cast<QWidget*>(next_), static_cast<QWidget*>(fast_)})
        buttons->addWidget(w);
    buttons->addStretch(1);
    buttons->addWidget(close);
    // The field with the list of shots under it, the chart beside them.
    auto* left = new QVBoxLayout;
    left->addWidget(view_, 0, Qt::AlignTop | Qt::AlignLeft);
    left->addWidget(notice_);
    left->addWidget(list_, 1);
    left->addLayout(buttons);
    chart_->setMinimumWidth(440);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(chart_, 1);
    resize(1080, 820);
}

bool WatchWindow::shotRunning() const { return running_ != 0; }

void WatchWindow::showShot(int k) {
    k = std::clamp(k, 0, game_->shotCount());
    scheduler_->stop();
    pause_->stop();
    turn_->drop();
    running_ = 0;
    match_ = Match(game_->after(k));
    turn_->gameChanged();
    shown_ = k;
    // While playing, the next shot follows after a breath.
    if (playing_ && k == game_->shotCount()) playing_ = false;
    if (playing_) pause_->start(fast_->isChecked() ? kBreathMs / StepScheduler::kFastFactor : kBreathMs);
    syncControls();
}

void WatchWindow::setPlaying(bool playing) {
    playing_ = playing && shown_ < game_->shotCount();
    if (playing_ && running_ == 0) playNextShot();
    if (!playing_) pause_->stop();
    syncControls();
}

// The next shot is launched from where it was launched in the game, and
// runs on the field at the chosen pace.
void WatchWindow::playNextShot() {
    if (!playing_ || running_ != 0) return;
    if (shown_ >= game_->shotCount()) {
        setPlaying(false);
        return;
    }
    const int k = shown_ + 1;
    if (game_->isUndo(k)) {
        // Nothing runs: the game as it was before the shot taken back.
        showShot(k);
        return;
    }
    match_ = Match(game_->before(k));
    turn_->gameChanged();
    running_ = k;
    if (turn_->fire(game_->command(k))) {
        // The rulebook here does not take it: the field shows its end.
        showShot(k);
        return;
    }
    scheduler_->setFast(fast_->isChecked());
    scheduler_->start();
    syncControls();
}

// The field ends where the record says the shot ended (the replay checked
// it, the hidden commands during the shot included), and what the rules said
// is already in the list. A shot that ended elsewhere is put right.
void WatchWindow::shotJudged() {
    if (running_ == 0 || turn_->running()) return;
    turn_->takeAnnouncements();
    if (match_.game().hash() != game_->after(running_).hash()) ++corrections_;
    showShot(running_);
}

void WatchWindow::syncControls() {
    {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(running_ != 0 ? running_ : shown_);
    }
    list_->scrollToItem(list_->currentItem());
    play_->setText(playing_ ? QStringLiteral("&Pause") : QStringLiteral("&Play"));
    play_->setEnabled(playing_ || shown_ < game_->shotCount());
    previous_->setEnabled(shown_ > 0 || running_ != 0);
    next_->setEnabled(shown_ < game_->shotCount());
    view_->syncGoButton();
    view_->update();
}

void WatchWindow::closeEvent(QCloseEvent* event) {
    scheduler_->stop();
    pause_->stop();
    playing_ = false;
    event->accept();
    if (onClosed) onClosed();
}

}  // namespace capzel::ui
