// The rules' messages beside the field: a strip of their own (never over the
// field) with the same words the boxes would show, in light text on dark
// cards stacked from the top. It never waits for the player. Messages queue
// in order, a few shown at a time; each goes when it is clicked, or when the
// next aim starts, once it has been up long enough to be read (a computer
// aims soon after its turn is announced).
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace capzel::ui {

class RuleBanner : public QWidget {
    Q_OBJECT
public:
    // How many messages show at once; later ones wait their turn.
    static constexpr int kShownAtOnce = 3;

    explicit RuleBanner(QWidget* parent);

    // The type `zoom` times its designed size, with the field beside it.
    void setZoom(double zoom);

    // Queues a message (lines separated by "\n"), shown as plain text.
    void post(const QString& text);

    // An aim starts: the messages go, each once it has been up for
    // readingMs (those shown for less follow when their time is up).
    void aimStarted();
    // Every message goes at once (the banner mode was turned off).
    void clear();
    // A message no longer true goes at once, read or not.
    void withdraw(const QString& text);

    // The messages queued, in order: the shown ones first.
    QStringList messages() const;
    // The labels on screen, top to bottom (a click on one dismisses it).
    QList<QLabel*> shownLabels() const;

    int readingMs = 2000;

signals:
    // The messages shown have changed (one came, or went).
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Message {
        QString text;
        QElapsedTimer shownFor;  // started once it is on screen
    };
    void dismiss(int index);
    void expire();
    void relayout();

    QList<Message> queue_;
    QList<QLabel*> labels_;  // one per shown message
    QTimer expiry_;
    bool aimPending_ = false;  // an aim started while some messages were still young
    double zoom_ = 1.0;
};

}  // namespace capzel::ui
