#include "protocol/Messages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "records/JsonFields.h"
#include "records/RecordJson.h"
#include "records/SavedGame.h"
#include "model/PowerBarScale.h"
#include "records/GameText.h"
#include "records/TextEncoding.h"

namespace capzel::protocol {

namespace {

using namespace jsonfields;

// By the index of the message in Message (and Decoded).
constexpr std::array<const char*, std::variant_size_v<Message>> kTypeNames = {
    "hello", "createRoom", "joinRoom", "shot", "chat", "stateRequest", "welcome", "refused", "joined", "seats",
    "accepted", "state", "aim", "handToComputer"};
constexpr const char* kPresenceNames[] = {"connected", "waiting", "computer", "open"};
constexpr std::size_t kMaxReasonChars = 1000;

// ---- Writing ---------------------------------------------------------------

Json seatsValue(const std::vector<SeatStatus>& seats) {
    Json list = Json::array();
    for (const SeatStatus& s : seats)
        list.push_back({{"seat", s.seat},
                        {"name", s.name},
                        {"presence", presenceName(s.presence)},
                        {"kind", kKindNames[std::size_t(s.kind)]},
                        {"host", s.host}});
    return list;
}

void putShot(Json& j, const Shot& shot) {
    j["shotNumber"] = shot.shotNumber;
    recordjson::putShotInputs(j, shot.inputs);
}

struct Writer {
    Json& j;
    void operator()(const Hello& m) {
        j["programVersion"] = m.programVersion;
        j["name"] = m.name;
    }
    void operator()(const CreateRoom& m) {
        Json kinds = Json::array();
        for (PlayerKind k : m.seats) kinds.push_back(kKindNames[std::size_t(k)]);
        j["seats"] = std::move(kinds);
        j["walls"] = m.walls;
        j["names"] = m.names;
        j["mine"] = m.mine;
    }
    void operator()(const JoinRoom& m) {
        j["code"] = m.code;
        j["token"] = m.token ? Json(*m.token) : Json(nullptr);
        j["seats"] = m.seats;
        j["names"] = m.names;
        j["spectate"] = m.spectate;
    }
    void operator()(const Aim& m) {
        j["seat"] = m.seat;
        j["aim"] = {m.x1, m.y1, m.x2, m.y2};
        j["power"] = m.barLevel;
        j["charging"] = m.charging;
    }
    void operator()(const HandToComputer& m) { j["seat"] = m.seat; }
    void operator()(const Shot& m) { putShot(j, m); }
    void operator()(const Chat& m) {
        j["text"] = m.text;
        j["seat"] = m.seat;
    }
    void operator()(const StateRequest&) {}
    void operator()(const Welcome& m) { j["serverVersion"] = m.serverVersion; }
    void operator()(const Refused& m) {
        j["code"] = int(m.code);
        j["reason"] = m.reason;
    }
    void operator()(const Joined& m) {
        j["code"] = m.code;
        j["mine"] = m.mine;
        j["token"] = m.token;
        j["host"] = m.host;
        j["seats"] = seatsValue(m.seats);
    }
    void operator()(const Seats& m) { j["seats"] = seatsValue(m.seats); }
    void operator()(const Accepted& m) {
        j["seat"] = m.shot.inputs.seat;
        putShot(j, m.shot);
        recordjson::putOutcome(j, m.shot.inputs.outcome);
    }
    void operator()(const State& m) {
        j["shotNumber"] = m.shotNumber;
        Json snapshot = Json::parse(m.gameText, nullptr, false);
        j["snapshot"] = snapshot.is_object() ? std::move(snapshot) : Json(nullptr);
    }
};

// ---- Reading ---------------------------------------------------------------

// A text a person typed: plain, within `maxChars`, and not empty unless
// `mayBeEmpty`.
void plainText(FieldReader& r, const char* key, std::string& out, std::size_t maxChars, bool mayBeEmpty = true) {
    r.text(key, out, maxChars);
    if (!r.ok()) return;
    if (!mayBeEmpty && out.empty()) return void(r.fail(key, "is empty"));
    if (!isPlainText(out, maxChars)) r.fail(key, "holds a control character (or a separator, direction or other invisible format character)");
}

void readKind(FieldReader& r, const Json& v, const std::string& at, PlayerKind& out) {
    for (std::size_t k = 0; k < std::size(kKindNames); ++k) {
        if (v.is_string() && v.get_ref<const std::string&>() == kKindNames[k]) {
            out = PlayerKind(k);
            return;
        }
    }
    r.fail(at.c_str(), "is not one of \"human\", \"novice\", \"club\", \"strong\", \"expert\"");
}

void readSeats(FieldReader& r, std::vector<SeatStatus>& seats) {
    const Json* list = r.array("seats", 1, kMaxPlayers);
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        auto s = r.object("seats", (*list)[k], int(k + 1));
        if (!s) return;
        SeatStatus& seat = seats.emplace_back();
        s->integer("seat", seat.seat, 1, kMaxPlayers);
        plainText(*s, "name", seat.name, saveLimits::kMaxNameLength);
        if (const Json* v = s->value("presence")) {
            const auto* names = std::begin(kPresenceNames);
            const auto found = std::find_if(names, std::end(kPresenceNames), [&](const char* name) {
                return v->is_string() && v->get_ref<const std::string&>() == name;
            });
            if (found == std::end(kPresenceNames)) return void(s->fail("presence", "is not a seat's presence"));
            seat.presence = SeatPresence(found - names);
        }
        if (const Json* v = s->value("kind")) readKind(*s, *v, s->where("kind"), seat.kind);
        s->boolean("host", seat.host);
    }
}

// A list of distinct seat numbers (1 to 8 of them).
void readSeatNumbers(FieldReader& r, const char* key, std::vector<int>& out) {
    const Json* list = r.array(key, 0, kMaxPlayers);
    for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k) {
        const std::optional<std::int64_t> n = wholeNumber((*list)[k]);
        const std::string at = std::string(key) + "/" + std::to_string(k);
        if (!n || *n < 1 || *n > kMaxPlayers) return void(r.fail(at.c_str(), "is not a seat from 1 to 8"));
        if (std::find(out.begin(), out.end(), int(*n)) != out.end()) return void(r.fail(at.c_str(), "names a seat twice"));
        out.push_back(int(*n));
    }
}

