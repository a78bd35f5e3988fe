#include "records/GameRecord.h"

#include <algorithm>
#include <cstdio>

#include "model/Numbers.h"
#include "players/PlannedShot.h"

namespace capzel {

const char* commandCaption(RecordedCommand command) { return kRecordedCommandCaptions[std::size_t(command)]; }

std::optional<RecordedCommand> commandNamed(std::string_view caption) {
    for (std::size_t k = 0; k < kRecordedCommandCaptions.size(); ++k)
        if (caption == kRecordedCommandCaptions[k]) return RecordedCommand(k);
    return std::nullopt;
}

const EntryOutcome& outcomeOf(const RecordEntry& entry) {
    return std::visit([](const auto& e) -> const EntryOutcome& { return e.outcome; }, entry);
}

RecordedField recordField(const Field& field) {
    const Board& b = field.board;
    RecordedField r;
    r.width = b.scaleWidth;
    r.height = b.scaleHeight;
    r.leftEdge = b.leftLine.x1;
    r.rightEdge = b.rightLine.x1;
    r.outerWalls = {boxOf(b.walls[kWallCount - 1]), boxOf(b.walls[kWallCount])};
    r.pieceHolderWidth = b.pieceHolder.width;
    r.pointer = {b.pointer.x1, b.pointer.y1, b.pointer.x2, b.pointer.y2, b.pointer.visible};
    for (int i = 1; i <= kMaxPlayers; ++i) {
        r.velocityX[std::size_t(i - 1)] = field.velocityX[std::size_t(i)];
        r.velocityY[std::size_t(i - 1)] = field.velocityY[std::size_t(i)];
    }
    r.contactOffsetX = field.ox;
    r.contactOffsetY = field.oy;
    return r;
}

// The side lines reach from the top to the bottom edge, as the window
// stretches them.
void applyRecordedField(const RecordedField& recorded, Field& field) {
    Board& b = field.board;
    b.scaleWidth = recorded.width;
    b.scaleHeight = recorded.height;
    b.leftLine.x1 = recorded.leftEdge;
    b.rightLine.x1 = recorded.rightEdge;
    b.leftLine.y1 = b.rightLine.y1 = 0;
    b.leftLine.y2 = b.rightLine.y2 = recorded.height;
    putBox(recorded.outerWalls[0], b.walls[kWallCount - 1]);
    putBox(recorded.outerWalls[1], b.walls[kWallCount]);
    b.pieceHolder.width = recorded.pieceHolderWidth;
    const SnapshotLine& p = recorded.pointer;
    b.pointer.x1 = p.x1;
    b.pointer.y1 = p.y1;
    b.pointer.x2 = p.x2;
    b.pointer.y2 = p.y2;
    b.pointer.visible = p.visible;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        field.velocityX[std::size_t(i)] = recorded.velocityX[std::size_t(i - 1)];
        field.velocityY[std::size_t(i)] = recorded.velocityY[std::size_t(i - 1)];
    }
    field.ox = recorded.contactOffsetX;
    field.oy = recorded.contactOffsetY;
}

void paintPlayerColors(const GameState& g, Field& field) {
    for (int i = 1; i <= g.numberOfPlayers && i <= kMaxPlayers; ++i) field.board.pieces[i].fillColor = g.playerColor[i];
}

int GameRecord::shotCount() const {
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const RecordEntry& e) { return std::holds_alternative<RecordedShot>(e); }));
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

std::uint64_t gameHash(const GameState& g, const Field& field) { return stateHash(captureSnapshot(g, field)); }

int maxRecordedPower(float fieldHeight) {
    const double strongest = roundHalfEven(double(fieldHeight) - double(players::barLevel(players::maxBarTicks())));
    return int(std::clamp(strongest, 0.0, 32767.0));
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
