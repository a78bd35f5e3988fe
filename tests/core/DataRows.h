// Tables of cases kept in tests/data, one JSON object a line.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace capzel::test {

inline std::vector<nlohmann::json> dataRows(const std::string& file) {
    std::ifstream in(std::string(CAPZEL_TEST_DATA) + "/" + file);
    std::vector<nlohmann::json> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) rows.push_back(nlohmann::json::parse(line));
    EXPECT_FALSE(rows.empty()) << file << " is missing or empty";
    return rows;
}

// A JSON text as bytes: characters U+0000 to U+00FF stand for single bytes,
// so that a table can hold text that is not UTF-8.
inline std::string bytesOf(const nlohmann::json& text) {
    std::string out;
    const std::string utf8 = text.get<std::string>();
    for (std::size_t k = 0; k < utf8.size(); ++k) {
        const auto c = static_cast<unsigned char>(utf8[k]);
        out += c < 0x80 ? char(c) : char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++k]) & 0x3F));
    }
    return out;
}

}  // namespace capzel::test
