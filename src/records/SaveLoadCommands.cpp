#include "records/SaveLoadCommands.h"

#include "records/BusyPointer.h"
#include "records/SaveFileLayout.h"
#include "records/SaveFileReader.h"
#include "records/SaveFileWriter.h"
#include "records/SavedGameState.h"

namespace capzel {

bool saveGameCommand(GameContext& ctx) {
    const std::string text = formatSaveFile(gatherSavedGame(ctx.game));
    const std::string path = ctx.ui.chooseFileToSave(kSaveFilterText, kSaveFilterPattern);
    if (path.empty()) return false;

    BusyPointer busy(ctx.ui);
    const std::string failure = ctx.ui.writeFile(path, text);
    busy.release();
    if (failure.empty()) return true;
    ctx.ui.message("The game could not be saved to\r\n" + path + "\r\n\r\n" + failure);
    return false;
}

bool loadGameCommand(GameContext& ctx, const std::string& programFolder,
                     const std::function<void(const SavedGame&)>& beginLoadedGame) {
    if (ctx.game.gameRunning && !ctx.ui.askYesNo(kLoadQuestion)) return false;
    const std::string path = ctx.ui.chooseFileToOpen(kSaveFilterText, kSaveFilterPattern, programFolder);
    if (path.empty()) return false;

    BusyPointer busy(ctx.ui);
    // One byte beyond the limit tells a file that is too large.
    const std::optional<std::string> bytes = ctx.ui.readFile(path, kMaxSaveFileBytes + 1);
    if (!bytes) {
        busy.release();
        ctx.ui.message("The game could not be loaded from\r\n" + path + "\r\n\r\nThe file cannot be read.");
        return false;
    }
    const SaveFileParse parsed = parseSaveFile(*bytes);
    if (!parsed) {
        busy.release();
        ctx.ui.message("The game could not be loaded from\r\n" + path + "\r\n\r\n" +
                       describeSaveFileError(parsed.error));
        return false;
    }
    if (beginLoadedGame)
        beginLoadedGame(*parsed.game);
    else
        applySavedGame(ctx.game, *parsed.game);
    return true;
}

}  // namespace capzel
