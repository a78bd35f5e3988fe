#include "desktop/PlayerSettings.h"

#include <QSettings>
#include <algorithm>
#include <iterator>

namespace capzel::ui {

namespace {

QSettings store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Capzel"), QStringLiteral("Capzel")); }

int percent(const QSettings& s, const char* key, int fallback) {
    bool ok = false;
    const int v = s.value(QLatin1String(key), fallback).toInt(&ok);
    return ok && v >= 0 && v <= 100 ? v : fallback;
}

template <class Choice>
Choice choice(const QSettings& s, const char* key, Choice fallback, Choice last) {
    bool ok = false;
    const int v = s.value(QLatin1String(key), int(fallback)).toInt(&ok);
    return ok && v >= 0 && v <= int(last) ? Choice(v) : fallback;
}

}  // namespace

PlayerSettings loadPlayerSettings() {
    const QSettings s = store();
    PlayerSettings p;
    p.ruleMessages = choice(s, "ruleMessages", p.ruleMessages, PlayerSettings::RuleMessages::OnTheField);
    const int size = s.value(QStringLiteral("sizePercent"), p.sizePercent).toInt();
    if (std::find(std::begin(kSizeChoices), std::end(kSizeChoices), size) != std::end(kSizeChoices)) p.sizePercent = size;
    p.soundEffects = s.value(QStringLiteral("soundEffects"), p.soundEffects).toBool();
    p.effectsVolume = percent(s, "effectsVolume", p.effectsVolume);
    p.musicVolume = percent(s, "musicVolume", p.musicVolume);
    p.musicMuted = s.value(QStringLiteral("musicMuted"), p.musicMuted).toBool();
    p.aimLine = choice(s, "aimLine", p.aimLine, PlayerSettings::AimLine::Bold);
    p.barPace = choice(s, "barPace", p.barPace, PlayerSettings::BarPace::Steady);
    p.coachDone = s.value(QStringLiteral("coachDone"), p.coachDone).toBool();
    p.fieldHints = s.value(QStringLiteral("helpers/fieldHints"), p.fieldHints).toBool();
    p.statusMarks = s.value(QStringLiteral("helpers/statusMarks"), p.statusMarks).toBool();
    p.endChart = s.value(QStringLiteral("helpers/endChart"), p.endChart).toBool();
    p.buttonIcons = s.value(QStringLiteral("helpers/buttonIcons"), p.buttonIcons).toBool();
    return p;
}

void savePlayerSettings(const PlayerSettings& p) {
    QSettings s = store();
    s.setValue(QStringLiteral("ruleMessages"), int(p.ruleMessages));
    s.setValue(QStringLiteral("sizePercent"), p.sizePercent);
    s.setValue(QStringLiteral("soundEffects"), p.soundEffects);
    s.setValue(QStringLiteral("effectsVolume"), p.effectsVolume);
    s.setValue(QStringLiteral("musicVolume"), p.musicVolume);
    s.setValue(QStringLiteral("musicMuted"), p.musicMuted);
    s.setValue(QStringLiteral("aimLine"), int(p.aimLine));
    s.setValue(QStringLiteral("barPace"), int(p.barPace));
    s.setValue(QStringLiteral("coachDone"), p.coachDone);
    s.setValue(QStringLiteral("helpers/fieldHints"), p.fieldHints);
    s.setValue(QStringLiteral("helpers/statusMarks"), p.statusMarks);
    s.setValue(QStringLiteral("helpers/endChart"), p.endChart);
    s.setValue(QStringLiteral("helpers/buttonIcons"), p.buttonIcons);
    s.sync();
}

}  // namespace capzel::ui