// Players' names, one per seat (`count` of them) or none.
void readNames(FieldReader& r, std::vector<std::string>& out, std::size_t count) {
    const Json* list = r.array("names", 0, kMaxPlayers);
    if (!list) return;
    if (!list->empty() && list->size() != count)
        return void(r.fail("names", "has " + std::to_string(list->size()) + " names for " + std::to_string(count) + " seats"));
    for (std::size_t k = 0; k < list->size() && r.ok(); ++k) {
        const Json& v = (*list)[k];
        const std::string at = "names/" + std::to_string(k);
        if (!v.is_string() || !isPlainText(v.get_ref<const std::string&>(), saveLimits::kMaxNameLength))
            return void(r.fail(at.c_str(), "is not a name of at most 40 plain characters"));
        out.push_back(v.get<std::string>());
    }
}

void readCode(FieldReader& r, std::string& code) {
    r.text("code", code, kRoomCodeLength);
    if (r.ok() && !isRoomCode(code))
        r.fail("code", "is not a room's code of " + std::to_string(kRoomCodeLength) + " letters and digits");
}

void readToken(FieldReader& r, std::string& token) {
    r.text("token", token, kTokenDigits);
    if (r.ok() && !isSeatToken(token))
        r.fail("token", "is not " + std::to_string(kTokenDigits) + " hexadecimal digits");
}

// The strongest strength the decoder passes on; the room holds a shot to
// its own field's bar.
int maxShotPower() { return strongestStrength(kClientHeight); }

void readShot(FieldReader& r, Shot& shot) {
    r.integer("shotNumber", shot.shotNumber, 1, std::numeric_limits<int>::max());
    recordjson::readShotInputs(r, shot.inputs, maxShotPower());
}

