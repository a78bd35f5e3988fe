#include "records/TextEncoding.h"

#include <cstdint>

namespace capzel {

namespace {

// Unicode code points of the Windows-1252 bytes 0x80..0x9F.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Length of the UTF-8 sequence starting at s[i], or 0 when it is malformed.
std::size_t sequenceLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return std::uint8_t(s[k]); };
    const std::uint8_t c = b(i);
    if (c < 0x80) return 1;
    std::size_t n;
    std::uint8_t lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;        // no overlong forms
        if (c == 0xED) hi = 0x9F;        // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;        // no overlong forms
        if (c == 0xF4) hi = 0x8F;        // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = sequenceLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const std::uint8_t c = std::uint8_t(ch);
        if (c >= 0x80 && c <= 0x9F)
            appendUtf8(out, kHighControls[c - 0x80]);
        else
            appendUtf8(out, c);  // ASCII and Latin-1 coincide with the code points
    }
    return out;
}

std::string decodeFileText(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    if (isValidUtf8(bytes)) return std::string(bytes);
    return windows1252ToUtf8(bytes);
}

namespace {
bool isContinuation(char c) { return (std::uint8_t(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t utf8Length(std::string_view text) {
    std::size_t chars = 0;
    for (char c : text) chars += isContinuation(c) ? 0 : 1;
    return chars;
}

std::string_view utf8Prefix(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(text[i])) continue;
        if (chars == maxChars) return text.substr(0, i);
        ++chars;
    }
    return text;
}

std::string shortenUtf8(std::string_view text, std::size_t maxChars) {
    const std::string_view kept = utf8Prefix(text, maxChars);
    return kept.size() == text.size() ? std::string(text) : std::string(kept) + "...";
}

}  // namespace capzel
