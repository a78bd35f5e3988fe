#include "desktop/Autosave.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <algorithm>

#include "model/Game.h"
#include "platform/Platform.h"
#include "records/SaveFileReader.h"
#include "records/SaveFileWriter.h"
#include "records/SavedGameState.h"
#include "desktop/HistoryFile.h"
#include "desktop/ProgramFolder.h"

namespace capzel::ui {

std::string autosaveSlotFile(const std::string& folder, int slot) {
    return folder + (slot <= 1 ? std::string("/autosave.CSG") : "/autosave-" + std::to_string(slot) + ".CSG");
}

std::string autosaveFile() { return autosaveSlotFile(userDataFolder(), 1); }

std::string keepAutosave(Platform& files, const Game& g, const std::string& path) {
    if (!g.gameRunning || g.numberOfPlayers < 1) {
        const QString name = QString::fromStdString(path);
        if (QFileInfo(name).isFile() && !QFile::remove(name))
            return "The finished game could not be removed from \"" + path + "\".";
        return {};
    }
    return files.writeFile(path, formatSaveFile(gatherSavedGame(g)));
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
    } else if (const auto& players = parsed.game->players;
               !players.empty() && std::all_of(players.begin(), players.end(), [](const SavedPlayer& p) { return p.dead; })) {
        // Resuming it would only end it again, and add it to the history at
        // every start.
        why = "every player in it is out, so it cannot go on";
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

QString describeKeptGame(const KeptGame& kept) {
    QStringList names;
    for (const SavedPlayer& p : kept.game.players) names << QString::fromStdString(p.name);
    QString who = names.size() > 1 ? names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                         QStringLiteral(" and ") + names.last()
                                   : names.value(0);
    const int turn = kept.game.currentTurn;
    if (turn >= 1 && turn <= kept.game.numberOfPlayers())
        who += QStringLiteral(": %1's turn").arg(names[turn - 1]);
    if (!kept.keptAt.isEmpty()) who += QStringLiteral(", kept ") + kept.keptAt;
    return who;
}

AutosaveSlots::AutosaveSlots(std::string folder) : folder_(std::move(folder)) {}

AutosaveSlots::~AutosaveSlots() = default;

bool AutosaveSlots::hold(int slot) {
    if (held_.count(slot)) return true;
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(autosaveSlotFile(folder_, slot) + ".lock"));
    // Held for as long as the copy runs: only a copy that is gone (its
    // process no longer running) leaves a lock that may be taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) folderRefused_ = true;
        return false;
    }
    held_.emplace(slot, std::move(lock));
    return true;
}

AutosaveSlots::Scan AutosaveSlots::claimFreeSlots(Platform& files) {
    Scan out;
    for (int slot = 1; slot <= kAutosaveSlots; ++slot) {
        const std::string path = autosaveSlotFile(folder_, slot);
        const QFileInfo info(QString::fromStdString(path));
        if ((!info.exists() && !info.isSymLink()) || slot == own_ || !hold(slot)) continue;
        AutosaveReading found = readAutosave(files, path);
        if (!found.notice.empty()) out.notices.push_back(std::move(found.notice));
        if (found.game)
            out.games.push_back({path, std::move(*found.game),
                                 info.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"))});
    }
    return out;
}

void AutosaveSlots::settle(const std::string& path) {
    for (auto it = held_.begin(); it != held_.end();) {
        if (!path.empty() && autosaveSlotFile(folder_, it->first) == path) own_ = it->first;
        if (it->first == own_) {
            ++it;
        } else {
            it = held_.erase(it);
        }
    }
}

std::string AutosaveSlots::why() const {
    if (folderRefused_) return "The folder \"" + folder_ + "\" cannot be written.";
    return "Every place for keeping a running game is held by another running copy of Capzel.";
}

std::string AutosaveSlots::file() {
    for (int slot = 1; own_ == 0 && slot <= kAutosaveSlots; ++slot) {
        if (hold(slot)) own_ = slot;
    }
    return own_ == 0 ? std::string() : autosaveSlotFile(folder_, own_);
}

}  // namespace capzel::ui
