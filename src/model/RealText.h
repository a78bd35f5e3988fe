// Reals as decimal text, the same on every C++ library and in every locale.
//
// shortestText gives the shortest decimal that reads back as the same
// float (or double), in the form std::to_chars gives when asked for no
// format: plain ("0.1", "123456792") or scientific ("1e-05", "3.4028235e+38"),
// whichever is shorter, plain on a tie; "-0", "inf", "-inf", "nan", "-nan".
// readDecimal reads what std::from_chars reads in its general format: an
// optional '-', digits with at most one '.', an optional exponent; no '+',
// no spaces, no "inf" or "nan". Both are built on the C library's
// correctly rounded snprintf and strtod, given only digits and an exponent
// (no decimal point), so that no locale can change what they mean.
#pragma once

#include <string>
#include <string_view>

namespace capzel {

std::string shortestText(float value);
std::string shortestText(double value);

enum class DecimalRead {
    Read,        // the whole text is a number, in range
    OutOfRange,  // the whole text is a number too large, or nonzero and too small
    NotANumber,  // the text is not a number in that form
};

// Reads the whole text; `out` is set only when the result is Read.
DecimalRead readDecimal(std::string_view text, float& out);
DecimalRead readDecimal(std::string_view text, double& out);

}  // namespace capzel
