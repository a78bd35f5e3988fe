#include "rules/Answers.h"

#include <cmath>
#include <limits>
#include <string>

#include "model/Numbers.h"
#include "model/RealText.h"

namespace capzel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Scan {
    bool found = false;   // a number starts at the scanned place
    std::size_t end = 0;  // one past its last character
    double value = 0;
};

// Value of the decimal text s[begin, end), already known to be well formed.
// Read by readDecimal, which does not depend on the process's locale (the
// windows set one, and a decimal comma must not change what "97.5" means).
double valueOf(std::string_view s, bool negative, std::size_t digitsBegin, std::size_t end, int intDigits,
               std::string_view digits, long exponent) {
    double v = 0;
    const DecimalRead read = readDecimal(s.substr(digitsBegin, end - digitsBegin), v);
    if (read == DecimalRead::OutOfRange) {
        // Overflow or underflow: tell them apart by the order of magnitude
        // of the first significant digit.
        std::size_t firstSignificant = digits.find_first_not_of('0');
        if (firstSignificant == std::string_view::npos) {
            v = 0;
        } else {
            const long order = long(intDigits) - 1 - long(firstSignificant) + exponent;
            v = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        }
    } else if (read != DecimalRead::Read) {
        v = 0;
    }
    return negative ? -v : v;
}

// Reads a decimal number that starts exactly at `pos`: optional sign,
// digits, optional point and digits (at least one digit in all), optional
// exponent (e or E, optional sign, at least one digit).
Scan scanNumber(std::string_view s, std::size_t pos) {
    Scan out;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    const std::size_t digitsBegin = pos;
    std::string digits;  // every mantissa digit, point left out
    while (pos < s.size() && isDigit(s[pos])) digits += s[pos++];
    const int intDigits = int(digits.size());
    if (pos < s.size() && s[pos] == '.') {
        std::size_t p = pos + 1;
        std::string frac;
        while (p < s.size() && isDigit(s[p])) frac += s[p++];
        if (intDigits > 0 || !frac.empty()) {
            digits += frac;
            pos = p;
        }
    }
    if (digits.empty()) return out;

    long exponent = 0;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        std::size_t p = pos + 1;
        bool expNegative = false;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
            expNegative = s[p] == '-';
            ++p;
        }
        if (p < s.size() && isDigit(s[p])) {
            while (p < s.size() && isDigit(s[p])) {
                if (exponent < 1000000) exponent = exponent * 10 + (s[p] - '0');
                ++p;
            }
            if (expNegative) exponent = -exponent;
            pos = p;
        }
    }
    out.found = true;
    out.end = pos;
    out.value = valueOf(s, negative, digitsBegin, pos, intDigits, digits, exponent);
    return out;
}

std::size_t skipBlanks(std::string_view s, std::size_t pos) {
    while (pos < s.size() && isBlank(s[pos])) ++pos;
    return pos;
}

}  // namespace

double answerNumber(std::string_view answer) {
    const Scan scan = scanNumber(answer, skipBlanks(answer, 0));
    return scan.found ? scan.value : 0.0;
}

double answerWholeNumber(std::string_view answer) { return roundHalfEven(answerNumber(answer)); }

bool answerIsAll(std::string_view answer) {
    if (answer.size() != 3) return false;
    const char* word = "all";
    for (std::size_t i = 0; i < 3; ++i) {
        char c = answer[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

std::optional<double> answerFullNumber(std::string_view answer) {
    const Scan scan = scanNumber(answer, skipBlanks(answer, 0));
    if (!scan.found || skipBlanks(answer, scan.end) != answer.size()) return std::nullopt;
    return scan.value;
}

}  // namespace capzel
