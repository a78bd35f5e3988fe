#include "ui/windows/NewGameDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <random>

#include "players/Planner.h"
#include "ui/windows/GameHost.h"
#include "ui/windows/Twips.h"
#include "ui/windows/NameLengthValidator.h"

namespace capzel::ui {

namespace {

constexpr int kClientWidth = 9315;
constexpr int kClientHeight = 5475;
// Beside the classic dialog, right of "Play": who plays each row, under
// its caption.
constexpr int kSeatLeft = kClientWidth;
constexpr int kSeatWidth = 1710;
constexpr int kSeatMargin = 120;
constexpr int kRowPitch = 480;
constexpr int kFirstRowTop = 600;
constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kYellow = rgb(255, 255, 0);
constexpr Color kMaxColor = 16777215;  // 256^3 - 1

constexpr FrictionLevel kLevels[] = {FrictionLevel::VeryLow, FrictionLevel::Low, FrictionLevel::Normal,
                                     FrictionLevel::High, FrictionLevel::VeryHigh};
constexpr int kLevelLeft[] = {60, 300, 540, 780, 1020};  // inside the frame
constexpr int kLevelTop = 160;
constexpr int kLevelSize = 195;

int rowTop(int i) { return kFirstRowTop + kRowPitch * (i - 1); }

// What a seat's level means to a person choosing it: a computer level gives
// the share of its shots at the target that end in the target box.
QString seatToolTip(PlayerKind k) {
    if (k == PlayerKind::Human) return QStringLiteral("A person plays this seat");
    return QStringLiteral("The computer at %1 level: about %2 % of its shots at the target land in it")
        .arg(QString::fromLatin1(playerKindName(k)))
        .arg(players::levelTargetPercent(k));
}

QString cssColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)).name(); }

// Black text on light colours, white on dark ones, so "Color" stays readable.
QString textOn(Color c) {
    const int luma = 299 * redOf(c) + 587 * greenOf(c) + 114 * blueOf(c);
    return luma >= 128000 ? QStringLiteral("black") : QStringLiteral("white");
}

QString buttonStyle(Color c, double zoom) {
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid #808080;"
                          " font-size: %3px; }"
                          "QPushButton:pressed { border: 2px inset #808080; }")
        .arg(cssColor(c), textOn(c))
        .arg(int(std::lround(11 * zoom)));
}

}  // namespace

NewGameDialog::NewGameDialog(GameHost& app, QWidget* parent) : QWidget(parent), app_(app), zoom_(app.windowZoom()) {
    setObjectName(QStringLiteral("NewGameDialog"));
    setWindowTitle(QStringLiteral("New Game"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ipx(kSeatLeft + kSeatWidth + kSeatMargin, zoom_), ipx(kClientHeight, zoom_));
    setAutoFillBackground(true);
    // White captions on black. The option buttons and the Walls box take
    // their caption colour from here and keep the style's own dark text
    // colour for the dot and the tick on their white boxes, so the checked
    // state reads as in any dialog.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    // The places are tight: captions such as "8 Players" and "Friction
    // Changes" fit them in a small font.
    QFont small = font();
    small.setPixelSize(px(11));
    setFont(small);

    buildPlayerRows();
    for (int i = 1; i <= kMaxPlayers; ++i) buildFrictionFrame(i);
    buildButtons();
    buildSeatChoices();
    colorDialog_ = new QColorDialog(this);
    colorDialog_->setObjectName(QStringLiteral("colorDialog"));
    colorDialog_->setWindowTitle(QStringLiteral("Color"));
    initialize();
    addTips();
}

void NewGameDialog::buildPlayerRows() {
    auto* group = new QButtonGroup(this);
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(px(12));
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const auto at = std::size_t(i);
        auto* opt = new QRadioButton(i == 1 ? QStringLiteral("1 Player") : QStringLiteral("%1 Players").arg(i), this);
        opt->setObjectName(QStringLiteral("playerCountButton%1").arg(i));
        opt->setGeometry(pxBox(120, rowTop(i), 1095, 195).adjusted(0, -2, 0, 2));
        group->addButton(opt, i);
        playerCountOptions_[at] = opt;

        auto* name = new QLineEdit(QStringLiteral("Player %1").arg(i), this);
        name->setObjectName(QStringLiteral("nameEdit%1").arg(i));
        name->setGeometry(pxBox(1920, rowTop(i), 2415, 285));
        name->setFont(fixed);
        name->setValidator(new NameLengthValidator(name));
        name->installEventFilter(this);
        nameEdits_[at] = name;

        auto* color = new QPushButton(QStringLiteral("Color"), this);
        color->setObjectName(QStringLiteral("colorButton%1").arg(i));
        color->setGeometry(pxBox(4440, i == 1 ? 615 : rowTop(i), 1215, 285));
        color->setAutoDefault(false);
        connect(color, &QPushButton::clicked, this, [this, i] { pickColor(i); });
        colorButtons_[at] = color;
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int i) { choosePlayerCount(i); });
}

