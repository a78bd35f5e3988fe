#include "ui/online/ChatLine.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "protocol/Messages.h"
#include "ui/windows/NameLengthValidator.h"

namespace capzel::ui {

namespace {

// Control characters (a pasted line break, a tab) become spaces, so that a
// line stays one line in the log and the server takes it.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return text;
}

}  // namespace

ChatLine::ChatLine(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ChatLine"));
    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("chatLog"));
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(kLogLines);
    log_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Docked beside the field, it takes the height the player gives it.
    log_->setMinimumHeight(log_->fontMetrics().lineSpacing() * 3 + 2 * log_->frameWidth() + 8);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("chatEdit"));
    edit_->setPlaceholderText(QStringLiteral("Say something to the room"));
    edit_->setValidator(new NameLengthValidator(protocol::kMaxChatChars, edit_));
    send_ = new QPushButton(QStringLiteral("Send"), this);
    send_->setObjectName(QStringLiteral("chatSend"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(log_, 0, 0, 1, 2);
    grid->addWidget(edit_, 1, 0);
    grid->addWidget(send_, 1, 1);

    gap_.setSingleShot(true);
    gap_.setInterval(1000);
    connect(&gap_, &QTimer::timeout, this, &ChatLine::updateSend);
    connect(edit_, &QLineEdit::textChanged, this, &ChatLine::updateSend);
    connect(edit_, &QLineEdit::returnPressed, this, &ChatLine::send);
    connect(send_, &QPushButton::clicked, this, &ChatLine::send);
    updateSend();
}

void ChatLine::updateSend() { send_->setEnabled(!gap_.isActive() && !edit_->text().trimmed().isEmpty()); }

void ChatLine::send() {
    const QString text = oneLine(edit_->text()).trimmed();
    if (gap_.isActive() || text.isEmpty() || !protocol::isPlainText(text.toStdString(), protocol::kMaxChatChars)) return;
    edit_->clear();
    gap_.start();
    updateSend();
    emit sendLine(text);
}

QString ChatLine::lineText(const QString& who, const QString& text) {
    return oneLine(who) + QStringLiteral(": ") + oneLine(text);
}

void ChatLine::addLine(const QString& who, const QString& text) { addText(lineText(who, text)); }

// appendPlainText never reads markup: "<b>" shows as typed.
void ChatLine::addText(const QString& line) { log_->appendPlainText(oneLine(line)); }

}  // namespace capzel::ui
