// The chat line of an online game: a one-line box for what to say, a Send
// button, and a log of the last lines said, docked beside the field. Lines are plain text both ways: a name or a line that
// looks like markup shows as typed. At most one line goes out a second
// (the Send button is greyed meanwhile), and none over the protocol's
// length or with a control character.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace capzel::ui {

class ChatLine : public QWidget {
    Q_OBJECT
public:
    explicit ChatLine(QWidget* parent = nullptr);

    // The least time between two lines sent, in milliseconds.
    void setMinimumGap(int ms) { gap_.setInterval(ms); }

    QLineEdit* lineEdit() const { return edit_; }
    QPushButton* sendButton() const { return send_; }
    QPlainTextEdit* log() const { return log_; }

    // The lines the log keeps; older ones scroll away.
    static constexpr int kLogLines = 200;

    // A line of the log as it reads: "who: text", on one line.
    static QString lineText(const QString& who, const QString& text);

signals:
    void sendLine(const QString& text);

public slots:
    void addLine(const QString& who, const QString& text);
    // A line already read as lineText() gives it.
    void addText(const QString& line);
    // Sends what the box holds, unless it is blank or a line went out too
    // recently.
    void send();

private:
    void updateSend();

    QLineEdit* edit_ = nullptr;
    QPushButton* send_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QTimer gap_;
};

}  // namespace capzel::ui
