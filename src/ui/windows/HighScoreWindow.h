// The high-score window: ten rows of a name and a score as the high-score
// file holds them, in the file's order. The file is read once, when the
// window is created; a missing file is first written with the default table.
// The window deletes itself when it is closed.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "records/HighScores.h"

class QLabel;

namespace capzel {
class Platform;
}

namespace capzel::ui {

class HighScoreWindow : public QWidget {
    Q_OBJECT
public:
    // Reads `path` through `files` (creating the default table when it is
    // missing) and shows what it holds.
    HighScoreWindow(Platform& files, const std::string& path, QWidget* parent = nullptr);

    // The labels of row i (1..10).
    const QLabel* nameLabel(int i) const { return nameLabels_[std::size_t(i)]; }
    const QLabel* scoreLabel(int i) const { return scoreLabels_[std::size_t(i)]; }

    // The table as read (row 1 is element 0).
    const HighScoreTable& table() const { return table_; }

private:
    void buildRows();
    void showTable();

    HighScoreTable table_;
    std::array<QLabel*, kHighScoreRows + 1> nameLabels_{};
    std::array<QLabel*, kHighScoreRows + 1> scoreLabels_{};
};

}  // namespace capzel::ui
