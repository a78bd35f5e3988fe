// libFuzzer target for the saved-game reader (and the high-score reader,
// which shares its field splitting). Besides crashes and sanitizer reports
// it stops on a broken promise of the reader:
//  - an accepted file holds values inside the file's ranges;
//  - writing an accepted game and reading it again gives the same game;
//  - applying it to the game and gathering it again gives the same game;
//  - a refused file has a reason, and every message text is valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string_view>

#include "records/HighScores.h"
#include "records/SaveFileReader.h"
#include "records/SaveFileWriter.h"
#include "records/SavedGameState.h"
#include "records/TextEncoding.h"

using namespace capzel;

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

void checkAccepted(const SavedGame& s) {
    namespace lim = saveLimits;
    require(s.numberOfPlayers() >= 1 && s.numberOfPlayers() <= lim::kMaxPlayers, "player count");
    require(s.currentTurn >= 1 && s.currentTurn <= s.numberOfPlayers(), "current turn");
    for (const SavedPlayer& p : s.players) {
        require(isValidUtf8(p.name), "name is UTF-8");
        require(utf8Length(p.name) <= lim::kMaxNameLength, "name within the limit");
        require(p.name.find_first_of("\"\r\n") == std::string::npos, "name holds no quote or line end");
        require(p.friction >= lim::kMinFriction && p.friction <= lim::kMaxFriction, "friction");
        require(p.color >= 0 && p.color <= lim::kMaxColor, "colour");
        require(p.height >= lim::kMinPieceSize && p.height <= lim::kMaxPieceSize, "height");
        require(p.width >= lim::kMinPieceSize && p.width <= lim::kMaxPieceSize, "width");
        require(p.left >= -lim::kCoordinateLimit && p.left <= lim::kCoordinateLimit, "left");
        require(p.top >= -lim::kCoordinateLimit && p.top <= lim::kCoordinateLimit, "top");
        require(p.position >= 0 && p.position <= lim::kMaxPosition, "position");
    }

    const SaveFileParse again = parseSaveFile(formatSaveFile(s));
    require(again.game.has_value(), "a written game is read again");
    require(*again.game == s, "a written game reads back the same");

    Game g;
    applySavedGame(g, s);
    require(gatherSavedGame(g) == s, "an applied game gathers back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const SaveFileParse parsed = parseSaveFile(bytes);
    if (parsed) {
        checkAccepted(*parsed.game);
    } else {
        require(!parsed.error.what.empty(), "a refusal says why");
        require(isValidUtf8(describeSaveFileError(parsed.error)), "the message is UTF-8");
    }

    for (const HighScoreRow& row : parseHighScores(bytes)) require(isValidUtf8(row.name), "high-score name is UTF-8");
    return 0;
}
