#include "records/SnapshotText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include <nlohmann/json.hpp>

#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kVersion = 1;
constexpr std::int64_t kMaxColor = 0xFFFFFF;
constexpr const char* kHexDigits = "0123456789abcdef";
// By PlayerKind's value.
constexpr const char* kKindNames[] = {"human", "novice", "club", "expert", "strong"};

// ---- Writing ---------------------------------------------------------------

template <typename Real>
Json realValue(Real v) {
    if (std::isfinite(v)) return double(v);
    using Bits = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;
    char digits[2 * sizeof(Real)];
    const Bits bits = std::bit_cast<Bits>(v);
    for (std::size_t k = 0; k < sizeof digits; ++k)
        digits[k] = kHexDigits[(bits >> (4 * (sizeof digits - 1 - k))) & 0xFu];
    return std::string(digits, sizeof digits);
}

Json boxValue(const SnapshotBox& b) {
    return {{"left", realValue(b.left)},       {"top", realValue(b.top)},   {"width", realValue(b.width)},
            {"height", realValue(b.height)}, {"visible", b.visible}, {"fill", b.fillColor}};
}

Json playerValue(const PlayerSnapshot& p) {
    return {{"name", p.name},
            {"score", p.score},
            {"color", p.color},
            {"friction", realValue(p.friction)},
            {"kind", kKindNames[std::size_t(p.kind) < std::size(kKindNames) ? std::size_t(p.kind) : 0]},
            {"position", p.position},
            {"inGame", p.inGame},
            {"moveableNextTurn", p.moveableNextTurn},
            {"losingTurn", p.losingTurn},
            {"headingInReverse", p.headingInReverse},
            {"onLetters", p.onLetters},
            {"isKiller", p.isKiller},
            {"dead", p.dead},
            {"piece", boxValue(p.piece)},
            {"vx", realValue(p.velocityX)},
            {"vy", realValue(p.velocityY)}};
}

// ---- Reading ---------------------------------------------------------------

// A text of the input as a message shows it: at most 20 bytes, in quotes.
std::string quoted(const std::string& text) {
    std::string out(1, '"');
    out.append(text, 0, 20);
    out.push_back('"');
    return out;
}

// A JSON whole number within the int64 range (larger ones read as unsigned).
std::optional<std::int64_t> wholeNumber(const Json& v) {
    if (!v.is_number_integer()) return std::nullopt;
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return v.get<std::int64_t>();
}

// Reads the fields of one object, naming the first that is wrong by its
// path ("players[2].piece.left").
class FieldReader {
public:
    FieldReader(const Json& object, std::string path, std::string& error)
        : object_(object), path_(std::move(path)), error_(error) {}

    bool ok() const { return error_.empty(); }

    const Json* value(const char* key) {
        if (!ok()) return nullptr;
        const auto it = object_.find(key);
        if (it == object_.end()) return fail(key, "is missing");
        return &*it;
    }

    template <typename Int>
    void integer(const char* key, Int& out, std::int64_t lo = std::numeric_limits<Int>::min(),
                 std::int64_t hi = std::numeric_limits<Int>::max()) {
        const Json* v = value(key);
        if (!v) return;
        const std::optional<std::int64_t> n = wholeNumber(*v);
        if (!n) return void(fail(key, "is not a whole number of 64 bits"));
        if (*n < lo || *n > hi)
            return void(fail(key, "is " + v->dump() + ", outside " + std::to_string(lo) + " to " + std::to_string(hi)));
        out = Int(*n);
    }

    void boolean(const char* key, bool& out) {
        const Json* v = value(key);
        if (!v) return;
        if (!v->is_boolean()) return void(fail(key, "is not true or false"));
        out = v->get<bool>();
    }

    template <typename Real>
    void real(const char* key, Real& out) {
        const Json* v = value(key);
        if (!v) return;
        if (v->is_string()) return realBits(key, v->get_ref<const std::string&>(), out);
        if (!v->is_number()) return void(fail(key, "is not a number"));
        const double d = v->get<double>();
        // The parser refuses a number beyond the range of a double, so d is
        // finite; only a float target can lose bits.
        if (double(Real(d)) != d) return void(fail(key, v->dump() + " is not a single-precision number"));
        out = Real(d);
    }

    void text(const char* key, std::string& out, std::size_t maxChars) {
        const Json* v = value(key);
        if (!v) return;
        if (!v->is_string()) return void(fail(key, "is not a text"));
        const std::string& t = v->get_ref<const std::string&>();
        if (utf8Length(t) > maxChars) return void(fail(key, "has more than " + std::to_string(maxChars) + " characters"));
        out = t;
    }

