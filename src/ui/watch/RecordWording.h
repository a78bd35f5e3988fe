// What the game says of a game record, in the words of the Watch window's
// list: shots counted from 1 as the list counts them (an undo is a row of
// its own, a hidden command belongs to the shot before it), the record's
// own JSON pointer after them for whoever opens the file.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace capzel {
struct GameRecord;
struct ReplayStep;
}  // namespace capzel

namespace capzel::ui {

// The reason a record was refused (readGameRecord's error, a JSON pointer
// first), with the row of the list named in front when the pointer is into
// an entry: "shot 4 (/entries/3/power: ...)". `recordText` is the record's
// text, read again to count its rows; the reason stays as it is when it
// names no entry.
std::string refusalInListWords(const std::string& error, std::string_view recordText);

// The message of a record whose shot `shot` (a row of the list) does not
// play here as recorded: which shot, what differs, the entry's pointer.
std::string differenceText(const ReplayStep& step, int shot);

// The Watch window's title: the players and when the game was played
// ("Watch - Ann, Bob - 2026-12-06 17:42"); `fileName` when the record
// names nobody.
QString watchTitle(const GameRecord& record, const QString& fileName);

}  // namespace capzel::ui