void NewGameDialog::buildFrictionFrame(int i) {
    const auto at = std::size_t(i);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frictionFrame%1").arg(i));
    frame->setGeometry(pxBox(5760, kRowPitch * i, 1275, 435));
    frame->setStyleSheet(QStringLiteral("QFrame#fraFriction%1 { border: 1px solid #808080; }").arg(i));
    auto* group = new QButtonGroup(frame);
    for (int k = 0; k < 5; ++k) {
        const FrictionLevelInfo& info = frictionLevelInfo(kLevels[k]);
        auto* opt = new QRadioButton(frame);
        opt->setObjectName(QString::fromLatin1(info.option) + QString::number(i));
        opt->setGeometry(pxBox(kLevelLeft[k], kLevelTop, kLevelSize, kLevelSize).adjusted(-1, -1, 1, 1));
        group->addButton(opt, k);
    }
    frictionGroup_[at] = group;
    frictionFrames_[at] = frame;
}

void NewGameDialog::buildButtons() {
    wallsCheck_ = new QCheckBox(QStringLiteral("Walls"), this);
    wallsCheck_->setObjectName(QStringLiteral("wallsCheck"));
    wallsCheck_->setGeometry(pxBox(3360, 120, 780, 285));
    wallsCheck_->setChecked(true);

    frictionToggle_ = new QPushButton(QStringLiteral("Friction Changes"), this);
    frictionToggle_->setObjectName(QStringLiteral("frictionToggle"));
    frictionToggle_->setCheckable(true);
    frictionToggle_->setAutoDefault(false);
    frictionToggle_->setGeometry(pxBox(5700, 60, 1395, 435));
    connect(frictionToggle_, &QPushButton::clicked, this, [this] { toggleFrictionChanges(); });

    playButton_ = new QPushButton(QStringLiteral("Play"), this);
    playButton_->setObjectName(QStringLiteral("playButton"));
    playButton_->setGeometry(pxBox(7920, 720, 1215, 495));
    playButton_->setAutoDefault(false);
    connect(playButton_, &QPushButton::clicked, this, [this] { startPlay(); });

    randomizeButton_ = new QPushButton(QStringLiteral("RanAll"), this);
    randomizeButton_->setObjectName(QStringLiteral("randomizeButton"));
    randomizeButton_->setGeometry(pxBox(4440, 4530, 1215, 495));
    randomizeButton_->setAutoDefault(false);
    connect(randomizeButton_, &QPushButton::clicked, this, [this] { randomizeAll(); });
}

// Who plays each row: a choice beside the row, in a column of its own right
// of the classic dialog, under a caption of its own. The items run from a
// person to the strongest level and carry their PlayerKind.
void NewGameDialog::buildSeatChoices() {
    auto* caption = new QLabel(QStringLiteral("Played by"), this);
    caption->setObjectName(QStringLiteral("seatCaption"));
    caption->setGeometry(pxBox(kSeatLeft, 300, kSeatWidth, 270));
    QFont readable = font();
    readable.setPixelSize(px(12));
    caption->setFont(readable);
    QString tip = QStringLiteral("Who plays this seat: a person, or the computer. Its levels, by the share "
                                 "of their shots at the target that land in it:");
    for (PlayerKind k : kPlayerKinds)
        if (k != PlayerKind::Human)
            tip += QStringLiteral("\n%1: %2 %").arg(QString::fromLatin1(playerKindName(k))).arg(players::levelTargetPercent(k));
    caption->setToolTip(tip);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        auto* seat = new QComboBox(this);
        seat->setObjectName(QStringLiteral("seatChoice%1").arg(i));
        for (PlayerKind k : kPlayerKinds) {
            seat->addItem(QString::fromLatin1(playerKindName(k)), int(k));
            seat->setItemData(seat->count() - 1, seatToolTip(k), Qt::ToolTipRole);
        }
        seat->setToolTip(tip);
        seat->setGeometry(pxBox(kSeatLeft, rowTop(i), kSeatWidth, 285));
        seat->setFont(readable);
        seatChoices_[std::size_t(i)] = seat;
    }
}

