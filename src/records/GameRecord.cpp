#include "records/GameRecord.h"

#include <algorithm>
#include <cstdio>

namespace capzel {

const EntryOutcome& outcomeOf(const RecordEntry& entry) {
    return std::visit([](const auto& e) -> const EntryOutcome& { return e.outcome; }, entry);
}

int GameRecord::shotCount() const {
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const RecordEntry& e) { return std::holds_alternative<RecordedShot>(e); }));
}

int GameRecord::seatCount() const {
    return setupStart ? int(setupStart->setup.seats.size()) : startGame.playerCount();
}

std::vector<std::string> GameRecord::playerNames() const {
    std::vector<std::string> names;
    if (setupStart)
        for (const SeatSetup& seat : setupStart->setup.seats) names.push_back(seat.name);
    else
        for (int i = 1; i <= startGame.playerCount(); ++i) names.push_back(startGame.seat(i).name);
    return names;
}

// The text holds every value to the last bit.
bool GameRecord::operator==(const GameRecord& other) const {
    return writeGameRecord(*this) == writeGameRecord(other);
}

std::string hashText(std::uint64_t hash) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

std::string saveGameRecord(Platform& platform, const std::string& path, const GameRecord& record) {
    const std::string text = writeGameRecord(record);
    if (text.size() > kMaxGameRecordBytes)
        return "The game record is " + std::to_string(text.size()) + " bytes, more than " +
               std::to_string(kMaxGameRecordBytes) + ".";
    return platform.writeFile(path, text);
}

std::optional<GameRecord> loadGameRecord(Platform& platform, const std::string& path, std::string* error) {
    const std::optional<std::string> text = platform.readFile(path, kMaxGameRecordBytes + 1);
    if (!text) {
        if (error) *error = "the game record " + path + " cannot be read";
        return std::nullopt;
    }
    return readGameRecord(*text, error);
}

}  // namespace capzel
