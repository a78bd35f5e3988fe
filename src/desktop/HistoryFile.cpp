#include "desktop/HistoryFile.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/Platform.h"

namespace capzel::ui {

namespace {

constexpr const char* kTooLarge = "it is larger than 128 MB";
// How much of the file's end is read before a game is added: many times the
// longest line (eight players with the longest names).
constexpr qint64 kEndBytes = 64 * 1024;
// How long a change waits for another copy of the game to finish its own.
constexpr int kLockWaitMs = 5000;

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

// The lock that two copies of the game take around a change of the
// history; one left by a copy that has gone is taken over.
class HistoryLock {
public:
    explicit HistoryLock(const QString& path) : lock_(path + QStringLiteral(".lock")) {
        held_ = lock_.tryLock(kLockWaitMs);
    }
    bool held() const { return held_; }
    // Why it was not taken.
    QString why() const {
        if (lock_.error() == QLockFile::LockFailedError)
            return QStringLiteral("another copy of the game has held its lock file \"%1\" for too long")
                .arg(lock_.fileName());
        return QStringLiteral("its lock file \"%1\" could not be created").arg(lock_.fileName());
    }

private:
    QLockFile lock_;
    bool held_ = false;
};

// Why what stands at a path cannot be a history; empty when it may be
// one (nothing at all is a new history).
std::string whyNotAHistory(const QFileInfo& info) {
    if (!info.exists() && !info.isSymLink()) return {};
    if (!info.isFile()) return "it is not an ordinary file";
    if (info.size() > qint64(kMaxHistoryBytes)) return kTooLarge;
    return {};
}

// What is wrong with the line at `start` of `bytes`, named by its number
// when `bytes` are the whole file, otherwise as the last line.
std::string lineError(std::string_view bytes, std::size_t start, bool wholeFile = true) {
    HistoryGame game;
    const std::string error = readHistoryLine(historyLineAt(bytes, start), game);
    if (error.empty()) return error;
    return (wholeFile ? "line " + std::to_string(historyLineNumber(bytes, start)) : std::string("its last line")) +
           ": " + error;
}

std::string failedAddition(const QString& path, const QString& why) {
    return "The game could not be added to the game history. The file \"" + path.toStdString() +
           "\" could not be written: " + why.toStdString() + ".";
}

// Writes all of `text` at the end of `file`, then to the disk; the empty
// text, or why it failed.
QString appendAll(QFile& file, const std::string& text) {
    if (!file.seek(file.size())) return file.errorString();
    for (std::size_t done = 0; done < text.size();) {
        const qint64 n = file.write(text.data() + done, qint64(text.size() - done));
        if (n <= 0) return file.errorString();
        done += std::size_t(n);
    }
    if (!file.flush()) return file.errorString();
    if (::fsync(file.handle()) != 0) return QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

// Adds the game to the file at `name`, which may be set aside first; the
// lock is held.
HistoryAddition addLocked(const QString& name, const HistoryGame& game) {
    HistoryAddition out;
    std::string why = whyNotAHistory(QFileInfo(name));
    QFile file(name);
    QByteArray end;
    qint64 from = 0;
    if (why.empty()) {
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            out.notice = failedAddition(name, file.errorString());
            return out;
        }
        from = std::max<qint64>(0, file.size() - kEndBytes);
        if (!file.seek(from)) {
            out.notice = failedAddition(name, file.errorString());
            return out;
        }
        end = file.read(file.size() - from);
        const std::string_view bytes(end.constData(), std::size_t(end.size()));
        const HistoryLines lines = historyLines(bytes, from == 0);
        if (from > 0 && lines.starts.empty())
            why = "its last line is far too long";
        else if (!lines.starts.empty())
            why = lineError(bytes, lines.starts.back(), from == 0);
        end.truncate(qsizetype(lines.kept));
    }
    if (!why.empty()) {
        file.close();
        const QString target = setAside(name);
        out.notice = brokenNotice(name, why, target);
        if (target.isEmpty()) return out;
        end.clear();
        from = 0;
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            out.notice += "\r\n\r\n" + failedAddition(name, file.errorString());
            return out;
        }
    }
    // What a crash left of a line cut short goes; so does a line this write
    // leaves unfinished, when it fails.
    const qint64 keep = from + end.size();
    QString failure;
    if (keep < file.size() && !file.resize(keep)) failure = file.errorString();
    if (failure.isEmpty())
        failure = appendAll(file, historyAddition(std::string_view(end.constData(), std::size_t(end.size())), game));
    if (!failure.isEmpty()) {
        file.resize(keep);
        const std::string message = failedAddition(name, failure);
        out.notice = out.notice.empty() ? message : out.notice + "\r\n\r\n" + message;
        return out;
    }
    out.added = true;
    return out;
}

}  // namespace

std::string setFileAside(const std::string& path) { return setAside(QString::fromStdString(path)).toStdString(); }

HistoryFileState loadHistoryFile(Platform& files, const std::string& path) {
    HistoryFileState out;
    const QString name = QString::fromStdString(path);
    std::string why = whyNotAHistory(QFileInfo(name));
    if (why.empty()) {
        std::optional<std::string> bytes = files.readFile(path, kMaxHistoryBytes + 1);
        if (!bytes) {
            if (!QFileInfo::exists(name)) return out;
            // Perhaps only a matter of rights: the file stays as it is.
            out.notice = "The game history \"" + path + "\" could not be opened; no game is added to it.";
            return out;
        }
        if (bytes->size() > kMaxHistoryBytes) {
            why = kTooLarge;
        } else {
            HistoryLines lines = historyLines(*bytes);
            if (!lines.starts.empty()) why = lineError(*bytes, lines.starts.front());
            if (why.empty() && !lines.starts.empty()) why = lineError(*bytes, lines.starts.back());
            if (why.empty()) {
                bytes->resize(lines.kept);
                out.starts = std::move(lines.starts);
                out.text = std::make_shared<const std::string>(std::move(*bytes));
                return out;
            }
        }
    }
    out.notice = setBrokenHistoryAside(path, why);
    return out;
}

std::string setBrokenHistoryAside(const std::string& path, const std::string& why) {
    const QString name = QString::fromStdString(path);
    // Set aside under the lock when it can be had, so that no game being
    // added is split between the two files; otherwise all the same.
    const HistoryLock lock(name);
    return brokenNotice(name, why, setAside(name));
}

HistoryAddition addToHistoryFile(const std::string& path, const HistoryGame& game) {
    const QString name = QString::fromStdString(path);
    const HistoryLock lock(name);
    if (!lock.held()) return {failedAddition(name, lock.why()), false};
    return addLocked(name, game);
}

std::string clearHistoryFile(const std::string& path) {
    const QString name = QString::fromStdString(path);
    auto failed = [&name](const QString& why) {
        return "The game history \"" + name.toStdString() + "\" could not be cleared: " + why.toStdString() + ".";
    };
    const HistoryLock lock(name);
    if (!lock.held()) return failed(lock.why());
    const QFileInfo info(name);
    if (!info.exists()) return {};
    if (!info.isFile()) return failed(QStringLiteral("it is not an ordinary file"));
    QFile file(name);
    if (!file.resize(0)) return failed(file.errorString());
    return {};
}

}  // namespace capzel::ui
