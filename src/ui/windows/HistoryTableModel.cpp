#include "ui/windows/HistoryTableModel.h"

namespace capzel::ui {

namespace {

enum Column { kDate, kWinner, kShots, kPlayers, kColumns };

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

QStringList gameTexts(const HistoryGame& game) {
    const QString winner = game.winner == 0 ? QStringLiteral("-") : text(game.winnerName());
    return {text(game.date), winner, QString::number(game.shots), playersText(game)};
}

}  // namespace

void HistoryTableModel::setHistory(std::shared_ptr<const std::string> text,
                                   std::shared_ptr<const std::vector<std::size_t>> starts) {
    beginResetModel();
    text_ = std::move(text);
    starts_ = std::move(starts);
    added_.clear();
    rows_.clear();
    endResetModel();
}

void HistoryTableModel::addGame(const HistoryGame& game) {
    beginInsertRows({}, 0, 0);
    added_.push_back(game);
    endInsertRows();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(starts_->size() + added_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

HistoryGame HistoryTableModel::gameNumber(std::size_t number) const {
    HistoryGame game;
    if (number >= starts_->size())
        game = added_[number - starts_->size()];
    else if (!readHistoryLine(historyLineAt(*text_, (*starts_)[number]), game).empty())
        game = {};  // a line that is not a game: the count of the wins finds it and sets the file aside
    return game;
}

HistoryGame HistoryTableModel::gameAt(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return gameNumber(std::size_t(rowCount() - 1 - row));
}

HistoryReading HistoryTableModel::readGames(const std::function<bool(HistoryGame&&)>& take) const {
    HistoryReading reading = readHistoryGames(*text_, *starts_, take);
    if (!reading.ok()) return reading;
    for (HistoryGame game : added_)
        if (!take(std::move(game))) break;
    return reading;
}

const QStringList& HistoryTableModel::rowTexts(std::size_t number) const {
    if (const QStringList* cached = rows_.object(number)) return *cached;
    auto* texts = new QStringList(gameTexts(gameNumber(number)));
    rows_.insert(number, texts);
    return *texts;
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::TextAlignmentRole && index.column() == kShots) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    // Newest first. Item texts are plain text: names typed by players are never markup.
    return rowTexts(std::size_t(rowCount() - 1 - index.row())).value(index.column());
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const QStringList kTitles = {QStringLiteral("Date"), QStringLiteral("Winner"), QStringLiteral("Shots"),
                                        QStringLiteral("Players and final scores")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return kTitles.value(section);
}

}  // namespace capzel::ui
