#include "ui/windows/HowToPlayWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "ui/windows/FramePlacement.h"
#include "ui/windows/HelpPictures.h"

namespace capzel::ui {

namespace {

constexpr int kPictureWidth = 240;

struct HelpPart {
    const char* title;
    std::optional<HelpPicture> picture;
    const char* text;
};

// The parts in the order a first game meets them. Written as rich text: it
// is the game's own, never a player's.
const HelpPart kParts[] = {
    {"Start a game", std::nullopt,
     "Start with <b>File &gt; New</b>: choose how many play, type the names, pick the colours and, under "
     "\"Played by\", whether a person or the computer plays each seat; then press <b>Play</b>. The players take "
     "turns at this computer, the first at the bottom of the piece holder."},
    {"Aim", HelpPicture::Aiming,
     "Press the left mouse button on the field and drag <b>back</b>, away from where your piece should go. "
     "The aim line runs from the centre of your piece to the mouse; the piece will travel the opposite way. "
     "Only the direction counts, not the length of the line."},
    {"Strength: the power bar", HelpPicture::Bar,
     "Release the button: the power bar on the left starts filling, and <b>Go</b> appears. Press Go "
     "(or <b>Space</b> or <b>Enter</b>) when the bar is as full as you want: the fuller, the harder the shot. "
     "<b>Esc</b> calls off the aim or the charge, and you aim again."},
    {"The course", HelpPicture::Course,
     "Land your piece inside your next box, clear of its edges: boxes <b>1 to 13</b>, then back down from 12 "
     "to <b>1</b>, then the letters <b>A to D</b> beside the centre (with the helpers on, your piece is ringed "
     "between shots and the box it must reach is outlined). Shot from where the rules put it, a piece that reaches its box at "
     "once moves you two boxes on (ONE SHOT!). Each pair of pieces that touch during your shot, and each "
     "other piece left inside its own next box, moves you one box further. After any of these your piece "
     "is put in the middle of your new box and you shoot again; a shot that achieves nothing passes the "
     "turn. Landing in a wrong letter box without touching anything costs your next turn. Points: 10 for "
     "each touching pair, 15 for each piece sent into its box, 5 for your box (25 in one shot), 50 for "
     "becoming a killer."},
    {"Killers", HelpPicture::Killer,
     "Whoever reaches D becomes a <b>killer</b>: the killer's piece knocks out every piece it touches "
     "(100 points each), and those players are out of the game (with the helpers on, dashed rings mark the "
     "pieces a killer can take). A killer shoots again after a kill or after landing in a box. The last one left wins; alone, "
     "becoming a killer wins the game."},
    {"Placing by hand", std::nullopt,
     "When the rules have just put your piece in the middle of a box, hold <b>Shift</b> and move the mouse "
     "(no button) to slide it anywhere inside that box before you aim."},
    {"Keys", std::nullopt,
     "<b>Space</b> or <b>Enter</b>: Go while the bar fills. <b>Esc</b>: call off an aim or a charge. Hold "
     "<b>Space</b> during a shot to run it eight times faster. <b>Ctrl+Z</b>: undo the last shot. "
     "<b>Ctrl+T</b>: Suggest Shot. <b>Ctrl+S</b>: the status table. <b>Esc</b> closes this window."},
    {"Suggest Shot", std::nullopt,
     "Not sure where to aim? <b>Extras &gt; Suggest Shot</b> (<b>Ctrl+T</b>) asks the computer's best player for "
     "a shot: a dashed green line from your piece to the point to drag to, a green mark on the power bar where "
     "to press Go, and the strength in words. It only draws; you still aim and shoot yourself."},
    {"Friction", std::nullopt,
     "In <b>File &gt; New</b>, \"Friction Changes\" shows five circles beside each player, from very low "
     "friction (left: pieces slide farthest) to very high (right: pieces stop soonest). More friction is "
     "harder, so it starts the player with more points. \"Walls\" puts red walls on the field; pieces bounce "
     "off them and off the field's edges, so a straight shot at a box may be blocked."},
    {"Comforts", std::nullopt,
     "<b>Extras &gt; Settings...</b> changes how the game looks and sounds for you: the rules' messages as "
     "boxes or in a strip beside the field, the size of the windows, sound effects and volumes, a bold aim line "
     "with an arrow, and a steadier power bar. <b>Extras</b> also holds the game history, fast forward, replay, "
     "undo and Suggest Shot."},
    {"Helpers", std::nullopt,
     "The game starts with the classic look. The helpers are in <b>Extras &gt; Settings...</b>, under "
     "<b>Helpers</b>, each off until you turn it on: rings and outlines on the field (your piece between shots, "
     "the box it must reach, a killer's prey; also <b>Extras &gt; Show Hints</b>), marks in the status window "
     "(an arrow at the player whose turn it is, the names of players who are out struck through, who is "
     "connected online), a chart of the scores at the end of a game, and icons on buttons. The first-game "
     "steps' <b>Turn on the helpers</b> turns them all on at once."},
};

QWidget* partWidget(const HelpPart& part, QWidget* parent, double zoom) {
    const int pictureWidth = int(std::lround(kPictureWidth * zoom));
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 4, 0, 12);
    if (part.picture) {
        auto* picture = new QLabel(box);
        picture->setPixmap(helpPicture(*part.picture, pictureWidth));
        picture->setFixedWidth(pictureWidth);
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture, 0, Qt::AlignTop);
    }
    auto* words = new QLabel(QStringLiteral("<h3>%1</h3>%2").arg(QString::fromUtf8(part.title),
                                                                 QString::fromUtf8(part.text)),
                             box);
    words->setTextFormat(Qt::RichText);
    words->setWordWrap(true);
    words->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    row->addWidget(words, 1);
    return box;
}

QPointer<HowToPlayWindow>& current() {
    static QPointer<HowToPlayWindow> window;
    return window;
}

}  // namespace

HowToPlayWindow::HowToPlayWindow(double zoom) : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("howToPlay"));
    setWindowTitle(QStringLiteral("How to Play"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont readable = font();
    readable.setPixelSize(int(std::lround(14 * zoom)));
    setFont(readable);

    auto* page = new QWidget;
    auto* parts = new QVBoxLayout(page);
    for (const HelpPart& part : kParts) parts->addWidget(partWidget(part, page, zoom));
    parts->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeHowToPlay"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(int(std::lround(760 * zoom)), int(std::lround(620 * zoom)));
}

void HowToPlayWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

HowToPlayWindow* HowToPlayWindow::openOne() { return current(); }

HowToPlayWindow* HowToPlayWindow::showOne(double zoom) {
    const bool fresh = !current();
    if (fresh) current() = new HowToPlayWindow(zoom);  // deletes itself when closed
    HowToPlayWindow* w = current();
    w->show();
    // Whole on the screen, clear of the game's other windows where there is room.
    if (fresh)
        placeClear(*w, [w] {
            QRect frame = w->frameGeometry();
            if (w->screen()) frame.moveCenter(w->screen()->availableGeometry().center());
            return frame.topLeft();
        });
    w->raise();
    w->activateWindow();
    return w;
}

}  // namespace capzel::ui
