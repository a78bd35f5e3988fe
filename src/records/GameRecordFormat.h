// The names and limits a game record's JSON text is written and read with.
#pragma once

#include <cstddef>

namespace capzel::recordformat {

constexpr const char* kFormat = "capzel-game-record";
constexpr int kFirstVersion = 1;  // began from a setup and a field
constexpr int kVersion = 2;       // begins from a game
constexpr std::size_t kMaxTimeLength = 64;
constexpr std::size_t kMaxAnnouncementLength = 4096;
constexpr std::size_t kMaxAnswerLength = 4096;
// By AnnouncementKind's value.
constexpr const char* kAnnouncementKinds[] = {"turnStart", "lostTurn", "targetReached", "kill", "win"};
constexpr const char* kEntryTypes[] = {"shot", "command", "undo"};  // by the entry's index

}  // namespace capzel::recordformat
