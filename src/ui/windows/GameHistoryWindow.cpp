#include "ui/windows/GameHistoryWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTreeView>
#include <QTreeWidget>

#include "ui/desktop/HistoryFile.h"
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

}  // namespace

GameHistoryWindow::GameHistoryWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gameHistory"));
    setWindowTitle(QStringLiteral("Game History"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new HistoryTableModel(this);
    games_ = list<QTreeView>(this, "games");
    games_->setModel(model_);
    wins_ = list<QTreeWidget>(this, "wins");
    wins_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Wins")});
    clear_ = new QPushButton(QStringLiteral("Clear History..."), this);
    clear_->setObjectName(QStringLiteral("clearHistory"));
    clear_->setAutoDefault(false);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("closeHistory"));
    close_->setDefault(true);
    connect(clear_, &QPushButton::clicked, this, &GameHistoryWindow::askToClear);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    auto* lists = new QHBoxLayout;
    lists->addWidget(games_, 3);
    lists->addWidget(wins_, 1);
    auto* buttons = new QHBoxLayout;
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
