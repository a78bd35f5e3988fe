// A game record file dragged over a window and dropped on it: the window
// takes a drag of one local ".json" file, and the drop hands its path on.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

namespace capzel::ui {

class RecordDrop : public QObject {
public:
    // Takes the drops of `window` (its own child, gone with it).
    RecordDrop(QWidget* window, std::function<void(const std::string&)> dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const std::string&)> dropped_;
};

}  // namespace capzel::ui
