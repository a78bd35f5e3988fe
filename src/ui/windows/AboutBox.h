// The About box: title, version, author, the home-page link, a disclaimer,
// OK and "System Info...", and a small piece that jumps, bounces on a floor
// line and changes colour every second. Not modal; it deletes itself when
// it is closed.
//
// Opened by the Help menu's "&About".
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui/windows/AboutPiece.h"

class QLabel;
class QPushButton;
class QTimer;

namespace capzel::ui {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Colour change, every 1000 ms.
    void changePieceColor();
    // One tick of the animation, every 10 ms.
    void animatePiece();
    // Starts the desktop's system-information program, or says it cannot.
    void startSystemInfo();
    // Opens the program's home page in the desktop's browser.
    void openHomePage();

    const AboutPiece& piece() const { return piece_; }
    capzel::Color pieceColor() const { return pieceColor_; }
    int colorIndex() const { return colors_.colorIndex; }

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

    QLabel* descriptionLabel_ = nullptr;
    QLabel* homePageLink_ = nullptr;
    QTimer* colorTimer_ = nullptr;
    QTimer* animationTimer_ = nullptr;
};

}  // namespace capzel::ui
