#include "ui/GameHistoryWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>

namespace capzel::ui {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// "Ann 245, Bob (Expert) 512": a computer's seat is named, a person's not.
QString playersText(const HistoryGame& game) {
    QStringList parts;
    for (const HistoryPlayer& p : game.players) {
        QString part = text(p.name);
        if (p.kind != PlayerKind::Human) part += QStringLiteral(" (%1)").arg(QString::fromLatin1(playerKindName(p.kind)));
        parts << part + QLatin1Char(' ') + QString::number(p.score);
    }
    return parts.join(QStringLiteral(", "));
}

QTreeWidget* list(QWidget* parent, const char* name, const QStringList& columns) {
    auto* w = new QTreeWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setHeaderLabels(columns);
    w->setRootIsDecorated(false);
    w->setSelectionMode(QAbstractItemView::NoSelection);
    w->setFocusPolicy(Qt::NoFocus);
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
    games_ = list(this, "games", {QStringLiteral("Date"), QStringLiteral("Winner"), QStringLiteral("Shots"),
                                  QStringLiteral("Players and final scores")});
    wins_ = list(this, "wins", {QStringLiteral("Name"), QStringLiteral("Wins")});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(games_, 3);
    layout->addWidget(wins_, 1);
    resize(780, 360);
}

void GameHistoryWindow::showGames(const std::vector<HistoryGame>& games) {
    // Item texts are plain text: names typed by players are never markup.
    games_->clear();
    for (auto it = games.rbegin(); it != games.rend(); ++it) {
        const QString winner = it->winner == 0 ? QStringLiteral("-") : text(it->winnerName());
        auto* item = new QTreeWidgetItem(games_, {text(it->date), winner,
                                                  QString::number(it->shots), playersText(*it)});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    wins_->clear();
    for (const WinCount& w : winsPerName(games)) {
        auto* item = new QTreeWidgetItem(wins_, {text(w.name), QString::number(w.wins)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

}  // namespace capzel::ui
