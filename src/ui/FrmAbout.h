// The About box: title, version, author, the home-page link, a disclaimer,
// OK and "System Info...", and a small piece that jumps, bounces on a floor
// line and changes colour every second. Not modal; it deletes itself when
// it is closed.
//
// Usage: CapzelApp::showAbout().
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui/AboutPiece.h"

class QLabel;
class QPushButton;
class QTimer;

namespace capzel::ui {

class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent = nullptr);

    // Colour change, every 1000 ms.
    void Timer1_Timer();
    // One tick of the animation, every 10 ms.
    void Timer2_Timer();
    // Starts the desktop's system-information program, or says it cannot.
    void StartSysInfo();
    // Opens the program's home page in the desktop's browser.
    void lblDescription2_Click();

    const AboutPiece& piece() const { return piece_; }
    capzel::Color pieceColor() const { return pieceColor_; }
    int colorIndex() const { return colors_.ColorIndex; }

    // Replaces the coin that decides each jump's direction (tests).
    void setRandomBit(AboutPiece::RandomBit bit);

    // The programs "System Info..." looks for, in order of preference: each
    // a program name, followed by its arguments after blanks.
    static QStringList defaultSysInfoPrograms();
    void setSysInfoPrograms(const QStringList& programs) { sysInfoPrograms_ = programs; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QString& text, int left, int top, int width, int height,
                     Qt::Alignment align, int pixelSize, bool bold);
    void layOutUpdatesLine();
    QRect pieceRect() const;

    AboutPiece piece_;
    AboutColorCycle colors_;
    capzel::Color pieceColor_ = rgb(255, 255, 255);  // white until the first change
    QStringList sysInfoPrograms_;

    QLabel* lblDescription1_ = nullptr;
    QLabel* lblDescription2_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QTimer* Timer2_ = nullptr;
};

}  // namespace capzel::ui
