// Text of the game's files: written as UTF-8; files from older versions of
// the game, written in the Windows-1252 character set, are still read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace capzel {

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Converts Windows-1252 bytes to UTF-8. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
// the same number, as Windows itself converts them.
std::string windows1252ToUtf8(std::string_view bytes);

// The file's text as UTF-8: a leading byte-order mark is dropped; bytes that
// are not valid UTF-8 are taken as Windows-1252.
std::string decodeFileText(std::string_view bytes);

// The number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

// The first `maxChars` characters of a UTF-8 text (all of it when shorter).
std::string_view utf8Prefix(std::string_view text, std::size_t maxChars);

// At most `maxChars` characters of a UTF-8 text, cut on a character boundary,
// with "..." added when something was cut. For quoting file contents in messages.
std::string shortenUtf8(std::string_view text, std::size_t maxChars);

}  // namespace capzel