    void kind(const char* key, PlayerKind& out) {
        const Json* v = value(key);
        if (!v) return;
        for (std::size_t k = 0; k < std::size(kKindNames); ++k) {
            if (v->is_string() && v->get_ref<const std::string&>() == kKindNames[k]) {
                out = PlayerKind(k);
                return;
            }
        }
        fail(key, "is not one of \"human\", \"novice\", \"club\", \"strong\", \"expert\"");
    }

    // The array under `key`, with `lo` to `hi` entries.
    const Json* array(const char* key, std::size_t lo, std::size_t hi) {
        const Json* v = value(key);
        if (!v) return nullptr;
        if (!v->is_array()) return fail(key, "is not a list");
        if (v->size() < lo || v->size() > hi) {
            const std::string wanted = lo == hi ? std::to_string(lo) : std::to_string(lo) + " to " + std::to_string(hi);
            return fail(key, "has " + std::to_string(v->size()) + " entries, not " + wanted);
        }
        return v;
    }

    // A reader for the object under `key` (or entry `index`, counted from
    // 1, of the list under it); nullptr when it is not an object.
    std::optional<FieldReader> object(const char* key, const Json& v, int index = 0) {
        const std::string name = index > 0 ? std::string(key) + "[" + std::to_string(index) + "]" : std::string(key);
        if (!ok()) return std::nullopt;
        if (!v.is_object()) {
            error_ = path_ + name + ": is not an object";
            return std::nullopt;
        }
        return FieldReader(v, path_ + name + ".", error_);
    }

    const Json* fail(const char* key, const std::string& what) {
        if (ok()) error_ = path_ + key + ": " + what;
        return nullptr;
    }

private:
    template <typename Real>
    void realBits(const char* key, const std::string& digits, Real& out) {
        using Bits = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;
        Bits bits{};
        const bool hex = digits.size() == 2 * sizeof(Real) && digits.find_first_not_of(kHexDigits) == std::string::npos;
        if (hex) std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (!hex || std::isfinite(std::bit_cast<Real>(bits)))
            return void(fail(key, quoted(digits) + " is not the bit pattern of a NaN or infinity"));
        out = std::bit_cast<Real>(bits);
    }

    const Json& object_;
    std::string path_;
    std::string& error_;
};

void readBox(FieldReader& r, SnapshotBox& b) {
    r.real("left", b.left);
    r.real("top", b.top);
    r.real("width", b.width);
    r.real("height", b.height);
    r.boolean("visible", b.visible);
    r.integer("fill", b.fillColor, 0, kMaxColor);
}

void readBoxAt(FieldReader& r, const char* key, SnapshotBox& b) {
    const Json* v = r.value(key);
    if (auto box = v ? r.object(key, *v) : std::nullopt) readBox(*box, b);
}

void readPlayer(FieldReader& r, PlayerSnapshot& p) {
    r.text("name", p.name, saveLimits::kMaxNameLength);
    r.integer("score", p.score);
    r.integer("color", p.color, 0, kMaxColor);
    r.real("friction", p.friction);
    r.kind("kind", p.kind);
    r.integer("position", p.position, 0, saveLimits::kMaxPosition);
    r.boolean("inGame", p.inGame);
    r.boolean("moveableNextTurn", p.moveableNextTurn);
    r.boolean("losingTurn", p.losingTurn);
    r.boolean("headingInReverse", p.headingInReverse);
    r.boolean("onLetters", p.onLetters);
    r.boolean("isKiller", p.isKiller);
    r.boolean("dead", p.dead);
    readBoxAt(r, "piece", p.piece);
    r.real("vx", p.velocityX);
    r.real("vy", p.velocityY);
}

void readHitLog(FieldReader& r, const char* key, std::array<std::int32_t, kHitLogSize>& log) {
    const Json* list = r.array(key, kHitLogSize, kHitLogSize);
    for (std::size_t k = 0; list && k < kHitLogSize && r.ok(); ++k) {
        const std::optional<std::int64_t> n = wholeNumber((*list)[k]);
        if (!n || *n < 0 || *n > kMaxPlayers)
            r.fail(key, "entry " + std::to_string(k + 1) + " is not a player number 0 to 8");
        else
            log[k] = std::int32_t(*n);
    }
}

