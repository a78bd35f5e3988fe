#include "ui/windows/AboutBox.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "capzel_version.h"
#include "ui/windows/Config.h"
#include "desktop/MessageBoxes.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {

constexpr int kClientLeft = 2340;  // where the client area opens, from the screen's corner
constexpr int kClientTop = 1935;
constexpr int kFloorY = 2460;

// Text sizes at the 96 dots per inch the twip layout assumes.
constexpr int kPx8 = 11;   // 8.25 point
constexpr int kPx12 = 16;  // 12 point
constexpr int kPx24 = 32;  // 24 point

const char* const kDisclaimer =
    "Warning: this game is provided as is, without any warranty. You play it at your own "
    "risk; the author accepts no liability for any loss or damage arising from its use.";

QColor toQColor(capzel::Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      piece_([] { return int(QRandomGenerator::global()->bounded(2)); }),
      sysInfoPrograms_(defaultSysInfoPrograms()) {
    setObjectName("AboutBox");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("About ") + kTitle);
    setGeometry(ipx(kClientLeft), ipx(kClientTop), ipx(5730), ipx(3555));
    setFixedSize(ipx(5730), ipx(3555));
    QFont small = font();
    small.setPixelSize(kPx8);
    setFont(small);

    addLabel("titleLabel", kTitle, 2182, 180, 1365, 555, Qt::AlignHCenter, kPx24, true);
    const QString version = QStringLiteral("Version %1.%2.%3")
                                .arg(CAPZEL_VERSION_MAJOR)
                                .arg(CAPZEL_VERSION_MINOR)
                                .arg(CAPZEL_VERSION_PATCH);
    addLabel("versionLabel", version, 2167, 720, 1395, 300, Qt::AlignHCenter, kPx12, true);
    addLabel("authorLabel", QStringLiteral("Game Programmed by: Norvin Telk"), 1364, 1020, 3000, 195,
             Qt::AlignHCenter, kPx8, true);
    addLabel("webHelperLabel", QStringLiteral("Web Site help: ") + QString::fromUtf8(config::kWebSiteHelper),
             1874, 1260, 1980, 195, Qt::AlignHCenter, kPx8, false);
    descriptionLabel_ = addLabel("descriptionLabel", QStringLiteral("For the most recent updates click"), 1687,
                                1500, 2355, 195, Qt::AlignLeft, kPx8, false);
    homePageLink_ = addLabel("homePageLink", QStringLiteral("here"), 4080, 1500, 315, 195,
                                Qt::AlignLeft, kPx8, false);
    QPalette link = homePageLink_->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));
    homePageLink_->setPalette(link);
    homePageLink_->setCursor(Qt::PointingHandCursor);
    homePageLink_->installEventFilter(this);
    layOutUpdatesLine();

    QLabel* disclaimer = addLabel("disclaimerLabel", QString::fromLatin1(kDisclaimer), 255, 2625, 3870, 825,
                                  Qt::AlignLeft, kPx8, false);
    disclaimer->setWordWrap(true);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName("okButton");
    okButton->setGeometry(ipx(4245), ipx(2625), ipx(1260), ipx(345));
    okButton->setDefault(true);  // Enter presses it; Esc closes the box as well
    connect(okButton, &QPushButton::clicked, this, &QWidget::close);

    auto* systemInfoButton = new QPushButton(QStringLiteral("&System Info..."), this);
    systemInfoButton->setObjectName("systemInfoButton");
    systemInfoButton->setGeometry(ipx(4260), ipx(3075), ipx(1245), ipx(345));
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutBox::startSystemInfo);

    colorTimer_ = new QTimer(this);
    colorTimer_->setInterval(1000);
    connect(colorTimer_, &QTimer::timeout, this, &AboutBox::changePieceColor);
    colorTimer_->start();
    animationTimer_ = new QTimer(this);
    animationTimer_->setInterval(10);
    connect(animationTimer_, &QTimer::timeout, this, &AboutBox::animatePiece);
    animationTimer_->start();
}

