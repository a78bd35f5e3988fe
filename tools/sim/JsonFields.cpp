#include "JsonFields.h"

#include <charconv>
#include <cmath>

#include "records/SavedGame.h"
#include "records/TextEncoding.h"

namespace capzel::sim {

using nlohmann::json;

void fail(const std::string& where, const std::string& problem) {
    throw InputError(where + ": " + problem);
}

json parseObject(std::string_view text) {
    json in;
    try {
        in = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at ...": keep the sentence.
        std::string what = e.what();
        const auto close = what.find("] ");
        throw InputError(close == std::string::npos ? what : what.substr(close + 2));
    }
    if (!in.is_object()) throw InputError("the input must be one JSON object");
    return in;
}

void rejectUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        for (std::string_view k : known) ok = ok || it.key() == k;
        if (!ok) fail(where.empty() ? it.key() : where + "." + it.key(), "unknown key");
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
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, size_t(res.ptr - buf));
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

}  // namespace capzel::sim
