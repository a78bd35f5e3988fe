// The readings of an input-box answer, row by row from tests/data/answers.jsonl.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "DataRows.h"
#include "rules/Answers.h"

using namespace capzel;

namespace {

double number(const nlohmann::json& v) { return v.is_string() ? std::stod(v.get<std::string>()) : v.get<double>(); }

}  // namespace

TEST(AnswerReadings, EveryRecordedAnswer) {
    for (const nlohmann::json& r : test::dataRows("answers.jsonl")) {
        const std::string a = r.at("answer");
        SCOPED_TRACE('"' + a + '"');
        if (r.contains("full")) {
            const std::optional<double> got = answerFullNumber(a);
            ASSERT_EQ(got.has_value(), !r["full"].is_null());
            if (got) { EXPECT_DOUBLE_EQ(*got, number(r["full"])); }
            continue;
        }
        const double n = answerNumber(a);
        EXPECT_FALSE(std::isnan(n));
        EXPECT_DOUBLE_EQ(n, number(r.at("number")));
        EXPECT_EQ(answerWholeNumber(a), number(r.at("whole")));
    }
}

TEST(AnswerReadings, AllInAnyCaseButNothingElse) {
    for (const char* yes : {"all", "ALL", "All", "aLl"}) EXPECT_TRUE(answerIsAll(yes)) << yes;
    for (const char* no : {"", "al", "alll", " all", "all ", "a11", "everyone", "0"})
        EXPECT_FALSE(answerIsAll(no)) << '"' << no << '"';
}
