// Answers the game's boxes as they come, in the order they come, from a
// timer (so also inside the game's loops and nested event loops), the way a
// player would: a message gets its OK; a question ("Yes" or "No") and an
// input box (the text typed, then OK; Cancel for a null answer or when none
// is left) the next scripted answer. Records what each box showed.
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
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        QList<QMessageBox::StandardButton> buttons;
    };
    QList<Seen> seen;
    bool cancelInputs = false;  // type each answer, then click Cancel instead of OK

    explicit BoxAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }

    // The texts of the message boxes and questions seen, in order.
    QStringList messages() const {
        QStringList out;
        for (const Seen& s : seen)
            if (!s.input) out << s.text;
        return out;
    }

private:
    QString next() { return answers_.isEmpty() ? QString() : answers_.takeFirst(); }

    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            seen << Seen{input->windowTitle(), input->labelText(), true, QMessageBox::NoIcon, Qt::AutoText, {}};
            const QString a = next();
            if (!a.isNull()) input->findChild<QLineEdit*>()->setText(a);
            const bool ok = !a.isNull() && !cancelInputs;
            auto* buttons = input->findChild<QDialogButtonBox*>();
            buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            Seen s{box->windowTitle(), box->text(), false, box->icon(), box->textFormat(), {}};
            for (QAbstractButton* b : box->buttons()) s.buttons << box->standardButton(b);
            seen << s;
            QMessageBox::StandardButton choice = QMessageBox::Ok;
            if (box->button(QMessageBox::Yes)) choice = next() == "Yes" ? QMessageBox::Yes : QMessageBox::No;
            if (QAbstractButton* b = box->button(choice)) b->click();
        }
    }

    QStringList answers_;
    QTimer timer_;
};

}  // namespace capzel::test
