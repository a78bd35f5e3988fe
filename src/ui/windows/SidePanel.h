// The strip beside the main window's field, right of it, as high as the
// field: the rules' messages when they are not shown in boxes (and what an
// online game says), a "Watching" cue while this computer only watches, a
// short word when a drag on the field is not taken, and a docked widget
// beneath (the online chat), the split between them moved by the player.
// It never covers the field, and it is not there in the classic look.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QSplitter;

namespace capzel::ui {

class RuleBanner;

class SidePanel : public QWidget {
    Q_OBJECT
public:
    // Its width beside the classic field, in pixels.
    static constexpr int kWidth = 240;

    explicit SidePanel(QWidget* parent);

    RuleBanner* banner() const { return banner_; }

    // Its width and type `zoom` times as large, as high as `fieldHeight`.
    void fit(double zoom, int fieldHeight);

    // Puts `widget` beneath the messages (taking it over), or gives the
    // room back when it is null; the one docked now, or null.
    void dock(QWidget* widget);
    QWidget* docked() const { return docked_; }

    // The cue shown while this computer follows a game it has no seat in.
    void setWatching(bool watching);
    bool watching() const { return watching_; }
    QLabel* watchingLabel() const { return watchingLabel_; }

    // A word for a moment (a drag that is not taken), under the cue.
    void say(const QString& word);
    QLabel* noteLabel() const { return note_; }

    // Whether the strip has anything to hold beyond messages.
    bool holdsMore() const { return watching_ || docked_ != nullptr; }

private:
    RuleBanner* banner_;
    QLabel* watchingLabel_;
    QLabel* note_;
    QSplitter* split_;
    QWidget* docked_ = nullptr;
    QTimer noteTime_;
    bool watching_ = false;
    double zoom_ = 1.0;
};

}  // namespace capzel::ui
