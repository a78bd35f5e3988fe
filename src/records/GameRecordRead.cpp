// A game record read back from JSON text, carefully: anything it does not take is named.
#include <limits>

#include "records/GameRecord.h"
#include "model/PowerBarScale.h"
#include "records/GameJson.h"
#include "records/GameRecordFormat.h"
#include "records/JsonFields.h"
#include "records/RecordJson.h"
#include "records/SavedGame.h"

namespace capzel {

namespace {

using namespace jsonfields;
using namespace recordformat;

// A record nests a few levels deep; a text nested deeper is not one.
constexpr std::size_t kMaxRecordDepth = 32;

// A text that must be one of `names`; gives its index.
template <std::size_t N>
std::optional<std::size_t> oneOf(FieldReader& r, const char* key, const char* const (&names)[N]) {
    const Json* v = r.value(key);
    if (!v) return std::nullopt;
    for (std::size_t k = 0; k < N; ++k)
        if (v->is_string() && v->get_ref<const std::string&>() == names[k]) return k;
    r.fail(key, "is not a known name");
    return std::nullopt;
}

// True when the value under `key` is there and not null.
bool present(FieldReader& r, const char* key) {
    const Json* v = r.value(key);
    return v && !v->is_null();
}

void readSeat(FieldReader& r, SeatSetup& s) {
    r.text("name", s.name, saveLimits::kMaxNameLength);
    if (present(r, "color")) r.integer("color", s.color.emplace(), 0, kMaxColor);
    r.real("friction", s.friction);
    r.integer("score", s.score);
    r.kind("kind", s.kind);
    r.integer("position", s.position, 0, saveLimits::kMaxPosition);
    r.boolean("inGame", s.inGame);
    r.boolean("dead", s.dead);
    r.boolean("isKiller", s.isKiller);
    r.boolean("onLetters", s.onLetters);
    r.boolean("headingInReverse", s.headingInReverse);
    r.boolean("moveableNextTurn", s.moveableNextTurn);
    r.boolean("losingTurn", s.losingTurn);
    if (!present(r, "piece")) return;
    if (auto p = r.object("piece", *r.value("piece"))) {
        PiecePlace& place = s.piece.emplace();
        p->finite("left", place.left);
        p->finite("top", place.top);
        p->real("width", place.width);
        p->real("height", place.height);
    }
}

void readSetup(FieldReader& r, GameSetup& setup) {
    if (const Json* list = r.array("seats", 1, kMaxPlayers)) {
        setup.seats.resize(list->size());
        for (std::size_t i = 0; i < list->size(); ++i)
            if (auto seat = r.object("seats", (*list)[i], int(i + 1))) readSeat(*seat, setup.seats[i]);
    }
    if (present(r, "walls")) r.boolean("walls", setup.walls.emplace());
    r.integer("currentTurn", setup.currentTurn, 1, std::int64_t(setup.seats.size()));
}

void readLine(FieldReader& r, AimState& p) {
    r.finite("x1", p.x1);
    r.finite("y1", p.y1);
    r.finite("x2", p.x2);
    r.finite("y2", p.y2);
    r.boolean("visible", p.visible);
}

void readField(FieldReader& r, RecordedField& f) {
    r.finite("width", f.width);
    r.finite("height", f.height);
    r.finite("leftEdge", f.leftEdge);
    r.finite("rightEdge", f.rightEdge);
    if (const Json* list = r.array("outerWalls", 2, 2))
        for (std::size_t j = 0; j < 2; ++j)
            if (auto w = r.object("outerWalls", (*list)[j], int(j + 1))) readBox(*w, f.outerWalls[j]);
    r.real("pieceHolderWidth", f.pieceHolderWidth);
    r.reals("vx", f.velocityX);
    r.reals("vy", f.velocityY);
    if (const Json* v = r.value("pointer"))
        if (auto p = r.object("pointer", *v)) readLine(*p, f.pointer);
    r.real("contactOffsetX", f.contactOffsetX);
    r.real("contactOffsetY", f.contactOffsetY);
}

void readTexts(FieldReader& r, const char* key, std::vector<std::string>& out, std::size_t maxChars) {
    const Json* list = r.array(key, 0, std::numeric_limits<std::size_t>::max());
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        const Json& v = (*list)[k];
        const std::string at = std::string(key) + "/" + std::to_string(k);
        if (!v.is_string())
            r.fail(at.c_str(), "is not a text");
        else if (utf8Length(v.get_ref<const std::string&>()) > maxChars)
            r.fail(at.c_str(), "has more than " + std::to_string(maxChars) + " characters");
        else
            out.push_back(v.get<std::string>());
    }
}

}  // namespace