QLabel* AboutBox::addLabel(const char* name, const QString& text, int left, int top, int width, int height,
                           Qt::Alignment align, int pixelSize, bool bold) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignTop);
    QFont f = font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    label->setFont(f);
    QRect r(ipx(left), ipx(top), ipx(width), ipx(height));
    // A centred text wider than its place (the desktop's type may run wider
    // than the layout assumed) spreads evenly to both sides.
    const int needed = label->fontMetrics().horizontalAdvance(text) + 2;
    if ((align & Qt::AlignHCenter) && needed > r.width())
        r.adjust(-(needed - r.width()) / 2, 0, (needed - r.width() + 1) / 2, 0);
    const int neededHeight = label->fontMetrics().height();
    if (!label->wordWrap() && neededHeight > r.height()) r.setHeight(neededHeight);
    label->setGeometry(r);
    return label;
}

// "For the most recent updates click" and "here" read as one line: when the
// text runs wider than its place, the pair is centred in the window with the
// same gap instead of overlapping.
void AboutBox::layOutUpdatesLine() {
    const int textWidth = descriptionLabel_->fontMetrics().horizontalAdvance(descriptionLabel_->text()) + 1;
    const int linkWidth = homePageLink_->fontMetrics().horizontalAdvance(homePageLink_->text()) + 1;
    QRect text = descriptionLabel_->geometry();
    QRect link = homePageLink_->geometry();
    link.setWidth(std::max(link.width(), linkWidth));
    if (textWidth <= text.width()) {
        homePageLink_->setGeometry(link);
        return;
    }
    const int gap = descriptionLabel_->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int total = textWidth + gap + link.width();
    const int left = std::max(0, (width() - total) / 2);
    text.setRect(left, text.top(), textWidth, text.height());
    link.moveLeft(left + textWidth + gap);
    descriptionLabel_->setGeometry(text);
    homePageLink_->setGeometry(link);
}

void AboutBox::setRandomBit(AboutPiece::RandomBit bit) { piece_.setRandomBit(std::move(bit)); }

QRect AboutBox::pieceRect() const {
    const QRectF r(px(double(piece_.left) * kAboutUnitX), px(double(piece_.top) * kAboutUnitY),
                   px(double(piece_.width) * kAboutUnitX), px(double(piece_.height) * kAboutUnitY));
    return r.toAlignedRect();
}

void AboutBox::changePieceColor() {
    pieceColor_ = colors_.next();
    update(pieceRect());
}

void AboutBox::animatePiece() {
    const QRect before = pieceRect();
    piece_.tick();
    const QRect after = pieceRect();
    if (after != before) update(before.united(after));
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The floor: a white line 2 pixels wide under its grey shadow, an etched rule.
    const int y = ipx(kFloorY);
    painter.fillRect(QRect(QPoint(ipx(105), y), QPoint(ipx(5654), y + 1)), Qt::white);
    painter.fillRect(QRect(QPoint(ipx(75), y), QPoint(ipx(5639), y)), QColor(128, 128, 128));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(pieceColor_));
    const QRectF r(px(double(piece_.left) * kAboutUnitX), px(double(piece_.top) * kAboutUnitY),
                   px(double(piece_.width) * kAboutUnitX), px(double(piece_.height) * kAboutUnitY));
    painter.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == homePageLink_ && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && homePageLink_->rect().contains(me->position().toPoint())) {
            openHomePage();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::openHomePage() {
    // Nothing is reported when no browser can open it.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(config::kHomePage)));
}

QStringList AboutBox::defaultSysInfoPrograms() {
    // Dedicated system profilers first, then the information pages of the
    // common desktops' own settings programs (see doc/about-box.md).
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-control-center info-overview"),
            QStringLiteral("cinnamon-settings info"),
            QStringLiteral("xfce4-about"),
            QStringLiteral("mate-system-monitor --show-system-tab")};
}

void AboutBox::startSystemInfo() {
    // The first program of the list found on the search path is started;
    // when none is there, or the one found will not start, the box says so.
    for (const QString& commandLine : sysInfoPrograms_) {
        QStringList words = commandLine.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString path = QStandardPaths::findExecutable(words.takeFirst());
        if (path.isEmpty()) continue;
        if (QProcess::startDetached(path, words)) return;
        break;
    }
    showMessage(this, QStringLiteral("System Information Is Unavailable At This Time"));
}

}  // namespace capzel::ui
