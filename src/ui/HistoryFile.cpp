#include "ui/HistoryFile.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Platform.h"

namespace capzel::ui {

namespace {

// Far more games than anyone plays; a larger file is not a history.
constexpr qint64 kMaxHistoryBytes = 16 * 1024 * 1024;

// Renames the file (or whatever stands at `path`) to the first free
// "<path>.broken", "<path>.broken-2", ...; the empty text when that fails.
QString setAside(const QString& path) {
    for (int n = 1; n <= 999; ++n) {
        const QString target = path + QStringLiteral(".broken") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
        const QFileInfo info(target);
        if (info.exists() || info.isSymLink()) continue;
        return QDir().rename(path, target) ? target : QString();
    }
    return {};
}

std::string brokenNotice(const QString& path, const std::string& why, const QString& target) {
    std::string m = "The game history \"" + path.toStdString() + "\" could not be read (" + why + ")";
    if (target.isEmpty())
        return m + ", and it could not be set aside. It was left as it is, and no game is added to it.";
    return m + ". It was set aside as \"" + target.toStdString() +
           "\"; a new history begins with the next finished game.";
}

}  // namespace

std::string setFileAside(const std::string& path) { return setAside(QString::fromStdString(path)).toStdString(); }

HistoryFileState loadHistoryFile(Platform& files, const std::string& path) {
    HistoryFileState out;
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists() && !info.isSymLink()) return out;

    std::string why;
    if (!info.isFile()) {
        why = "it is not an ordinary file";
    } else if (info.size() > kMaxHistoryBytes) {
        why = "it is larger than 16 MB";
    } else if (std::optional<std::string> bytes = files.readFile(path, std::size_t(kMaxHistoryBytes) + 1); !bytes) {
        // Perhaps only a matter of rights: the file stays as it is.
        out.notice = "The game history \"" + path + "\" could not be opened; no game is added to it.";
        out.writable = false;
        return out;
    } else if (bytes->size() > std::size_t(kMaxHistoryBytes)) {
        why = "it is larger than 16 MB";
    } else {
        HistoryReading reading = readHistory(*bytes);
        if (reading.ok()) {
            out.games = std::move(reading.games);
            out.text = std::move(*bytes);
            return out;
        }
        why = "line " + std::to_string(reading.errorLine) + ": " + reading.error;
    }
    const QString target = setAside(name);
    out.notice = brokenNotice(name, why, target);
    out.writable = !target.isEmpty();
    return out;
}

std::string addToHistoryFile(Platform& files, const std::string& path, const HistoryGame& game) {
    HistoryFileState state = loadHistoryFile(files, path);
    if (!state.writable) return state.notice;
    const std::string why = files.writeFile(path, historyWithGame(state.text, game));
    if (why.empty()) return state.notice;
    const std::string failure = "The game could not be added to the game history. " + why;
    return state.notice.empty() ? failure : state.notice + "\r\n\r\n" + failure;
}

}  // namespace capzel::ui
