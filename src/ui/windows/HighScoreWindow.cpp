#include "ui/windows/HighScoreWindow.h"

#include <QFrame>
#include <QLabel>

#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {

constexpr int kClientWidth = 4230;
constexpr int kClientHeight = 5205;
constexpr int kRowTops[kHighScoreRows] = {60, 555, 1065, 1560, 2055, 2565, 3060, 3555, 4065, 4560};
constexpr int kFrameHeight = 495;
constexpr int kNameFrameLeft = 120;
constexpr int kNameFrameWidth = 2415;
constexpr int kScoreFrameLeft = 2880;
constexpr int kScoreFrameWidth = 1215;
constexpr int kLabelTop = 195;
constexpr int kLabelHeight = 195;

QRect pxBox(int left, int top, int width, int height) { return {ipx(left), ipx(top), ipx(width), ipx(height)}; }

QFrame* makeFrame(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setGeometry(pxBox(left, top, width, kFrameHeight));
    frame->setStyleSheet(QStringLiteral("QFrame#%1 { background: black; border: 1px solid #808080; }").arg(name));
    return frame;
}

QLabel* makeLabel(QFrame* frame, const QString& name, int left, int width, Qt::Alignment align) {
    auto* label = new QLabel(frame);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);  // names come from a file anyone can edit
    label->setGeometry(pxBox(left, kLabelTop, width, kLabelHeight));
    label->setAlignment(align | Qt::AlignVCenter);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

}  // namespace

HighScoreWindow::HighScoreWindow(Platform& files, const std::string& path, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HighScoreWindow"));
    setWindowTitle(QStringLiteral("High Scores"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ipx(kClientWidth), ipx(kClientHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    buildRows();
    table_ = loadHighScores(files, path);
    showTable();
}

void HighScoreWindow::buildRows() {
    for (int i = 1; i <= kHighScoreRows; ++i) {
        const int top = kRowTops[i - 1];
        QFrame* nameFrame = makeFrame(this, QStringLiteral("nameFrame%1").arg(i), kNameFrameLeft, top, kNameFrameWidth);
        QFrame* scoreFrame =
            makeFrame(this, QStringLiteral("scoreFrame%1").arg(i), kScoreFrameLeft, top, kScoreFrameWidth);
        nameLabels_[std::size_t(i)] = makeLabel(nameFrame, QStringLiteral("nameLabel%1").arg(i), 120, 2160, Qt::AlignLeft);
        scoreLabels_[std::size_t(i)] = makeLabel(scoreFrame, QStringLiteral("scoreLabel%1").arg(i), 0, 1200, Qt::AlignHCenter);
    }
}

void HighScoreWindow::showTable() {
    for (int i = 1; i <= kHighScoreRows; ++i) {
        const HighScoreRow& row = table_[std::size_t(i - 1)];
        QLabel* name = nameLabels_[std::size_t(i)];
        const QString full = QString::fromStdString(row.name);
        // A name too long for its frame ends in an ellipsis.
        name->setText(name->fontMetrics().elidedText(full, Qt::ElideRight, name->width()));
        scoreLabels_[std::size_t(i)]->setText(QString::fromStdString(row.scoreText()));
    }
}

}  // namespace capzel::ui
