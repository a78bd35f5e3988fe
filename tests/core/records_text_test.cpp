// File text: UTF-8 or Windows-1252, names cut by characters, quoted fields.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "records/DelimitedText.h"
#include "records/TextEncoding.h"

using namespace capzel;

TEST(TextEncoding, OnlyWellFormedUtf8IsKeptAsItIs) {
    const std::pair<bool, std::vector<std::string>> sets[] = {
        {true, {"\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE1\x80\x80", "\xED\x9F\xBF", "\xEF\xBF\xBF", "\xF0\x90\x80\x80",
                "\xF1\x80\x80\x80", "\xF4\x8F\xBF\xBF"}},
        {false, {"\x80", "\xC1\xBF", "\xC2\x7F", "\xC2\xC0", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xE1\x80", "\xE1\x80\x7F",
                 "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF1\x80\x80\xC0", "\xF8\x80"}},
    };
    for (const auto& [utf8, sequences] : sets)
        for (const std::string& bytes : sequences) {
            const std::string text = "a" + bytes + "z";
            EXPECT_EQ(isValidUtf8(text), utf8) << testing::PrintToString(text);
            EXPECT_EQ(decodeFileText(text) == text, utf8) << testing::PrintToString(text);
        }
    EXPECT_FALSE(isValidUtf8("a\xC3"));  // cut at the very end
    EXPECT_EQ(windows1252ToUtf8("\x80\x9F\xA0\xFF\x7F"), "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF\x7F");
}

TEST(TextEncoding, NamesAreCutByCharacters) {
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xE2\x82\xAC";  // two letters of two bytes, one of three
    EXPECT_EQ(utf8Length(umlauts + "x"), 4u);
    EXPECT_EQ(utf8Prefix(umlauts, 2), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(shortenUtf8(umlauts + "x", 3), umlauts + "...");
    EXPECT_EQ(shortenUtf8(umlauts, 3), umlauts);
    EXPECT_EQ(shortenUtf8("", 0), "");
}

TEST(DelimitedText, LinesAndFieldsAsEditorsWriteThem) {
    const auto shown = [](std::string_view text) {
        std::string out;
        for (const DelimitedLine& line : splitDelimited(text)) {
            out += "[";
            for (std::size_t k = 0; k < line.fields.size(); ++k)
                out += (k ? "|" : "") + (line.fields[k].quoted ? "'" + line.fields[k].text + "'" : line.fields[k].text);
            out += line.error.empty() ? "]" : "!]";
        }
        return out;
    };
    const char* rows[][2] = {
        {"a, \"b\" ,c", "[a|'b'|c]"},       {"\"x\",", "['x'|]"},
        {"\t1\t,\t2 ", "[1|2]"},            {",", "[|]"},
        {"\"a,b\",\"\"", "['a,b'|'']"},     {"  \t", "[]"},
        {"\"a\" x", "[!]"},                 {"\"a", "[!]"},
        {"a\"b", "[!]"},                    {"a\rb\r\nc\n\nd", "[a][b][c][][d]"},
        {"a\r\n", "[a]"},                   {"", ""},
    };
    for (const auto& r : rows) EXPECT_EQ(shown(r[0]), r[1]) << testing::PrintToString(std::string(r[0]));
}
