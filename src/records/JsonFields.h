// Reading and writing JSON fields exactly, shared by the snapshot and the
// game record texts: reals that read back to the last bit (finite ones as
// the shortest decimal of the double they widen to, NaN and the infinities
// as their bit pattern in hexadecimal), and a reader that names the first
// field that is wrong by its path.
#pragma once

#include <charconv>
#include <cmath>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include <nlohmann/json.hpp>

#include "model/Bits.h"
#include "model/Game.h"
#include "model/PlayerKind.h"
#include "records/TextEncoding.h"

namespace capzel::jsonfields {

using Json = nlohmann::ordered_json;

constexpr std::int64_t kMaxColor = 0xFFFFFF;
constexpr const char* kHexDigits = "0123456789abcdef";
// By PlayerKind's value.
constexpr const char* kKindNames[] = {"human", "novice", "club", "expert", "strong"};

// How a reader names a field: "players[2].piece.left" (entries counted from
// 1), or as a JSON pointer, "/players/1/piece/left".
enum class PathStyle { Dotted, Pointer };

template <typename Real>
inline Json realValue(Real v) {
    if (std::isfinite(v)) return double(v);
    using Bits = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;
    char digits[2 * sizeof(Real)];
    const Bits bits = bitCopy<Bits>(v);
    for (std::size_t k = 0; k < sizeof digits; ++k)
        digits[k] = kHexDigits[(bits >> (4 * (sizeof digits - 1 - k))) & 0xFu];
    return std::string(digits, sizeof digits);
}

inline Json boxValue(const Box& b) {
    return {{"left", realValue(b.left)},       {"top", realValue(b.top)},   {"width", realValue(b.width)},
            {"height", realValue(b.height)}, {"visible", b.visible}, {"fill", b.fillColor}};
}

// Whether the JSON text nests its arrays and objects at most `depth` deep
// (a text that is not JSON is left to the parser). A text nested millions
// deep would cost the parser hundreds of megabytes.
inline bool nestedWithin(std::string_view text, std::size_t depth) {
    std::size_t open = 0;
    bool inString = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (inString) {
            if (c == '\\') ++k;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++open > depth) return false;
        } else if ((c == ']' || c == '}') && open > 0) {
            --open;
        }
    }
    return true;
}

// A text of the input as a message shows it: at most 20 bytes, in quotes.
inline std::string quoted(const std::string& text) {
    std::string out(1, '"');
    out.append(text, 0, 20);
    out.push_back('"');
    return out;
}

// A JSON whole number within the int64 range (larger ones read as unsigned).
inline std::optional<std::int64_t> wholeNumber(const Json& v) {
    if (!v.is_number_integer()) return std::nullopt;
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return v.get<std::int64_t>();
}

// Reads the fields of one object, naming the first that is wrong by its
// path ("players[2].piece.left").
class FieldReader {
public:
    FieldReader(const Json& object, std::string path, std::string& error, PathStyle style = PathStyle::Dotted)
        : object_(object), path_(std::move(path)), error_(error), style_(style) {}

    bool ok() const { return error_.empty(); }

    // Whether the object holds `key` at all (an optional field).
    bool has(const char* key) const { return object_.find(key) != object_.end(); }

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
        if (const Json* v = value(key)) realIn(*v, key, out);
    }

    // A real that can only be finite: what a pointer or a window gives.
    template <typename Real>
    void finite(const char* key, Real& out) {
        const Json* v = value(key);
        if (!v) return;
        realIn(*v, key, out);
        if (ok() && !std::isfinite(out)) fail(key, "is not a finite number");
    }

    // A list of exactly N reals under `key`; an entry that is wrong is
    // named by its place in the list.
    template <typename Real, std::size_t N>
    void reals(const char* key, std::array<Real, N>& out) {
        const Json* list = array(key, N, N);
        for (std::size_t k = 0; list && k < N && ok(); ++k) {
            std::string at = key;
            at += style_ == PathStyle::Dotted ? "[" : "/";
            at += std::to_string(style_ == PathStyle::Dotted ? k + 1 : k);
            if (style_ == PathStyle::Dotted) at += ']';
            realIn((*list)[k], at.c_str(), out[k]);
        }
    }

    // The value `v` read as a real, named `key` when it is wrong.
    template <typename Real>
    void realIn(const Json& value, const char* key, Real& out) {
        const Json* v = &value;
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
        std::string name = where(key);
        if (index > 0) name += style_ == PathStyle::Dotted ? "[" + std::to_string(index) + "]" : "/" + std::to_string(index - 1);
        if (!ok()) return std::nullopt;
        if (!v.is_object()) {
            error_ = name + ": is not an object";
            return std::nullopt;
        }
        return FieldReader(v, style_ == PathStyle::Dotted ? name + "." : name, error_, style_);
    }

    const Json* fail(const char* key, const std::string& what) {
        if (ok()) error_ = where(key) + ": " + what;
        return nullptr;
    }

    // The path of the field under `key`.
    std::string where(const std::string& key) const { return style_ == PathStyle::Dotted ? path_ + key : path_ + "/" + key; }

private:
    template <typename Real>
    void realBits(const char* key, const std::string& digits, Real& out) {
        using Bits = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;
        Bits bits{};
        const bool hex = digits.size() == 2 * sizeof(Real) && digits.find_first_not_of(kHexDigits) == std::string::npos;
        if (hex) std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (!hex || std::isfinite(bitCopy<Real>(bits)))
            return void(fail(key, quoted(digits) + " is not the bit pattern of a NaN or infinity"));
        out = bitCopy<Real>(bits);
    }

    const Json& object_;
    std::string path_;
    std::string& error_;
    PathStyle style_;
};

inline void readBox(FieldReader& r, Box& b) {
    r.real("left", b.left);
    r.real("top", b.top);
    r.real("width", b.width);
    r.real("height", b.height);
    r.boolean("visible", b.visible);
    r.integer("fill", b.fillColor, 0, kMaxColor);
}

inline void readBoxAt(FieldReader& r, const char* key, Box& b) {
    const Json* v = r.value(key);
    if (auto box = v ? r.object(key, *v) : std::nullopt) readBox(*box, b);
}

}  // namespace capzel::jsonfields
