// The games of the history file as a table for the Game History window,
// newest first: date, winner, shots, and each player with seat and final
// score. A row is read from the file's text only when it is shown (a few
// hundred rows are kept read), so a history of any length opens at once.
#pragma once

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "records/GameHistory.h"

namespace capzel::ui {

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The history file's text and where its game lines begin, oldest first.
    void setHistory(std::shared_ptr<const std::string> text, std::shared_ptr<const std::vector<std::size_t>> starts);
    // A game added at the end of the file since: the first row.
    void addGame(const HistoryGame& game);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The game shown in `row` (newest first); an empty game for a line that
    // is not one.
    HistoryGame gameAt(int row) const;
    // Every game, oldest first, until `take` gives false; the error names a
    // line that is not a game.
    HistoryReading readGames(const std::function<bool(HistoryGame&&)>& take) const;

private:
    // Game `number` (0 the oldest), read again from the file's text.
    HistoryGame gameNumber(std::size_t number) const;
    // The texts of the row of game `number` (0 the oldest).
    const QStringList& rowTexts(std::size_t number) const;

    std::shared_ptr<const std::string> text_ = std::make_shared<const std::string>();
    std::shared_ptr<const std::vector<std::size_t>> starts_ = std::make_shared<const std::vector<std::size_t>>();
    std::vector<HistoryGame> added_;  // after the file's games, oldest first
    mutable QCache<std::size_t, QStringList> rows_{512};
};

}  // namespace capzel::ui
