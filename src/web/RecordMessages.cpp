#include "web/RecordMessages.h"

#include <variant>

#include "match/RecordReplay.h"
#include "match/RecordStart.h"
#include "protocol/Messages.h"
#include "records/GameText.h"

namespace capzel::web {

std::vector<std::string> recordAsServerMessages(const GameRecord& record) {
    const Game start = recordStartGame(record);
    std::vector<std::string> out;
    out.push_back(protocol::encodeMessage(protocol::Welcome{protocol::kProtocolVersion, "record"}));
    protocol::Joined joined;
    joined.code = kRecordRoomCode;
    for (int i = 1; i <= start.playerCount(); ++i) {
        protocol::SeatStatus seat;
        seat.seat = i;
        seat.name = start.seats[std::size_t(i)].name;
        seat.kind = start.seats[std::size_t(i)].kind;
        seat.presence = seat.kind == PlayerKind::Human ? protocol::SeatPresence::Connected
                                                       : protocol::SeatPresence::Computer;
        joined.seats.push_back(seat);
    }
    out.push_back(protocol::encodeMessage(joined));
    out.push_back(protocol::encodeMessage(protocol::State{0, writeGameText(start)}));
    int number = 0;
    for (const RecordEntry& entry : record.entries) {
        const auto* shot = std::get_if<RecordedShot>(&entry);
        if (!shot || !shot->midShot.empty()) break;
        protocol::Accepted accepted;
        accepted.shot.shotNumber = ++number;
        accepted.shot.inputs = *shot;
        accepted.shot.inputs.midShot.clear();
        out.push_back(protocol::encodeMessage(accepted));
    }
    return out;
}

std::string replayLines(const GameRecord& record) {
    RecordReplay replay(record);
    ReplayStep step = replay.startStep();
    std::string out = step.describe() + '\n';
    while (step.matches() && !replay.done()) {
        step = replay.next();
        out += step.describe() + '\n';
    }
    return out + writeGameText(replay.game()) + '\n';
}

}  // namespace capzel::web
