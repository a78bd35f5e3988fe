#include "ui/windows/HelpPictures.h"

#include <QPainter>

#include "controls/TurnController.h"
#include "model/GameSetup.h"
#include "platform/SilentPlatform.h"
#include "ui/windows/FieldView.h"
#include "ui/windows/Twips.h"
#include "ui/windows/Twips.h"

namespace capzel::ui {

namespace {

// No window and no disk, and a clock that runs a little at each look, so
// that a charge of the power bar goes on when advanced.
class DemoPlatform : public SilentPlatform {
public:
    double clock() override { return now_ += 0.005; }

private:
    double now_ = 0;
};

// A game of its own, with the turn played on its field.
struct DemoGame {
    Match match;
    DemoPlatform silent;
    TurnController turn{match, silent};
    FieldMarkings marks = makeFieldMarkings();

    explicit DemoGame(const GameSetup& setup) : match(built(setup)) {}

    static Game built(const GameSetup& setup) {
        Game g;
        buildGame(g, setup);
        return g;
    }

    QPointF centreOf(int piece) const {
        const Box& p = match.game().piece(piece);
        return {p.left + p.width / 2.0, p.top + p.height / 2.0};
    }

    // The field as the main window shows it, with the turn's marks.
    QPixmap grab() {
        FieldView view(turn, marks, nullptr);
        view.setFixedSize(kFieldWidthPx, kFieldHeightPx);
        view.setHints(&match.game());
        view.syncGoButton();
        return view.grab();
    }
};

// Where a piece stands when centred on box k of the field's layout.
PiecePlace centredOn(int k) {
    static const Board layout = makeBoardLayout();
    const Box& s = layout.spots[std::size_t(k)];
    return {s.left + s.width / 2 - 150, s.top + s.height / 2 - 150};
}

SeatSetup seat(const char* name, Color colour, std::optional<PiecePlace> piece = std::nullopt) {
    SeatSetup s;
    s.name = name;
    s.color = colour;
    s.inGame = piece.has_value();
    s.piece = piece;
    return s;
}

// The part of the picture given in field twips, `width` pixels wide.
QPixmap part(const QPixmap& whole, double left, double top, double width, double height, int shownWidth) {
    const QRect r = pxRect(left, top, width, height).toAlignedRect().intersected(whole.rect());
    return whole.copy(r).scaledToWidth(shownWidth, Qt::SmoothTransformation);
}

QPixmap aiming(int width, bool release) {
    GameSetup setup;
    setup.seats.push_back(seat("You", rgb(255, 255, 0), centredOn(1)));
    DemoGame demo(setup);
    // Dragged back down and to the left: the piece will go up and right.
    const QPointF c = demo.centreOf(1);
    demo.turn.mouseMove(1, 0, float(c.x() - 1400), float(c.y() + 1000));
    if (release) {
        demo.turn.mouseUp();
        for (int i = 0; i < 400 && demo.turn.running(); ++i) demo.turn.advance();
        return part(demo.grab(), 0, 3300, 4400, kClientHeight - 3300, width);
    }
    return part(demo.grab(), c.x() - 1500, c.y() - 2000, 3600, 3000, width);
}

QPixmap course(int width) {
    GameSetup setup;
    setup.seats.push_back(seat("You", rgb(255, 255, 0)));
    DemoGame demo(setup);
    return part(demo.grab(), 0, 0, kClientWidth, kClientHeight, width);
}

QPixmap killer(int width) {
    GameSetup setup;
    SeatSetup hunter = seat("Killer", rgb(255, 64, 64), centredOn(13));
    hunter.isKiller = true;
    hunter.position = 29;
    setup.seats.push_back(hunter);
    setup.seats.push_back(seat("Ann", rgb(64, 160, 255), centredOn(26)));
    setup.seats.push_back(seat("Bob", rgb(64, 255, 64), centredOn(27)));
    setup.seats[1].position = 25;
    setup.seats[2].position = 25;
    DemoGame demo(setup);
    const QPointF c = demo.centreOf(1);
    return part(demo.grab(), c.x() - 2600, c.y() - 2000, 5200, 4000, width);
}

}  // namespace

QPixmap helpPicture(HelpPicture which, int width) {
    switch (which) {
    case HelpPicture::Aiming: return aiming(width, false);
    case HelpPicture::Bar: return aiming(width, true);
    case HelpPicture::Course: return course(width);
    case HelpPicture::Killer: return killer(width);
    }
    return {};
}

}  // namespace capzel::ui
