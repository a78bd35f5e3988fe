// What the rules announce to the players, as data: each announcement is the
// text a player reads and the kind of event it tells of. A rule call gives
// its announcements in order, with whether the game goes on; whoever called
// it decides how and when they are shown (boxes between the steps of the
// window's clock, nothing at all in a search or a simulation).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "rules/GameFlow.h"

namespace capzel {

enum class AnnouncementKind {
    TurnStart,      // whose turn it is, and the target (or "KILLER")
    LostTurn,       // a turn taken away: landed in a wrong letter box, or losing the turn now
    TargetReached,  // what a shot gained: targets, hits, pieces sent, a new killer
    Kill,           // a killer's shot that took pieces, or rests in a box
    Win,            // the game is won
};

struct Announcement {
    AnnouncementKind kind = AnnouncementKind::TurnStart;
    int player = 0;    // whose turn it was when it was said
    std::string text;  // lines separated by "\r\n"
    bool operator==(const Announcement&) const = default;
};

// The result of a rule call: whether the game goes on, and what it said.
struct Judgement {
    GameFlow flow = GameFlow::Continues;
    std::vector<Announcement> announcements;
    // The pieces a turn start brought to the front, in order; the aim line
    // comes to the front after each (a window draws them over the others).
    std::vector<int> broughtForward;

    bool ended() const { return flow == GameFlow::Ended; }

    void announce(AnnouncementKind kind, int player, std::string text) {
        announcements.push_back({kind, player, std::move(text)});
    }

    // Takes on what a rule called after this one said and how it left the game.
    Judgement& then(Judgement next) {
        for (Announcement& a : next.announcements) announcements.push_back(std::move(a));
        broughtForward.insert(broughtForward.end(), next.broughtForward.begin(), next.broughtForward.end());
        flow = next.flow;
        return *this;
    }
};

}  // namespace capzel