void readGame(FieldReader& r, GameSnapshot& s) {
    int version{};
    r.integer("version", version, kVersion, kVersion);
    if (const Json* list = r.array("players", 1, kMaxPlayers)) {
        s.players.resize(list->size());
        for (std::size_t i = 0; i < list->size(); ++i)
            if (auto p = r.object("players", (*list)[i], int(i + 1))) readPlayer(*p, s.players[i]);
    }
    r.integer("currentTurn", s.currentTurn, 1, std::int64_t(s.players.size()));
    r.boolean("gameRunning", s.gameRunning);
    r.boolean("wallsOn", s.wallsOn);
    r.boolean("shotInProgress", s.shotInProgress);
    r.integer("power", s.power);
    r.integer("hitCount", s.hitCount, 0, kHitLogSize);
    readHitLog(r, "hitFirst", s.hitFirst);
    readHitLog(r, "hitSecond", s.hitSecond);
    r.integer("killCount", s.killCount, 0);
    r.integer("sentCount", s.sentCount, 0);
    r.integer("oneShotBonus", s.oneShotBonus, 0, 1);
    r.integer("shotsTaken", s.shotsTaken, 0);
    if (const Json* list = r.array("walls", kWallCount, kWallCount)) {
        for (std::size_t j = 0; j < kWallCount; ++j)
            if (auto w = r.object("walls", (*list)[j], int(j + 1))) readBox(*w, s.walls[j]);
    }
    readBoxAt(r, "pieceHolder", s.pieceHolder);
    if (const Json* v = r.value("pointer")) {
        if (auto p = r.object("pointer", *v)) {
            p->real("x1", s.pointer.x1);
            p->real("y1", s.pointer.y1);
            p->real("x2", s.pointer.x2);
            p->real("y2", s.pointer.y2);
            p->boolean("visible", s.pointer.visible);
        }
    }
    r.real("leftEdge", s.leftEdge);
    r.real("rightEdge", s.rightEdge);
    r.real("fieldHeight", s.fieldHeight);
    r.real("contactOffsetX", s.contactOffsetX);
    r.real("contactOffsetY", s.contactOffsetY);
}

}  // namespace

std::string writeSnapshot(const GameSnapshot& s) {
    Json players = Json::array();
    for (const PlayerSnapshot& p : s.players) players.push_back(playerValue(p));
    Json walls = Json::array();
    for (const SnapshotBox& w : s.walls) walls.push_back(boxValue(w));
    const Json j = {
        {"version", kVersion},
        {"players", std::move(players)},
        {"currentTurn", s.currentTurn},
        {"gameRunning", s.gameRunning},
        {"wallsOn", s.wallsOn},
        {"shotInProgress", s.shotInProgress},
        {"power", s.power},
        {"hitCount", s.hitCount},
        {"hitFirst", s.hitFirst},
        {"hitSecond", s.hitSecond},
        {"killCount", s.killCount},
        {"sentCount", s.sentCount},
        {"oneShotBonus", s.oneShotBonus},
        {"shotsTaken", s.shotsTaken},
        {"walls", std::move(walls)},
        {"pieceHolder", boxValue(s.pieceHolder)},
        {"pointer",
         {{"x1", realValue(s.pointer.x1)},
          {"y1", realValue(s.pointer.y1)},
          {"x2", realValue(s.pointer.x2)},
          {"y2", realValue(s.pointer.y2)},
          {"visible", s.pointer.visible}}},
        {"leftEdge", realValue(s.leftEdge)},
        {"rightEdge", realValue(s.rightEdge)},
        {"fieldHeight", realValue(s.fieldHeight)},
        {"contactOffsetX", realValue(s.contactOffsetX)},
        {"contactOffsetY", realValue(s.contactOffsetY)},
    };
    // A name that is not UTF-8 (no part of the game makes one) is written
    // with replacement characters rather than refused.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<GameSnapshot> readSnapshot(std::string_view text, std::string* error) {
    std::string message;
    std::optional<GameSnapshot> result;
    try {
        if (text.size() > kMaxSnapshotTextBytes) {
            message = "the snapshot is " + std::to_string(text.size()) + " bytes, more than " +
                      std::to_string(kMaxSnapshotTextBytes);
        } else {
            const Json j = Json::parse(text, nullptr, false);
            if (j.is_discarded()) {
                message = "the snapshot is not JSON text";
            } else if (!j.is_object()) {
                message = "the snapshot is not a JSON object";
            } else {
                GameSnapshot s;
                FieldReader r(j, "", message);
                readGame(r, s);
                if (r.ok()) result = std::move(s);
            }
        }
    } catch (const std::exception& e) {
        message = std::string("the snapshot could not be read: ") + e.what();
    }
    if (!result && error) *error = message;
    return result;
}

}  // namespace capzel