void recordjson::readOutcome(FieldReader& r, EntryOutcome& o) {
    if (const Json* v = r.value("hash")) {
        const bool hex = v->is_string() && v->get_ref<const std::string&>().size() == 16 &&
                         v->get_ref<const std::string&>().find_first_not_of(kHexDigits) == std::string::npos;
        if (!hex) return void(r.fail("hash", "is not 16 hexadecimal digits"));
        o.hash = std::stoull(v->get<std::string>(), nullptr, 16);
    }
    const Json* list = r.array("announcements", 0, std::numeric_limits<std::size_t>::max());
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        if (auto a = r.object("announcements", (*list)[k], int(k + 1))) {
            Announcement& said = o.announcements.emplace_back();
            if (const auto kind = oneOf(*a, "kind", kAnnouncementKinds)) said.kind = AnnouncementKind(*kind);
            a->integer("player", said.player, 0, kMaxPlayers);
            a->text("text", said.text, kMaxAnnouncementLength);
        }
    }
}

namespace {

void readCommand(FieldReader& r, HiddenCommand& c) {
    if (const Json* v = r.value("command")) {
        const std::optional<HiddenCommandKind> named = v->is_string() ? commandNamed(v->get<std::string>()) : std::nullopt;
        if (!named) return void(r.fail("command", "is not the caption of a command that changes the game"));
        c.kind = *named;
    }
    readTexts(r, "answers", c.answers, kMaxAnswerLength);
}

void readPlacement(FieldReader& r, std::optional<HandPlacement>& out) {
    if (!present(r, "placement")) return;
    if (auto p = r.object("placement", *r.value("placement"))) {
        HandPlacement& place = out.emplace();
        p->finite("left", place.left);
        p->finite("top", place.top);
    }
}

// Only records of the first version hold what was on the board.
void readBefore(FieldReader& r, std::optional<BoardInputs>& out, int maxPower) {
    if (!r.has("before") || !present(r, "before")) return;
    auto before = r.object("before", *r.value("before"));
    if (!before) return;
    BoardInputs& b = out.emplace();
    if (const Json* p = before->value("pointer"))
        if (auto line = before->object("pointer", *p)) readLine(*line, b.pointer);
    // A charge under way holds the bar's level, which may pass its top.
    before->integer("power", b.power, -maxPower, maxPower);
    readPlacement(*before, b.placement);
}

}  // namespace

void recordjson::readShotInputs(FieldReader& r, ShotCommand& shot, int maxPower) {
    r.finite("x1", shot.x1);
    r.finite("y1", shot.y1);
    r.finite("x2", shot.x2);
    r.finite("y2", shot.y2);
    r.integer("power", shot.strength, 0, maxPower);
    readPlacement(r, shot.placement);
}

namespace {

void readShot(FieldReader& r, RecordedShot& shot, int seats, int maxPower) {
    r.integer("seat", shot.seat, 1, seats);
    recordjson::readShotInputs(r, shot, maxPower);
    const Json* list = r.array("commands", 0, std::numeric_limits<std::size_t>::max());
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        if (auto c = r.object("commands", (*list)[k], int(k + 1))) {
            MidShotCommand& command = shot.midShot.emplace_back();
            c->integer("advance", command.advance, 0);
            readCommand(*c, command.command);
        }
    }
}

