// A top-level window that the application keeps while it is open: deleted
// with its owner, forgotten when it deletes itself on closing, and replaced
// safely (the previous one goes once control is back in the event loop, so
// a handler still running in it can return first).
#pragma once

#include <QPointer>
#include <QWidget>

namespace capzel::ui {

class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() { delete window_.data(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    QWidget* get() const { return window_.data(); }

    void reset(QWidget* window) {
        if (window_ && window_ != window) window_->deleteLater();
        window_ = window;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace capzel::ui
