#include "model/RealText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace capzel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

float readBack(const std::string& text, float) { return std::strtof(text.c_str(), nullptr); }
double readBack(const std::string& text, double) { return std::strtod(text.c_str(), nullptr); }

// Significant digits that fit every float (or double) exactly.
template <typename Real>
constexpr int kMaxDigits = sizeof(Real) == 4 ? 9 : 17;

// A positive decimal: its significant digits d1 d2 ... dP and the power of
// ten of d1.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The digits and exponent alone, for strtod: no decimal point that a
// locale could change.
std::string pointless(const Decimal& d) {
    return std::string(d.digits).append("e").append(std::to_string(d.exponent - int(d.digits.size()) + 1));
}

// The P-digit decimal nearest to v (> 0), correctly rounded by snprintf.
// The text is taken apart by its digits and its 'e', whatever character
// the locale puts between the first digit and the others.
Decimal nearestDecimal(double v, int significantDigits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", significantDigits - 1, v);
    const char* e = std::strrchr(text, 'e');
    Decimal d;
    for (const char* c = text; c != e; ++c)
        if (isDigit(*c)) d.digits.push_back(*c);
    d.exponent = std::atoi(e + 1);
    return d;
}

// The neighbour of a decimal one unit up or down in its last digit, when
// it has as many digits (false at 99..9 up and at 10..0 down).
bool neighbour(Decimal& d, int step) {
    std::string& s = d.digits;
    for (std::size_t k = s.size(); k-- > 0;) {
        if (step > 0 && s[k] != '9') return ++s[k], true;
        if (step < 0 && s[k] != '0') {
            --s[k];
            return s[0] != '0';
        }
        s[k] = step > 0 ? '0' : '9';
    }
    return false;
}

// The fewest digits that read back as v (> 0, finite), nearest to v among
// those. The nearest P-digit decimal can lie just outside the values that
// read back as v while the one beyond v lies inside: at a power of two,
// whose gap below is half the gap above. Its neighbours settle that.
template <typename Real>
Decimal shortestDecimal(Real v) {
    const auto readsBack = [v](const Decimal& d) { return readBack(pointless(d), Real()) == v; };
    for (int p = 1; p < kMaxDigits<Real>; ++p) {
        const Decimal nearest = nearestDecimal(double(v), p);
        if (readsBack(nearest)) return nearest;
        for (int step : {1, -1}) {
            Decimal other = nearest;
            if (neighbour(other, step) && readsBack(other)) return other;
        }
    }
    return nearestDecimal(double(v), kMaxDigits<Real>);
}

template <typename Real>
std::string shortest(Real value) {
    const bool negative = std::signbit(value);
    std::string out = negative ? "-" : "";
    if (std::isnan(value)) return out.append("nan");
    if (std::isinf(value)) return out.append("inf");
    if (value == 0) return out.append("0");
    const Real v = std::fabs(value);
    const Decimal d = shortestDecimal(v);
    const int p = int(d.digits.size());
    const int x = d.exponent;

    std::string scientific = d.digits.substr(0, 1);
    if (p > 1) scientific.append(".").append(d.digits, 1);
    scientific += x < 0 ? "e-" : "e+";
    if (std::abs(x) < 10) scientific += '0';
    scientific += std::to_string(std::abs(x));

    std::string plain;
    if (x >= p - 1) {
        // A whole number: its exact digits, as near as any text of that
        // length can be. Beyond 40 digits it is longer than any
        // scientific form.
        if (x > 40) return out.append(scientific);
        char text[64];
        std::snprintf(text, sizeof text, "%.0f", double(v));
        plain = text;
    } else if (x >= 0) {
        plain.assign(d.digits, 0, std::size_t(x + 1)).append(".").append(d.digits, std::size_t(x + 1));
    } else {
        plain.assign("0.").append(std::size_t(-x - 1), '0').append(d.digits);
    }
    return out.append(plain.size() <= scientific.size() ? plain : scientific);
}

template <typename Real>
DecimalRead readAs(std::string_view text, Real& out) {
    constexpr long long kExponentCap = 1'000'000'000'000LL;
    std::size_t k = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++k;
    std::string digits;           // from the first nonzero digit
    long long scale = 0;          // the value is digits * 10^scale
    bool anyDigit = false, point = false;
    for (; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!isDigit(c)) break;
        anyDigit = true;
        if (point) --scale;
        if (!digits.empty() || c != '0') digits.push_back(c);
    }
    if (!anyDigit) return DecimalRead::NotANumber;
    // An 'e' without digits after it is not part of the number.
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        std::size_t j = k + 1;
        const bool below = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            long long exponent = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentCap);
            scale += below ? -exponent : exponent;
            k = j;
        }
    }
    if (k != text.size()) return DecimalRead::NotANumber;
    if (digits.empty()) {
        out = negative ? -Real(0) : Real(0);
        return DecimalRead::Read;
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back(), ++scale;
    // Far beyond either end of the range: no need to ask the library.
    const long long order = scale + (long long)(digits.size()) - 1;
    if (order > 400 || order < -400) return DecimalRead::OutOfRange;
    const std::string number = std::string(negative ? "-" : "").append(digits).append("e").append(std::to_string(scale));
    const Real v = readBack(number, Real());
    if (std::isinf(v) || v == 0) return DecimalRead::OutOfRange;
    out = v;
    return DecimalRead::Read;
}

}  // namespace

std::string shortestText(float value) { return shortest(value); }
std::string shortestText(double value) { return shortest(value); }

DecimalRead readDecimal(std::string_view text, float& out) { return readAs(text, out); }
DecimalRead readDecimal(std::string_view text, double& out) { return readAs(text, out); }

}  // namespace capzel