void NewGameDialog::initialize() {
    playersChosen_ = 1;
    playerCountOption(1)->setChecked(true);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        selectNormal(i);
        nameEdit(i)->setEnabled(i == 1);
        setButtonColor(i, defaultPlayerColor(i));
        colorButton(i)->setVisible(i == 1);
        frictionFrame(i)->setVisible(false);
        seatChoice(i)->setCurrentIndex(seatChoice(i)->findData(int(PlayerKind::Human)));
        seatChoice(i)->setVisible(i == 1);
    }
    setFrictionToggleColor(kWhite);
}

QRadioButton* NewGameDialog::frictionOption(int i, FrictionLevel level) const {
    return qobject_cast<QRadioButton*>(frictionGroup_[std::size_t(i)]->button(int(level)));
}

FrictionLevel NewGameDialog::frictionChoice(int i) const {
    const int id = frictionGroup_[std::size_t(i)]->checkedId();
    return id < 0 ? FrictionLevel::Normal : kLevels[id];
}

void NewGameDialog::selectNormal(int i) { frictionOption(i, FrictionLevel::Normal)->setChecked(true); }

void NewGameDialog::setButtonColor(int i, Color c) {
    colors_[std::size_t(i)] = c;
    colorButton(i)->setStyleSheet(buttonStyle(c, zoom_));
}

void NewGameDialog::setFrictionToggleColor(Color c) {
    frictionToggleColor_ = c;
    frictionToggle_->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: black; border: 2px outset #808080;"
                       " padding: 0; font-size: %2px; }"
                       "QPushButton:checked { border: 2px inset #808080; }")
            .arg(cssColor(c))
            .arg(px(10)));
}

void NewGameDialog::choosePlayerCount(int i) {
    playersChosen_ = i;
    playerCountOption(i)->setChecked(true);
    const bool frictionShown = frictionToggle_->isChecked();
    for (int r = 1; r <= i; ++r) {
        nameEdit(r)->setEnabled(true);
        colorButton(r)->setVisible(true);
        frictionFrame(r)->setVisible(frictionShown);
        seatChoice(r)->setVisible(true);
    }
    for (int r = i + 1; r <= kMaxPlayers; ++r) {
        nameEdit(r)->setEnabled(false);
        nameEdit(r)->setText(QStringLiteral("Player %1").arg(r));
        frictionFrame(r)->setVisible(false);
        selectNormal(r);
        colorButton(r)->setVisible(false);
        seatChoice(r)->setCurrentIndex(seatChoice(r)->findData(int(PlayerKind::Human)));
        seatChoice(r)->setVisible(false);
    }
    nameEdit(i)->setFocus();
}

bool NewGameDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void NewGameDialog::pickColor(int i) {
    // The dialog reports the last colour chosen in it (black at first), a
    // cancelled one included.
    colorDialog_->setCurrentColor(QColor(redOf(chosenColor_), greenOf(chosenColor_), blueOf(chosenColor_)));
    if (colorDialog_->exec() == QDialog::Accepted) {
        const QColor c = colorDialog_->selectedColor();
        if (c.isValid()) chosenColor_ = rgb(c.red(), c.green(), c.blue());
    }
    setButtonColor(i, chosenColor_);
}

void NewGameDialog::randomizeAll() {
    std::uniform_int_distribution<Color> any(0, kMaxColor);
    for (int i = 1; i <= kMaxPlayers; ++i) setButtonColor(i, any(app_.random()));
}

void NewGameDialog::toggleFrictionChanges() {
    const bool ticked = frictionToggle_->isChecked();
    for (int r = 1; r <= playersChosen_; ++r) frictionFrame(r)->setVisible(ticked);
    for (int r = playersChosen_ + 1; r <= kMaxPlayers; ++r) {
        frictionFrame(r)->setVisible(false);
        selectNormal(r);
    }
    if (!ticked) {
        for (int r = 1; r <= kMaxPlayers; ++r) selectNormal(r);
        setFrictionToggleColor(kWhite);
    } else {
        setFrictionToggleColor(kYellow);
    }
}

NewGameSettings NewGameDialog::settings() const {
    NewGameSettings s;
    s.players = playersChosen_;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const auto at = std::size_t(i);
        s.names[at] = nameEdit(i)->text().toStdString();
        s.colors[at] = colors_[at];
        s.friction[at] = frictionChoice(i);
        s.seats[at] = PlayerKind(seatChoice(i)->currentData().toInt());
    }
    s.walls = wallsCheck_->isChecked();
    return s;
}

void NewGameDialog::startPlay() {
    const NewGameSettings chosen = settings();
    // The dialog stays in memory, hidden, until the next New command; the
    // game begins in a new main window.
    hide();
    app_.beginNewGame(chosen);
}

}  // namespace capzel::ui
