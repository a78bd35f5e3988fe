// The player's comforts beside the classic game: how the rules' messages
// show, the size of the windows, sound effects and volumes, the aim line,
// the power bar's pace, and whether the first-game coach is done. Every
// default is the classic game. They are kept with QSettings in the
// desktop's standard configuration place and applied at once.
#pragma once

namespace capzel::ui {

struct PlayerSettings {
    enum class RuleMessages { Boxes, OnTheField };
    enum class AimLine { Classic, Bold };
    enum class BarPace { Classic, Steady };

    RuleMessages ruleMessages = RuleMessages::Boxes;
    int sizePercent = 100;      // 100, 125, 150 or 200
    bool soundEffects = false;
    int effectsVolume = 80;     // 0..100
    int musicVolume = 100;      // 0..100
    bool musicMuted = false;
    AimLine aimLine = AimLine::Classic;
    BarPace barPace = BarPace::Classic;
    bool coachDone = false;

    bool operator==(const PlayerSettings&) const = default;
};

// The sizes a player can choose, in percent.
inline constexpr int kSizeChoices[] = {100, 125, 150, 200};

// The kept settings; anything missing or out of range reads as its default.
PlayerSettings loadPlayerSettings();
void savePlayerSettings(const PlayerSettings& settings);

}  // namespace capzel::ui
