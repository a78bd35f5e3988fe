// Answers the next modal message box or input box from a timer, the way a
// player would: by clicking its button. Records what the box showed.
#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace capzel::test {

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    Qt::TextFormat textFormat = Qt::AutoText;
    QList<QMessageBox::StandardButton> buttons;
};

// Clicks `answer` on the next message box; fills `seen` (kept alive by the
// caller until the box has been answered).
inline void answerNextMessageBox(QMessageBox::StandardButton answer, SeenBox& seen, int triesLeft = 200) {
    QTimer::singleShot(5, qApp, [answer, &seen, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (triesLeft > 0) answerNextMessageBox(answer, seen, triesLeft - 1);
            return;
        }
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.textFormat = box->textFormat();
        for (QAbstractButton* b : box->buttons()) seen.buttons << box->standardButton(b);
        if (QAbstractButton* b = box->button(answer)) b->click();
    });
}

// Types `text` into the next input box and clicks OK (or Cancel when
// `cancel` is set); `prompt` receives the box's prompt.
inline void answerNextInputBox(const QString& text, bool cancel, QString& prompt, int triesLeft = 200) {
    QTimer::singleShot(5, qApp, [text, cancel, &prompt, triesLeft] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (triesLeft > 0) answerNextInputBox(text, cancel, prompt, triesLeft - 1);
            return;
        }
        prompt = dialog->labelText();
        if (auto* edit = dialog->findChild<QLineEdit*>()) edit->setText(text);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (buttons)
            buttons->button(cancel ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
    });
}

}  // namespace capzel::test
