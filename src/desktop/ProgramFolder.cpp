#include "desktop/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "records/GameHistory.h"
#include "records/HighScores.h"

namespace capzel::ui {

namespace {
std::string& folderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

std::string programFolder() {
    if (!folderOverride().empty()) return folderOverride();
    return QCoreApplication::applicationDirPath().toStdString();
}

void setProgramFolder(const std::string& folder) { folderOverride() = folder; }

bool folderWritable(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    if (folder.empty() || !dir.exists()) return false;
    QTemporaryFile probe(dir.filePath(QStringLiteral(".capzel-write-test-XXXXXX")));
    return probe.open();
}

std::string installedDataFolder(const std::string& folder) { return folder + "/../share/capzel"; }

bool installedCopy(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    return !folder.empty() && !dir.exists(QStringLiteral("media")) &&
           QDir(QString::fromStdString(installedDataFolder(folder))).exists();
}

std::string userDataFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data.toStdString();
}

std::string highScoreFile() {
    const std::string program = programFolder();
    const bool writable = !installedCopy(program) && folderWritable(program);
    return highScoreFilePath(program, writable, writable ? std::string() : userDataFolder());
}

std::string historyFile() { return userDataFolder() + "/" + kHistoryFileName; }

}  // namespace capzel::ui
