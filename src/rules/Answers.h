// How the hidden commands read the text typed into their input boxes.
//
// An answer is read in one of three ways:
//   - its number: a leading decimal number, read the way a player would
//     expect ("3", "  3", "3 players" and "3.0" all give 3; "", "all" and
//     "x3" give 0);
//   - its whole number: that number rounded to the nearest whole number,
//     halves to the even one (for player and target numbers);
//   - "all": the answer is the word all in any case.
// A fourth test, a number written out in full, is used for velocities: the
// whole answer, blanks at either end aside, must be one decimal number.
#pragma once

#include <optional>
#include <string_view>

namespace capzel {

// Skips leading blanks, then reads an optional sign, digits, an optional
// decimal point with digits and an optional exponent, stopping at the first
// character that does not fit. An answer that does not start with a number
// gives 0. Too large a number gives an infinity of its sign, too small a
// one 0; the result is never NaN.
double answerNumber(std::string_view answer);

// answerNumber rounded to the nearest whole number, halves to even.
double answerWholeNumber(std::string_view answer);

// True when the answer, in lower case, is "all".
bool answerIsAll(std::string_view answer);

// The answer's value when the whole answer (blanks at either end aside) is
// one decimal number with optional sign, point and exponent; nothing
// otherwise (also for the empty answer). May be an infinity, never NaN.
std::optional<double> answerFullNumber(std::string_view answer);

}  // namespace capzel
