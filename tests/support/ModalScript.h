// A script of a player's answers to the modal windows a command opens one
// after the other (message boxes, file dialogs, the colour dialog): each
// step waits until its window is the active modal one, then answers it.
// The steps run from a timer, so they also run inside nested event loops
// (a modal box, the yields of a shot) and may themselves start commands.
#pragma once

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <functional>

namespace capzel::test {

class ModalScript {
public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    QStringList texts;  // the text of every message box answered, in order

    ModalScript() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start();
    }

    bool done() const { return steps_.empty() && !starting_; }

    // Any step: runs `action` once `when` holds.
    ModalScript& then(Condition when, Action action) {
        steps_.push_back({std::move(when), std::move(action)});
        return *this;
    }

    // Clicks `button` on the next message box.
    ModalScript& answer(QMessageBox::StandardButton button) {
        return then([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; },
                    [this, button] {
                        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                        texts << box->text();
                        if (QAbstractButton* b = box->button(button)) b->click();
                    });
    }
    ModalScript& ok() { return answer(QMessageBox::Ok); }

    // Picks `path` in the next file dialog (an empty path cancels it).
    ModalScript& chooseFile(const QString& path, QFileDialog::AcceptMode* mode = nullptr,
                            QString* filter = nullptr) {
        return then([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
                    [path, mode, filter] {
                        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                        if (mode) *mode = dialog->acceptMode();
                        if (filter) *filter = dialog->selectedNameFilter();
                        if (path.isEmpty()) {
                            dialog->reject();
                            return;
                        }
                        // selectFile() leaves a focused name box alone: type the name.
                        dialog->selectFile(path);
                        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                            edit->setText(path);
                        QMetaObject::invokeMethod(dialog, "accept");
                    });
    }

    // Picks `color` in the next colour dialog, or closes it without a choice.
    ModalScript& chooseColor(const QColor& color, bool cancel = false) {
        return then([] { return qobject_cast<QColorDialog*>(QApplication::activeModalWidget()) != nullptr; },
                    [color, cancel] {
                        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                        dialog->setCurrentColor(color);
                        if (cancel)
                            dialog->reject();
                        else
                            dialog->accept();
                    });
    }

private:
    struct Step {
        Condition when;
        Action action;
    };

    void step() {
        if (starting_ || steps_.empty() || !steps_.front().when()) return;
        // The action runs from a timer of its own: it may open the next
        // window, and this timer (which Qt does not fire again while its
        // handler runs) answers it from inside that window's event loop.
        Action action = std::move(steps_.front().action);
        steps_.pop_front();
        starting_ = true;
        QTimer::singleShot(0, qApp, [this, action] {
            starting_ = false;
            action();
        });
    }

    std::deque<Step> steps_;
    bool starting_ = false;  // an action is scheduled and has not begun yet
    QTimer timer_;
};

}  // namespace capzel::test
