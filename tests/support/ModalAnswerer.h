// Answers modal windows from a timer, recording what they showed: boxes from
// `answers` as they come, other windows by the scripted steps in order.
#pragma once

#include <QtWidgets>
#include <deque>
#include <functional>

namespace capzel::test {

class ModalAnswerer {
public:
    struct Box {  // text: the message or the prompt; pointer: the application's while it showed
        QString title, text;
        bool input = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        QList<QMessageBox::StandardButton> buttons;
        Qt::CursorShape pointer = Qt::ArrowCursor;
    };
    struct FileDialog { QFileDialog::AcceptMode mode; QString filter, folder, title; };
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    QList<Box> boxes;
    QList<FileDialog> fileDialogs;
    QList<QStringList> choices;  // the items of each input box, empty for a typed answer
    QStringList answers;
    bool cancelInputs = false;  // type each answer, then click Cancel instead of OK
    Condition holdBoxes;        // while it holds, boxes wait unanswered

    ModalAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(2);
    }

    bool done() const { return steps_.empty() && !starting_; }

    QStringList messages() const {  // of the message boxes and questions, in order
        QStringList out;
        for (const Box& b : boxes)
            if (!b.input) out << b.text;
        return out;
    }

    // Runs `action` once `when` holds; it may itself open modal windows.
    ModalAnswerer& then(Condition when, Action action) {
        steps_.push_back({std::move(when), std::move(action)});
        return *this;
    }

    // Picks `path` in the next file dialog (an empty path cancels it).
    ModalAnswerer& chooseFile(const QString& path) {
        return then(modal<QFileDialog>, [this, path] {
            auto* dialog = modal<QFileDialog>();
            fileDialogs << FileDialog{dialog->acceptMode(), dialog->selectedNameFilter(), dialog->directory().path(), dialog->windowTitle()};
            if (path.isEmpty()) return dialog->reject();
            // selectFile() leaves a focused name box alone: type the name.
            dialog->selectFile(path);
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) edit->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    // Picks `color` in the next colour dialog, or closes it without a choice.
    ModalAnswerer& chooseColor(const QColor& color, bool cancel = false) {
        return then(modal<QColorDialog>, [color, cancel] {
            modal<QColorDialog>()->setCurrentColor(color);
            cancel ? modal<QColorDialog>()->reject() : modal<QColorDialog>()->accept();
        });
    }

    template <class W>
    static W* modal() { return qobject_cast<W*>(QApplication::activeModalWidget()); }

private:
    struct Step { Condition when; Action action; };

    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }

    void tick() {
        if (starting_) return;
        if (!steps_.empty() && steps_.front().when()) {
            Action action = std::move(steps_.front().action);  // run apart: this timer answers the window it opens
            steps_.pop_front();
            starting_ = true;
            QTimer::singleShot(0, qApp, [this, action] { starting_ = false, action(); });
        } else if ((modal<QInputDialog>() || modal<QMessageBox>()) && holdBoxes && holdBoxes()) {
            return;
        } else if (auto* input = modal<QInputDialog>()) {
            const QStringList items = input->comboBoxItems();  // a choice is answered by a part of the item's text
            boxes << Box{input->windowTitle(), input->labelText(), true, QMessageBox::NoIcon, Qt::AutoText, {}};
            choices << items;
            const QString a = next();
            bool found = items.isEmpty();
            for (const QString& item : items)
                if (!found && !a.isEmpty() && item.contains(a)) found = (input->setTextValue(item), true);
            if (items.isEmpty() && !a.isNull()) input->findChild<QLineEdit*>()->setText(a);
            const bool ok = !a.isNull() && found && !cancelInputs;
            input->findChild<QDialogButtonBox*>()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        } else if (auto* box = modal<QMessageBox>(); box && box->isVisible()) {
            const QCursor* pointer = QApplication::overrideCursor();
            Box b{box->windowTitle(), box->text(), false, box->icon(), box->textFormat(), {}, pointer ? pointer->shape() : Qt::ArrowCursor};
            for (QAbstractButton* button : box->buttons()) b.buttons << box->standardButton(button);
            boxes << b;
            QMessageBox::StandardButton choice = QMessageBox::Ok;
            if (box->button(QMessageBox::Yes)) choice = next() == "Yes" ? QMessageBox::Yes : QMessageBox::No;
            if (QAbstractButton* button = box->button(choice)) button->click();
        }
    }

    std::deque<Step> steps_;
    bool starting_ = false;  // an action is scheduled and has not begun yet
    QTimer timer_;
};

}  // namespace capzel::test