// Only records of the first version hold what was on the board before a
// command or an undo.
std::optional<RecordEntry> readEntry(FieldReader& r, int seats, int maxPower, bool firstVersion) {
    const std::optional<std::size_t> type = oneOf(r, "type", kEntryTypes);
    if (!type) return std::nullopt;
    RecordEntry entry;
    if (*type == 0) {
        readShot(r, entry.emplace<RecordedShot>(), seats, maxPower);
    } else if (*type == 1) {
        auto& command = entry.emplace<RecordedCommandEntry>();
        if (firstVersion) readBefore(r, command.before, maxPower);
        readCommand(r, command.command);
    } else {
        auto& undo = entry.emplace<RecordedUndo>();
        if (firstVersion) readBefore(r, undo.before, maxPower);
    }
    std::visit([&](auto& e) { recordjson::readOutcome(r, e.outcome); }, entry);
    return entry;
}

void readRecord(FieldReader& r, GameRecord& record) {
    if (const Json* v = r.value("format"); v && !(v->is_string() && v->get<std::string>() == kFormat))
        return void(r.fail("format", std::string("is not \"") + kFormat + "\""));
    int version{};
    r.integer("version", version, kFirstVersion, kVersion);
    r.text("began", record.began, kMaxTimeLength);
    r.text("ended", record.ended, kMaxTimeLength);
    float fieldHeight = kClientHeight;
    if (version == kFirstVersion) {
        SetupStart& built = record.setupStart.emplace();
        if (const Json* v = r.value("setup"))
            if (auto s = r.object("setup", *v)) readSetup(*s, built.setup);
        if (const Json* v = r.value("field"))
            if (auto f = r.object("field", *v)) readField(*f, built.field);
        fieldHeight = built.field.height;
    } else if (const Json* v = r.value("game")) {
        if (auto g = r.object("game", *v)) gamejson::readGame(*g, record.startGame);
        fieldHeight = record.startGame.board.scaleHeight;
    }
    const int seats = record.seatCount();
    if (present(r, "winner")) r.integer("winner", record.winner.emplace(), 1, seats);
    if (const Json* v = r.value("start"))
        if (auto s = r.object("start", *v)) recordjson::readOutcome(*s, record.start);
    const int maxPower = strongestStrength(fieldHeight);
    const Json* list = r.array("entries", 0, std::numeric_limits<std::size_t>::max());
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k)
        if (auto e = r.object("entries", (*list)[k], int(k + 1)))
            if (auto entry = readEntry(*e, seats, maxPower, version == kFirstVersion))
                record.entries.push_back(std::move(*entry));
}

}  // namespace
std::optional<GameRecord> readGameRecord(std::string_view text, std::string* error) {
    std::string message;
    std::optional<GameRecord> result;
    try {
        if (text.size() > kMaxGameRecordBytes) {
            message = "the game record is " + std::to_string(text.size()) + " bytes, more than " +
                      std::to_string(kMaxGameRecordBytes);
        } else if (!nestedWithin(text, kMaxRecordDepth)) {
            message = "the game record nests its lists and objects more than " + std::to_string(kMaxRecordDepth) + " deep";
        } else {
            const Json j = Json::parse(text, nullptr, false);
            if (j.is_discarded()) {
                message = "the game record is not JSON text";
            } else if (!j.is_object()) {
                message = "the game record is not a JSON object";
            } else {
                GameRecord record;
                FieldReader r(j, "", message, PathStyle::Pointer);
                readRecord(r, record);
                if (r.ok()) result = std::move(record);
            }
        }
    } catch (const std::exception& e) {
        message = std::string("the game record could not be read: ") + e.what();
    }
    if (!result && error) *error = message;
    return result;
}

}  // namespace capzel
