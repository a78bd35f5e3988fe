#include "ui/watch/RecordWording.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include "records/GameRecord.h"
#include "match/RecordReplay.h"

namespace capzel::ui {

namespace {

// The row of the list of entry `index` of a record's "entries": the shots
// and undos up to it counted from 1; a command is told with the row before
// it. Empty when the text cannot be counted.
std::string rowOfEntry(std::string_view recordText, int index) {
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(recordText.data(), qsizetype(recordText.size())));
    const QJsonArray entries = doc.object().value(QStringLiteral("entries")).toArray();
    if (index < 0 || index >= entries.size()) return "entry " + std::to_string(index + 1);
    int rows = 0;
    for (int k = 0; k <= index; ++k)
        if (entries[k].toObject().value(QStringLiteral("type")).toString() != QLatin1String("command")) ++rows;
    const bool command = entries[index].toObject().value(QStringLiteral("type")).toString() == QLatin1String("command");
    if (!command) return "shot " + std::to_string(rows);
    return rows == 0 ? std::string("the hidden command before shot 1")
                     : "the hidden command after shot " + std::to_string(rows);
}

}  // namespace

std::string refusalInListWords(const std::string& error, std::string_view recordText) {
    static const QRegularExpression entry(QStringLiteral("^/entries/(\\d+)(/|:)"));
    const QRegularExpressionMatch m = entry.match(QString::fromStdString(error));
    if (!m.hasMatch()) return error;
    bool ok = false;
    const int index = m.captured(1).toInt(&ok);
    if (!ok) return error;
    return rowOfEntry(recordText, index) + " (" + error + ")";
}

std::string differenceText(const ReplayStep& step, int shot) {
    std::string what;
    if (!step.error.empty())
        what = "it cannot be played here";
    else if (step.expectedHash != step.actualHash)
        what = "the game after it is not the one the record holds";
    else
        what = "the rules say other words than the record holds";
    const bool atStart = step.kind == EntryKind::Start;
    std::string text = (atStart ? std::string("The start") : "Shot " + std::to_string(shot)) +
                       " of this record does not play as recorded: " + what + ", so the game is shown up to " +
                       (atStart || shot <= 1 ? std::string("its start.") : "shot " + std::to_string(shot - 1) + ".");
    // The replay names an entry "entry N" (from 0): the pointer says it.
    std::string why = step.error;
    const std::string named = "entry " + std::to_string(step.entry) + ": ";
    if (why.rfind(named, 0) == 0) why.erase(0, named.size());
    const std::string pointer = atStart ? std::string("/start") : "/entries/" + std::to_string(step.entry);
    return text + " (" + pointer + (why.empty() ? "" : ": " + why) + ")";
}

QString watchTitle(const GameRecord& record, const QString& fileName) {
    QStringList names;
    for (const std::string& name : record.playerNames()) names << QString::fromStdString(name).simplified();
    names.removeAll(QString());
    if (names.isEmpty()) return QStringLiteral("Watch - ") + fileName;
    QString title = QStringLiteral("Watch - ") + names.join(QStringLiteral(", "));
    const std::string& when = record.ended.empty() ? record.began : record.ended;
    const QDateTime at = QDateTime::fromString(QString::fromStdString(when), Qt::ISODate);
    if (at.isValid()) title += QStringLiteral(" - ") + at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return title;
}

}  // namespace capzel::ui
