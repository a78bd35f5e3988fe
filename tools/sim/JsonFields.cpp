#include "JsonFields.h"

#include <algorithm>
#include <cstdint>
#include <cmath>

#include "model/RealText.h"
#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel::sim {

using nlohmann::json;

void fail(const std::string& where, const std::string& problem) {
    throw InputError(where + ": " + problem);
}

namespace {

// "line L, column C" of the byte at `offset` (counted from 1, as the parser
// reports it), columns in bytes.
std::string placeOf(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, offset > 0 ? offset - 1 : 0);
    const std::size_t lineStart = before.rfind('\n');
    const std::size_t line = 1 + std::size_t(std::count(before.begin(), before.end(), '\n'));
    const std::size_t column = before.size() - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The number the parser could not hold, from its report ("... parsing
// '1e400'"), cut for the message; empty when the report names none.
std::string overflowingNumber(const std::string& report) {
    const std::size_t open = report.find('\'');
    const std::size_t close = report.rfind('\'');
    if (open == std::string::npos || close <= open + 1) return {};
    return shownText(std::string_view(report).substr(open + 1, close - open - 1));
}

}  // namespace

std::string shownText(std::string_view text) {
    const std::string cut = shortenUtf8(isValidUtf8(text) ? std::string(text) : windows1252ToUtf8(text), 30);
    std::string out;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const auto c = std::uint8_t(cut[i]);
        const bool c1Control = c == 0xC2 && i + 1 < cut.size() && std::uint8_t(cut[i + 1]) <= 0x9F;  // U+0080-U+009F
        out += c < 0x20 || c == 0x7F || c1Control ? '?' : char(c);
        i += c1Control ? 1 : 0;
    }
    return out;
}

json parseObject(std::string_view text) {
    // The parser's own reports quote what it last read (any bytes, up to the
    // whole input), so the messages here are written anew.
    json in;
    try {
        in = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        throw InputError("parse error at " + placeOf(text, e.byte) + ": " +
                         (isValidUtf8(text) ? "this is not valid JSON" : "the input is not UTF-8 text"));
    } catch (const json::out_of_range& e) {
        // A number beyond double precision (1e400, a thousand digits).
        const std::string number = overflowingNumber(e.what());
        throw InputError(number.empty() ? "a number is too large" : "the number " + number + " is too large");
    } catch (const json::exception&) {
        throw InputError("the input cannot be read as JSON");
    }
    if (!in.is_object()) throw InputError("the input must be one JSON object");
    return in;
}

void rejectUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        for (std::string_view k : known) ok = ok || it.key() == k;
        if (!ok) fail(where.empty() ? shownText(it.key()) : where + "." + shownText(it.key()), "unknown key");
    }
}

bool readBool(const json& v, const std::string& where) {
    if (!v.is_boolean()) fail(where, "must be true or false");
    return v.get<bool>();
}

long long readInteger(const json& v, const std::string& where, long long lo, long long hi) {
    const auto outOfRange = [&] { fail(where, "must be from " + std::to_string(lo) + " to " + std::to_string(hi)); };
    long long n = 0;
    if (v.is_number_integer()) {
        if (v.is_number_unsigned() && v.get<unsigned long long>() > (unsigned long long)hi) outOfRange();
        n = v.get<long long>();
    } else if (v.is_number_float()) {
        const double d = v.get<double>();
        if (!std::isfinite(d) || d != std::floor(d)) fail(where, "must be a whole number");
        if (d < double(lo) || d > double(hi)) outOfRange();
        n = (long long)d;
    } else {
        fail(where, "must be a whole number");
    }
    if (n < lo || n > hi) outOfRange();
    return n;
}

float readFloat(const json& v, const std::string& where) {
    if (!v.is_number()) fail(where, "must be a number");
    const double d = v.get<double>();
    const float f = float(d);
    if (!std::isfinite(d) || !std::isfinite(f)) fail(where, "must be a number within single precision");
    return f;
}

std::string readText(const json& v, const std::string& where) {
    if (!v.is_string()) fail(where, "must be a text");
    return v.get<std::string>();
}

std::string readName(const json& v, const std::string& where) {
    std::string name = readText(v, where);
    if (utf8Length(name) > saveLimits::kMaxNameLength)
        fail(where, "is longer than " + std::to_string(saveLimits::kMaxNameLength) + " characters");
    return name;
}

std::string formatFloat(float v) {
    if (!std::isfinite(v)) return "null";
    std::string s = shortestText(v);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

}  // namespace capzel::sim
