// The player's comforts beside the classic game: how the rules' messages
// show, the size of the windows, sound effects and volumes, the aim line,
// the power bar's pace, the helpers (marks and windows the classic game does
// not have) and whether the first-game coach is done. Every default is the
// classic game. They are kept with QSettings in the
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

    // The helpers, each off in the classic game: rings and outlines on the
    // field between shots, the turn arrow, the struck-through names and who
    // is connected in the status window, the chart window at a game's end,
    // and icons on the buttons of boxes and dialogs.
    bool fieldHints = false;
    bool statusMarks = false;
    bool endChart = false;
    bool buttonIcons = false;

    bool anyHelper() const { return fieldHints || statusMarks || endChart || buttonIcons; }
    // Every helper on at once (the first-game coach offers it).
    void turnOnHelpers() { fieldHints = statusMarks = endChart = buttonIcons = true; }

    bool operator==(const PlayerSettings&) const = default;
};

// The sizes a player can choose, in percent.
inline constexpr int kSizeChoices[] = {100, 125, 150, 200};

// The kept settings; anything missing or out of range reads as its default.
PlayerSettings loadPlayerSettings();
void savePlayerSettings(const PlayerSettings& settings);

}  // namespace capzel::ui
