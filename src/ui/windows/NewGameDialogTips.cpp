// What each control of the new-game dialog does, told in its tooltip, so
// that a first game needs no manual. The friction options keep their
// level's name as their tooltip; what the level does is their What's This,
// and the row of options says it in its own tooltip.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/Board.h"
#include "model/Friction.h"
#include "ui/windows/NewGameDialog.h"

namespace capzel::ui {

namespace {

const char* slideOf(FrictionLevel level) {
    switch (level) {
    case FrictionLevel::VeryLow: return "Pieces slide farthest";
    case FrictionLevel::Low: return "Pieces slide far";
    case FrictionLevel::Normal: return "Pieces slide as usual";
    case FrictionLevel::High: return "Pieces stop sooner";
    case FrictionLevel::VeryHigh: return "Pieces stop soonest";
    }
    return "";
}

// What a friction level does: its name, how far a piece slides at it and
// the points it starts with.
QString frictionTip(FrictionLevel level) {
    const FrictionLevelInfo& info = frictionLevelInfo(level);
    return QStringLiteral("%1\n%2: a piece keeps %3 % of its speed at each step.\nThe player starts with %4 points.")
        .arg(QString::fromLatin1(info.tooltip), QString::fromLatin1(slideOf(level)))
        .arg(double(info.friction))
        .arg(info.scoreBonus);
}

}  // namespace

void NewGameDialog::addTips() {
    NewGameDialog& dialog = *this;
    constexpr FrictionLevel kAll[] = {FrictionLevel::VeryLow, FrictionLevel::Low, FrictionLevel::Normal,
                                      FrictionLevel::High, FrictionLevel::VeryHigh};
    for (int i = 1; i <= kMaxPlayers; ++i) {
        dialog.playerCountOption(i)->setToolTip(
            i == 1 ? QStringLiteral("One player alone: reach D, become a killer, and the game is won")
                   : QStringLiteral("%1 players take turns at this computer").arg(i));
        dialog.nameEdit(i)->setToolTip(QStringLiteral("The name of player %1 (at most 40 characters)").arg(i));
        dialog.colorButton(i)->setToolTip(QStringLiteral("The colour of player %1's piece").arg(i));
        dialog.frictionFrame(i)->setToolTip(
            QStringLiteral("Player %1's friction: from very low (left: the piece slides farthest) to very high "
                           "(right: it stops soonest). More friction starts the player with more points.")
                .arg(i));
        // The option's own tooltip stays its level's name, as it always was;
        // what the level does is its What's This (Shift+F1) and the row's tip.
        for (FrictionLevel level : kAll) {
            QAbstractButton* option = dialog.frictionOption(i, level);
            option->setToolTip(QString::fromLatin1(frictionLevelInfo(level).tooltip));
            option->setWhatsThis(frictionTip(level));
        }
    }
    dialog.wallsCheck()->setToolTip(QStringLiteral("Red walls on the field: pieces bounce off them"));
    dialog.frictionToggle()->setToolTip(
        QStringLiteral("Give each player a friction level of their own (the circles beside each row);\n"
                       "more friction is harder and starts with more points"));
    dialog.playButton()->setToolTip(QStringLiteral("Start the game with these players"));
    dialog.randomizeButton()->setToolTip(QStringLiteral("Give every player a random colour"));
}

}  // namespace capzel::ui
