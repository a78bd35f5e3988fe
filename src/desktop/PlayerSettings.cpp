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

// The yes-or-no settings and the volumes, each kept under its key.
struct FlagKey {
    const char* key;
    bool PlayerSettings::*flag;
};
constexpr FlagKey kFlags[] = {{"soundEffects", &PlayerSettings::soundEffects},
                              {"musicMuted", &PlayerSettings::musicMuted},
                              {"coachDone", &PlayerSettings::coachDone},
                              {"helpers/fieldHints", &PlayerSettings::fieldHints},
                              {"helpers/statusMarks", &PlayerSettings::statusMarks},
                              {"helpers/endChart", &PlayerSettings::endChart},
                              {"helpers/buttonIcons", &PlayerSettings::buttonIcons}};
struct PercentKey {
    const char* key;
    int PlayerSettings::*percent;
};
constexpr PercentKey kPercents[] = {{"effectsVolume", &PlayerSettings::effectsVolume},
                                    {"musicVolume", &PlayerSettings::musicVolume}};

}  // namespace

PlayerSettings loadPlayerSettings() {
    const QSettings s = store();
    PlayerSettings p;
    p.ruleMessages = choice(s, "ruleMessages", p.ruleMessages, PlayerSettings::RuleMessages::OnTheField);
    const int size = s.value(QStringLiteral("sizePercent"), p.sizePercent).toInt();
    if (std::find(std::begin(kSizeChoices), std::end(kSizeChoices), size) != std::end(kSizeChoices)) p.sizePercent = size;
    for (const auto& [key, flag] : kFlags) p.*flag = s.value(QLatin1String(key), p.*flag).toBool();
    for (const auto& [key, volume] : kPercents) p.*volume = percent(s, key, p.*volume);
    p.aimLine = choice(s, "aimLine", p.aimLine, PlayerSettings::AimLine::Bold);
    p.barPace = choice(s, "barPace", p.barPace, PlayerSettings::BarPace::Steady);
    return p;
}

void savePlayerSettings(const PlayerSettings& p) {
    QSettings s = store();
    s.setValue(QStringLiteral("ruleMessages"), int(p.ruleMessages));
    s.setValue(QStringLiteral("sizePercent"), p.sizePercent);
    s.setValue(QStringLiteral("aimLine"), int(p.aimLine));
    s.setValue(QStringLiteral("barPace"), int(p.barPace));
    for (const auto& [key, flag] : kFlags) s.setValue(QLatin1String(key), p.*flag);
    for (const auto& [key, volume] : kPercents) s.setValue(QLatin1String(key), p.*volume);
    s.sync();
}

}  // namespace capzel::ui
