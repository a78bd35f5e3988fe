#include "ui/windows/GameHistoryWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTreeView>
#include <QTreeWidget>

#include "ui/charts/HistoryCharts.h"
#include "ui/windows/FramePlacement.h"
#include "desktop/HistoryFile.h"
#include "ui/windows/HistoryTableModel.h"

namespace capzel::ui {

namespace {

template <class View>
View* list(QWidget* parent, const char* name) {
    auto* w = new View(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setRootIsDecorated(false);
    w->setSelectionMode(QAbstractItemView::NoSelection);
    w->setFocusPolicy(Qt::NoFocus);
    w->setUniformRowHeights(true);
    // Only the rows in sight are measured: a long history is never read
    // whole to size a column.
    w->header()->setResizeContentsPrecision(0);
    w->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    w->header()->setStretchLastSection(true);
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setEnabled(false);
    return b;
}

}  // namespace

GameHistoryWindow::GameHistoryWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gameHistory"));
    setWindowTitle(QStringLiteral("Game History"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new HistoryTableModel(this);
    games_ = list<QTreeView>(this, "games");
    games_->setModel(model_);
    // A game is chosen to be watched or exported.
    games_->setSelectionMode(QAbstractItemView::SingleSelection);
    games_->setSelectionBehavior(QAbstractItemView::SelectRows);
    games_->setFocusPolicy(Qt::StrongFocus);
    wins_ = list<QTreeWidget>(this, "wins");
    wins_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Wins")});
    clear_ = new QPushButton(QStringLiteral("Clear History..."), this);
    clear_->setObjectName(QStringLiteral("clearHistory"));
    clear_->setAutoDefault(false);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("closeHistory"));
    close_->setDefault(true);
    watch_ = button(this, "watchGame", QStringLiteral("Watch"));
    export_ = button(this, "exportRecord", QStringLiteral("Export Game Record..."));
    charts_ = button(this, "historyChartsButton", QStringLiteral("C&harts..."));
    connect(clear_, &QPushButton::clicked, this, &GameHistoryWindow::askToClear);
    connect(games_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GameHistoryWindow::syncGameButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &GameHistoryWindow::syncGameButtons);
    connect(watch_, &QPushButton::clicked, this, [this] {
        if (const auto game = chosenGame()) emit watchRequested(*game);
    });
    connect(games_, &QTreeView::activated, this, [this] {
        if (watch_->isEnabled()) watch_->click();
    });
    connect(export_, &QPushButton::clicked, this, [this] {
        if (const auto game = chosenGame()) emit exportRequested(*game);
    });
    connect(charts_, &QPushButton::clicked, this, &GameHistoryWindow::showCharts);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    auto* lists = new QHBoxLayout;
    lists->addWidget(games_, 3);
    lists->addWidget(wins_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(watch_);
    buttons->addWidget(export_);
    buttons->addWidget(charts_);
    buttons->addSpacing(12);
    buttons->addWidget(clear_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(780, 360);
}

GameHistoryWindow::~GameHistoryWindow() { stopCounting(); }

void GameHistoryWindow::stopCounting() {
    if (!counter_) return;
    *stop_ = true;
    counter_->wait();
    counter_.reset();
}

void GameHistoryWindow::showHistory(const HistoryFileState& history) {
    stopCounting();
    auto starts = std::make_shared<const std::vector<std::size_t>>(history.starts);
    model_->setHistory(history.text, starts);
    tally_.reset();
    charts_->setEnabled(false);
    addedMeanwhile_.clear();
    wins_->clear();
    auto* counting = new QTreeWidgetItem(wins_, {QStringLiteral("Counting the wins...")});
    counting->setDisabled(true);

    // The thread reads every game; its result comes back as an event, which
    // a newer count (or the window's end, which waits for the thread) drops.
    stop_ = std::make_shared<std::atomic<bool>>(false);
    counter_.reset(QThread::create([this, text = history.text, starts, stop = stop_] {
        WinTally tally;
        const HistoryReading reading = readHistoryGames(*text, *starts, [&](HistoryGame&& game) {
            tally.add(game);
            return !*stop;
        });
        if (*stop) return;
        QMetaObject::invokeMethod(
            this, [this, tally, reading, stop] {
                if (!*stop) countingDone(tally, reading);
            },
            Qt::QueuedConnection);
    }));
    counter_->start();
}

void GameHistoryWindow::countingDone(const WinTally& tally, const HistoryReading& reading) {
    stopCounting();  // it has finished: this only joins it
    if (!reading.ok()) {
        emit brokenLine(QStringLiteral("line %1: %2").arg(reading.errorLine).arg(QString::fromStdString(reading.error)));
        return;
    }
    tally_ = tally;
    for (const HistoryGame& game : addedMeanwhile_) tally_->add(game);
    addedMeanwhile_.clear();
    showWins();
}

void GameHistoryWindow::addGame(const HistoryGame& game) {
    model_->addGame(game);
    if (!tally_) {
        addedMeanwhile_.push_back(game);
        return;
    }
    tally_->add(game);
    showWins();
}

void GameHistoryWindow::showWins() {
    charts_->setEnabled(true);
    wins_->clear();
    for (const WinCount& w : tally_->table()) {
        auto* item = new QTreeWidgetItem(wins_, {QString::fromStdString(w.name), QString::number(w.wins)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

// The history goes for good, so the question defaults to keeping it.
void GameHistoryWindow::askToClear() {
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Clear History"),
        QStringLiteral("Remove every finished game from the game history? The wins are counted from none again."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) emit clearConfirmed();
}

}  // namespace capzel::ui

namespace capzel::ui {

std::optional<HistoryGame> GameHistoryWindow::chosenGame() const {
    const QModelIndexList rows = games_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    HistoryGame game = model_->gameAt(rows.front().row());
    if (game.players.empty()) return std::nullopt;
    return game;
}

void GameHistoryWindow::syncGameButtons() {
    const std::optional<HistoryGame> game = chosenGame();
    export_->setEnabled(game && hasRecord && hasRecord(*game));
    watch_->setEnabled(export_->isEnabled());
}

// The names with the most wins, their trends read from the whole history
// on the chart window's own thread.
void GameHistoryWindow::showCharts() {
    if (!tally_) return;
    std::vector<std::string> names;
    for (const WinCount& w : tally_->table()) {
        if (int(names.size()) == kTrendNames) break;
        names.push_back(w.name);
    }
    auto* charts = new HistoryChartWindow(
        [names, games = model_->games()](const std::atomic<bool>& stop) {
            TrendGatherer trends(names, games.size());
            games.read([&](HistoryGame&& game) {
                trends.add(game);
                return !stop;
            });
            return trends.take();
        },
        this);
    // Whole on the screen, beside this window when there is room.
    placeClear(*charts, [this] { return frameGeometry().topRight() + QPoint(8, 0); });
}

}  // namespace capzel::ui
