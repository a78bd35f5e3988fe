#include "desktop/MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtGlobal>
#include <deque>
#include <map>
#include <utility>

namespace capzel::ui {

namespace {

double zoomOfBoxes = 1.0;

// A box's type at the player's size.
void zoomBox(QWidget& box) {
    if (zoomOfBoxes == 1.0) return;
    QFont f = box.font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * zoomOfBoxes);
    else
        f.setPixelSize(int(f.pixelSize() * zoomOfBoxes + 0.5));
    box.setFont(f);
}

// With CAPZEL_MESSAGE_LOG naming a file, every box appends one line to it
// (its kind, then its text with line breaks written as "\n"), so that a
// script driving the game through real input can read what it was told.
void journal(const char* kind, const QString& text) {
    static const QString path = qEnvironmentVariable("CAPZEL_MESSAGE_LOG");
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text)) return;
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\\n")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    file.write(QByteArray(kind) + ": " + line.toUtf8() + "\n");
}

// A box shown while the busy pointer is on (the turn that starts at the end
// of a load) shows the normal pointer until it is answered.
class NormalPointer {
public:
    NormalPointer() : pushed_(QApplication::overrideCursor() != nullptr) {
        if (pushed_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointer() {
        if (pushed_) QApplication::restoreOverrideCursor();
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    bool pushed_;
};

// A key still held from before the box opened (Space held to run a shot
// fast) repeats; its repeats must not press the box's button, so that the
// box is answered only by a key pressed for it. A repeat is a release and a
// press at one moment of the display's clock; the toolkit marks it, but on a
// busy machine it may take it for a new press, so the moment is looked at too.
class HeldKeys : public QObject {
public:
    explicit HeldKeys(QWidget* box) : box_(box) { qApp->installEventFilter(this); }
    ~HeldKeys() override { qApp->removeEventFilter(this); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::KeyPress;
        if (!press && event->type() != QEvent::KeyRelease) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || (widget != box_ && !box_->isAncestorOf(widget))) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->isAutoRepeat()) return true;
        if (!press) {
            lastRelease_[key->key()] = key->timestamp();
            return false;
        }
        const auto released = lastRelease_.find(key->key());
        return released != lastRelease_.end() && released->second == key->timestamp();
    }

private:
    QWidget* box_;
    std::map<int, quint64> lastRelease_;  // key -> moment of its last release
};

int run(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons, int closeAfterMs = 0) {
    journal(buttons & QMessageBox::Yes ? "question" : "message", text);
    const NormalPointer pointer;
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    zoomBox(box);
    const HeldKeys held(&box);
    if (closeAfterMs > 0) {
        // Clicked as a player would click it: the box gives OK.
        QTimer::singleShot(closeAfterMs, &box, [&box] {
            if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->click();
        });
    }
    return box.exec();
}
// The loose boxes: the one open, and those waiting for it to close.
struct LooseBoxes {
    QPointer<QMessageBox> open;
    std::deque<std::pair<QPointer<QWidget>, QString>> waiting;

    void next() {
        if (open || waiting.empty()) return;
        auto [parent, text] = waiting.front();
        waiting.pop_front();
        journal("message", text);
        auto* box = new QMessageBox(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
        box->setTextFormat(Qt::PlainText);
        box->setWindowModality(Qt::NonModal);
        box->setAttribute(Qt::WA_DeleteOnClose);
        zoomBox(*box);
        QObject::connect(box, &QObject::destroyed, box, [this] { QTimer::singleShot(0, qApp, [this] { next(); }); });
        open = box;
        box->show();
        box->raise();
        box->activateWindow();
    }
};

LooseBoxes& looseBoxes() {
    static LooseBoxes boxes;
    return boxes;
}

}  // namespace

void showLooseMessage(QWidget* parent, const QString& text) {
    looseBoxes().waiting.emplace_back(parent, text);
    looseBoxes().next();
}

QWidget* openLooseMessage() { return looseBoxes().open; }

void setBoxZoom(double zoom) { zoomOfBoxes = zoom; }
double boxZoom() { return zoomOfBoxes; }

void showMessage(QWidget* parent, const QString& text) { run(parent, text, QMessageBox::Ok); }

void showPassingMessage(QWidget* parent, const QString& text, int closeAfterMs) {
    run(parent, text, QMessageBox::Ok, closeAfterMs);
}

bool askYesNo(QWidget* parent, const QString& text) {
    return run(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString askInput(QWidget* parent, const QString& prompt) {
    journal("input", prompt);
    const NormalPointer pointer;
    QInputDialog dialog(parent);
    dialog.setWindowTitle(kTitle);
    zoomBox(dialog);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    // The prompt is a fixed text of the game, but keep it plain all the same.
    if (auto* label = dialog.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.textValue();
}

}  // namespace capzel::ui
