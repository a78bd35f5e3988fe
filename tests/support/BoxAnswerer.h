// Answers the game's boxes as they come, in the order they come, from a
// timer (so also inside the game's loops and nested event loops): a message
// box gets its OK, an input box the next scripted answer (Cancel for a null
// one, or when none is left). Records what each box showed.
#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace capzel::test {

class BoxAnswerer : public QObject {
public:
    struct Seen {
        QString title;
        QString text;  // the message or the prompt
        bool input = false;
    };
    QList<Seen> seen;

    explicit BoxAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }

    // The texts of the message boxes seen, in order.
    QStringList messages() const {
        QStringList out;
        for (const Seen& s : seen)
            if (!s.input) out << s.text;
        return out;
    }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            seen << Seen{input->windowTitle(), input->labelText(), true};
            const QString a = answers_.isEmpty() ? QString() : answers_.takeFirst();
            if (a.isNull()) {
                input->reject();
                return;
            }
            input->findChild<QLineEdit*>()->setText(a);
            input->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            seen << Seen{box->windowTitle(), box->text(), false};
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        }
    }

    QStringList answers_;
    QTimer timer_;
};

}  // namespace capzel::test
