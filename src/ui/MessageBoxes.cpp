#include "ui/MessageBoxes.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace capzel::ui {

namespace {
int run(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}
}  // namespace

void showMessage(QWidget* parent, const QString& text) { run(parent, text, QMessageBox::Ok); }

bool askYesNo(QWidget* parent, const QString& text) {
    return run(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString askInput(QWidget* parent, const QString& prompt) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(kTitle);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    // The prompt is a fixed text of the game, but keep it plain all the same.
    if (auto* label = dialog.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.textValue();
}

}  // namespace capzel::ui
