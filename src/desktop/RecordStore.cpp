#include "desktop/RecordStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include "platform/Platform.h"
#include "records/GameHistory.h"
#include "desktop/ProgramFolder.h"

namespace capzel::ui {

namespace {
const QString kRecordSuffix = QStringLiteral(".record.json");
}

std::string runningRecordFile(const std::string& autosavePath) {
    const QFileInfo slot(QString::fromStdString(autosavePath));
    return (slot.path() + QLatin1Char('/') + slot.completeBaseName() + kRecordSuffix).toStdString();
}

std::string recordsFolder() { return userDataFolder() + "/records"; }

// The name is the start of a digest of the game's history line: the same
// game finds the same file, and two games share one only when their lines
// (the minute they ended, every name, seat and score) are the same.
std::string finishedRecordFile(const std::string& folder, const HistoryGame& game) {
    const std::string line = historyLine(game);
    const QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(line.data(), qsizetype(line.size())), QCryptographicHash::Sha1);
    return folder + "/" + digest.toHex().left(20).toStdString() + kRecordSuffix.toStdString();
}

std::string keepFinishedRecord(Platform& files, const std::string& folder, const HistoryGame& game,
                               std::string_view recordText) {
    if (!QDir().mkpath(QString::fromStdString(folder)))
        return "The folder \"" + folder + "\" for the games' records could not be made.";
    const std::string failure = files.writeFile(finishedRecordFile(folder, game), recordText);
    if (failure.empty()) trimRecords(folder, kMaxKeptRecords);
    return failure;
}

void trimRecords(const std::string& folder, std::size_t keep) {
    QDir dir(QString::fromStdString(folder));
    // Newest first; the name breaks a tie of the same second.
    const QFileInfoList records = dir.entryInfoList({QLatin1Char('*') + kRecordSuffix}, QDir::Files,
                                                    QDir::Time | QDir::Name);
    for (qsizetype i = qsizetype(keep); i < records.size(); ++i) QFile::remove(records[i].filePath());
}

std::optional<std::string> findFinishedRecord(const std::string& folder, const HistoryGame& game) {
    std::string path = finishedRecordFile(folder, game);
    if (!QFileInfo(QString::fromStdString(path)).isFile()) return std::nullopt;
    return path;
}

}  // namespace capzel::ui
