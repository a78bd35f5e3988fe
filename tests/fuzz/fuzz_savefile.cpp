// libFuzzer target for the saved-game reader and the high-score reader (they share field splitting):
// besides crashes, an accepted file with a value out of range or that does not read back (written, or
// applied and gathered) the same, or a refusal without a UTF-8 reason stops it.
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
        require(isValidUtf8(p.name) && utf8Length(p.name) <= lim::kMaxNameLength, "name is UTF-8, within the limit");
        require(p.name.find_first_of("\"\r\n") == std::string::npos, "name holds no quote or line end");
        require(p.friction >= lim::kMinFriction && p.friction <= lim::kMaxFriction, "friction");
        require(p.color >= 0 && p.color <= lim::kMaxColor, "colour");
        for (const auto size : {p.height, p.width}) require(size >= lim::kMinPieceSize && size <= lim::kMaxPieceSize, "size");
        for (const auto at : {p.left, p.top}) require(at >= -lim::kCoordinateLimit && at <= lim::kCoordinateLimit, "place");
        require(p.position >= 0 && p.position <= lim::kMaxPosition, "position");
    }

    const SaveFileParse again = parseSaveFile(formatSaveFile(s));
    require(again.game.has_value() && *again.game == s, "a written game reads back the same");
    Game g;
    applySavedGame(g, s);
    require(gatherSavedGame(g) == s, "an applied game gathers back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const SaveFileParse parsed = parseSaveFile(bytes);
    if (parsed)
        checkAccepted(*parsed.game);
    else
        require(!parsed.error.what.empty() && isValidUtf8(describeSaveFileError(parsed.error)), "a refusal says why, in UTF-8");

    for (const HighScoreRow& row : parseHighScores(bytes)) require(isValidUtf8(row.name), "high-score name is UTF-8");
    return 0;
}