struct Reader {
    FieldReader& r;
    void operator()(Hello& m) {
        plainText(r, "programVersion", m.programVersion, kMaxProgramVersionChars);
        plainText(r, "name", m.name, saveLimits::kMaxNameLength, false);
    }
    void operator()(CreateRoom& m) {
        const Json* list = r.array("seats", 1, kMaxPlayers);
        for (std::size_t k = 0; list && k < list->size() && r.ok(); ++k)
            readKind(r, (*list)[k], r.where("seats/" + std::to_string(k)), m.seats.emplace_back());
        r.boolean("walls", m.walls);
        readNames(r, m.names, m.seats.size());
        readSeatNumbers(r, "mine", m.mine);
    }
    void operator()(JoinRoom& m) {
        readCode(r, m.code);
        if (const Json* v = r.value("token"); v && !v->is_null()) readToken(r, m.token.emplace());
        readSeatNumbers(r, "seats", m.seats);
        readNames(r, m.names, m.seats.size());
        r.boolean("spectate", m.spectate);
    }
    void operator()(Aim& m) {
        r.integer("seat", m.seat, 0, kMaxPlayers);
        std::array<float, 4> ends{};
        r.reals("aim", ends);
        if (r.ok() && !std::all_of(ends.begin(), ends.end(), [](float v) { return std::isfinite(v); }))
            r.fail("aim", "holds a number that is not finite");
        m.x1 = ends[0], m.y1 = ends[1], m.x2 = ends[2], m.y2 = ends[3];
        // A charge's level passes the bar's top by a tick and more before it
        // starts again: the last level it stops at is the lowest.
        r.integer("power", m.barLevel, barLevel(maxBarTicks()), powerBarRows());
        r.boolean("charging", m.charging);
    }
    void operator()(HandToComputer& m) { r.integer("seat", m.seat, 1, kMaxPlayers); }
    void operator()(Shot& m) { readShot(r, m); }
    void operator()(Chat& m) {
        plainText(r, "text", m.text, kMaxChatChars, false);
        r.integer("seat", m.seat, 0, kMaxPlayers);
    }
    void operator()(StateRequest&) {}
    void operator()(Welcome& m) { plainText(r, "serverVersion", m.serverVersion, kMaxProgramVersionChars); }
    void operator()(Refused& m) {
        // A code this program does not know yet is kept as it came; a
        // refusal from a program that sent no code is one of no particular kind.
        int code = int(RefusalCode::Other);
        if (r.has("code")) r.integer("code", code, 0, std::numeric_limits<int>::max());
        m.code = RefusalCode(code);
        r.text("reason", m.reason, kMaxReasonChars);
    }
    void operator()(Joined& m) {
        readCode(r, m.code);
        readSeatNumbers(r, "mine", m.mine);
        // A spectator holds no seat and no token.
        if (m.mine.empty())
            r.text("token", m.token, 0);
        else
            readToken(r, m.token);
        r.boolean("host", m.host);
        readSeats(r, m.seats);
    }
    void operator()(Seats& m) { readSeats(r, m.seats); }
    void operator()(Accepted& m) {
        r.integer("seat", m.shot.inputs.seat, 1, kMaxPlayers);
        readShot(r, m.shot);
        recordjson::readOutcome(r, m.shot.inputs.outcome);
    }
    void operator()(State& m) {
        r.integer("shotNumber", m.shotNumber, 0, std::numeric_limits<int>::max());
        const Json* v = r.value("snapshot");
        if (!v) return;
        if (!v->is_object()) return void(r.fail("snapshot", "is not an object"));
        m.gameText = v->dump();
        std::string why;
        if (!readGameText(m.gameText, &why)) r.fail("snapshot", why);
    }
};

// An empty message of the type at `index` of Decoded.
template <std::size_t... I>
Decoded emptyMessage(std::size_t index, std::index_sequence<I...>) {
    static constexpr std::array<Decoded (*)(), sizeof...(I)> makers = {
        +[]() -> Decoded { return std::variant_alternative_t<I, Message>{}; }...};
    return makers[index]();
}

