// The readings of an input-box answer used by the hidden commands.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "controls/Answers.h"

using namespace capzel;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumberRow {
    const char* answer;
    double number;
    double whole;
};

// The leading number and its whole number (halves to even).
const NumberRow kNumberRows[] = {
    {"3", 3, 3},
    {"   3", 3, 3},
    {"\t7", 7, 7},
    {"3 players", 3, 3},
    {"3.0", 3, 3},
    {"", 0, 0},
    {"all", 0, 0},
    {"x3", 0, 0},
    {"-3", -3, -3},
    {"+2.5", 2.5, 2},
    {"3.5", 3.5, 4},
    {"0.5", 0.5, 0},
    {"-0.5", -0.5, 0},
    {"26.4999", 26.4999, 26},
    {".5", 0.5, 0},
    {"5.", 5, 5},
    {".", 0, 0},
    {"-", 0, 0},
    {"+.", 0, 0},
    {"- 3", 0, 0},
    {"1e3", 1000, 1000},
    {"2E-1", 0.2, 0},
    {"1e", 1, 1},
    {"1e+", 1, 1},
    {"1,5", 1, 1},
    {"1 2", 1, 1},
    {"1.2.3", 1.2, 1},
    {"0x10", 0, 0},
    {"nan", 0, 0},
    {"inf", 0, 0},
    {"1e400", kInf, kInf},
    {"-1e400", -kInf, -kInf},
    {"1e-400", 0, 0},
    {"0e999999999999", 0, 0},
    {"0.000001e999999999999", kInf, kInf},
    {"100000000000000000000000000000000000000000000000000e-360", 1e-310, 0},
};

}  // namespace

TEST(AnswerReadings, NumberAndWholeNumber) {
    for (const NumberRow& r : kNumberRows) {
        const double n = answerNumber(r.answer);
        const double w = answerWholeNumber(r.answer);
        EXPECT_FALSE(std::isnan(n)) << '"' << r.answer << '"';
        EXPECT_DOUBLE_EQ(n, r.number) << '"' << r.answer << '"';
        EXPECT_EQ(w, r.whole) << '"' << r.answer << '"';
    }
}

TEST(AnswerReadings, AllInAnyCaseButNothingElse) {
    for (const char* yes : {"all", "ALL", "All", "aLl"}) EXPECT_TRUE(answerIsAll(yes)) << yes;
    for (const char* no : {"", "al", "alll", " all", "all ", "a11", "everyone", "0"})
        EXPECT_FALSE(answerIsAll(no)) << '"' << no << '"';
}

TEST(AnswerReadings, NumberWrittenOutInFull) {
    struct Row {
        const char* answer;
        std::optional<double> value;
    };
    const Row rows[] = {
        {"12", 12.0},      {" 12 ", 12.0},  {"\t-3\t", -3.0}, {"-3", -3.0},   {"+4.25", 4.25},
        {"1e2", 100.0},    {"-2.5E-1", -0.25}, {".5", 0.5},   {"5.", 5.0},     {"0", 0.0},
        {"1e400", kInf},   {"", std::nullopt}, {"   ", std::nullopt}, {"abc", std::nullopt},
        {"12x", std::nullopt}, {"1 2", std::nullopt}, {"1e", std::nullopt}, {".", std::nullopt},
        {"-", std::nullopt}, {"all", std::nullopt}, {"1,5", std::nullopt}, {"nan", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const Row& r : rows) {
        const std::optional<double> got = answerFullNumber(r.answer);
        ASSERT_EQ(got.has_value(), r.value.has_value()) << '"' << r.answer << '"';
        if (got) {
            EXPECT_DOUBLE_EQ(*got, *r.value) << '"' << r.answer << '"';
        }
    }
}
