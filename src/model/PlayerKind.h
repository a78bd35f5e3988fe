// Who sits in a player's seat: a person, or the computer at one of four
// levels of play. Every seat is a person unless a game says otherwise.
#pragma once

namespace capzel {

// The values are kept as games, snapshots and their hashes already know
// them: Strong, the level between Club and Expert, came last.
enum class PlayerKind { Human, Novice, Club, Expert, Strong };

// Every kind, a person first, then the computer from its weakest level to
// its strongest: the order in which people choose them.
inline constexpr PlayerKind kPlayerKinds[] = {PlayerKind::Human, PlayerKind::Novice, PlayerKind::Club,
                                              PlayerKind::Strong, PlayerKind::Expert};

// "Human", "Novice", "Club", "Strong" or "Expert": the name people read and
// files keep.
constexpr const char* playerKindName(PlayerKind kind) {
    switch (kind) {
    case PlayerKind::Novice: return "Novice";
    case PlayerKind::Club: return "Club";
    case PlayerKind::Strong: return "Strong";
    case PlayerKind::Expert: return "Expert";
    case PlayerKind::Human: break;
    }
    return "Human";
}

}  // namespace capzel