std::string versionRefusal(std::int64_t theirs) {
    return "The other side speaks version " + std::to_string(theirs) + " of the online game, this program version " +
           std::to_string(kProtocolVersion) + (theirs > kProtocolVersion ? ": this program is older and needs an update."
                                                                        : ": the other program is older and needs an update.");
}

Decoded decodeObject(const Json& j) {
    const auto type = j.find("type");
    if (type == j.end() || !type->is_string()) return Refusal{"The message has no type."};
    const auto version = j.find("protocol");
    const std::optional<std::int64_t> theirs = version == j.end() ? std::nullopt : wholeNumber(*version);
    if (!theirs) return Refusal{"The message does not say its protocol version."};
    if (*theirs != kProtocolVersion) return Refusal{versionRefusal(*theirs)};
    const std::string& name = type->get_ref<const std::string&>();
    const auto known = std::find(kTypeNames.begin(), kTypeNames.end(), name);
    if (known == kTypeNames.end()) return Refusal{"The message's type " + quoted(name) + " is not known."};
    Decoded message = emptyMessage(std::size_t(known - kTypeNames.begin()), std::make_index_sequence<kTypeNames.size()>());
    std::string error;
    FieldReader r(j, "", error, PathStyle::Pointer);
    std::visit([&](auto& m) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(m)>, Refusal>) Reader{r}(m);
    }, message);
    if (!r.ok()) return Refusal{"The " + name + " message is wrong: " + error + "."};
    return message;
}

}  // namespace

const char* presenceName(SeatPresence presence) { return kPresenceNames[std::size_t(presence)]; }

bool isRoomCode(std::string_view text) {
    return text.size() == kRoomCodeLength && text.find_first_not_of(kRoomCodeLetters) == std::string_view::npos;
}

bool isSeatToken(std::string_view text) {
    return text.size() == kTokenDigits && text.find_first_not_of(kHexDigits) == std::string_view::npos;
}

namespace {

// A character that changes how the text around it shows without showing
// itself, so that a line can pass for another: line and paragraph
// separators, bidirectional marks, embeddings, overrides and isolates, and
// the other invisible format characters. The zero-width joiner and
// non-joiner stay: some scripts and emoji are written with them.
bool isInvisibleFormat(char32_t c) {
    constexpr std::pair<char32_t, char32_t> ranges[] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
        {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200B},   {0x200E, 0x200F},
        {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},
        {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
        {0xE0001, 0xE0001}, {0xE0020, 0xE007F}};
    return std::any_of(std::begin(ranges), std::end(ranges), [c](const auto& r) { return c >= r.first && c <= r.second; });
}

}  // namespace

bool isPlainText(std::string_view text, std::size_t maxChars) {
    if (!isValidUtf8(text) || utf8Length(text) > maxChars) return false;
    for (std::size_t k = 0; k < text.size();) {
        // Well-formed UTF-8: the lead byte gives the length.
        const auto lead = static_cast<unsigned char>(text[k]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(text[k + i]) & 0x3F);
        k += length;
        // C0 controls, DEL and the C1 controls.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || isInvisibleFormat(c)) return false;
    }
    return true;
}

std::string encodeMessage(const Message& message) {
    Json j = {{"type", kTypeNames[message.index()]}, {"protocol", kProtocolVersion}};
    std::visit(Writer{j}, message);
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Decoded decodeMessage(std::string_view text) {
    if (text.size() > kMaxMessageBytes)
        return Refusal{"The message is " + std::to_string(text.size()) + " bytes, more than " +
                       std::to_string(kMaxMessageBytes) + "."};
    try {
        const Json j = Json::parse(text, nullptr, false);
        if (j.is_discarded()) return Refusal{"The message is not JSON text."};
        if (!j.is_object()) return Refusal{"The message is not a JSON object."};
        return decodeObject(j);
    } catch (const std::exception& e) {
        return Refusal{std::string("The message could not be read: ") + e.what()};
    }
}

}  // namespace capzel::protocol
