#include "ui/Autosave.h"

#include <QFile>
#include <QFileInfo>

#include "model/GameState.h"
#include "platform/Platform.h"
#include "records/SaveFileReader.h"
#include "records/SaveFileWriter.h"
#include "records/SavedGameState.h"
#include "ui/HistoryFile.h"
#include "ui/ProgramFolder.h"

namespace capzel::ui {

std::string autosaveFile() { return userDataFolder() + "/autosave.CSG"; }

std::string keepAutosave(Platform& files, const GameState& g, const Board& board, const std::string& path) {
    if (!g.gameRunning || g.numberOfPlayers < 1) {
        const QString name = QString::fromStdString(path);
        if (QFileInfo(name).isFile() && !QFile::remove(name))
            return "The finished game could not be removed from \"" + path + "\".";
        return {};
    }
    return files.writeFile(path, formatSaveFile(gatherSavedGame(g, board)));
}

AutosaveReading readAutosave(Platform& files, const std::string& path) {
    AutosaveReading out;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.exists() && !info.isSymLink()) return out;

    std::string why;
    const std::optional<std::string> bytes =
        info.isFile() ? files.readFile(path, kMaxSaveFileBytes + 1) : std::nullopt;
    if (!bytes) {
        why = "it is not an ordinary file that can be read";
    } else if (SaveFileParse parsed = parseSaveFile(*bytes); !parsed) {
        why = describeSaveFileError(parsed.error);
    } else {
        if (parsed.game->numberOfPlayers() >= 1) out.game = std::move(parsed.game);
        return out;
    }
    const std::string target = setFileAside(path);
    out.notice = "The unfinished game from last time could not be read from \"" + path + "\" (" + why + ")";
    out.notice += target.empty() ? ", and the file could not be set aside."
                                 : ". The file was set aside as \"" + target + "\".";
    return out;
}

}  // namespace capzel::ui
