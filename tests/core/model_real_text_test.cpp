// Reals as text, built without to_chars and from_chars for libraries that lack them: the same
// bytes as those, on every exponent's edges, random bits and decimal texts right and wrong.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/SameBits.h"

using namespace capzel;

namespace {

// from_chars of the whole text in readDecimal's terms, where infinities and NaNs are no numbers.
template <typename Real>
DecimalRead libraryRead(const std::string& s, Real& v) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ptr != s.data() + s.size()) return DecimalRead::NotANumber;
    if (r.ec == std::errc::result_out_of_range) return DecimalRead::OutOfRange;
    if (r.ec != std::errc() || !std::isfinite(v)) return DecimalRead::NotANumber;
    return DecimalRead::Read;
}

template <typename Real>
using BitsOf = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;

template <typename Real>
void expectSameRead(const std::string& s) {
    Real ours = 0, theirs = 0;
    const DecimalRead read = readDecimal(s, ours);
    ASSERT_EQ(int(read), int(libraryRead(s, theirs))) << '"' << s << '"' << " as " << sizeof(Real) * 8 << " bits";
    if (read == DecimalRead::Read) { ASSERT_EQ(bitCopy<BitsOf<Real>>(ours), bitCopy<BitsOf<Real>>(theirs)) << s; }
}

template <typename Real>
void expectSameText(Real v) {
    char text[64];
    const std::string theirs(text, std::to_chars(text, text + sizeof text, v).ptr);
    ASSERT_EQ(shortestText(v), theirs);
    if (std::isfinite(v)) expectSameRead<Real>(theirs);
}

// The first, last and a few middle mantissas of every exponent, both signs.
template <typename Real>
std::vector<Real> exponentEdges() {
    using Bits = BitsOf<Real>;
    constexpr int kMantissaBits = sizeof(Real) == 4 ? 23 : 52;
    constexpr Bits kExponents = sizeof(Real) == 4 ? 256 : 2048;
    constexpr Bits kTop = (Bits(1) << kMantissaBits) - 1;
    std::vector<Real> out;
    for (Bits e = 0; e < kExponents; ++e)
        for (Bits m : {Bits(0), Bits(1), Bits(2), Bits(kTop / 2), Bits(kTop / 2 + 1), Bits(kTop - 1), kTop})
            for (Bits sign : {Bits(0), Bits(1)})
                out.push_back(bitCopy<Real>(Bits(sign << (sizeof(Real) * 8 - 1)) | (e << kMantissaBits) | m));
    return out;
}

// Texts from the grammar's corners and both ranges' ends.
const char* const kReadCases[] = {
    "0", "-0", "0.", ".0", "-.5", "5.", ".", "-", "", "e5", "1e", "1e+", "1e-", "1E5", "1.5e+-3", "1.2.3", "..1", "+1", " 1", "1 ",
    "0x10", "inf", "-inf", "infinity", "nan", "nan(1)", "00001.5000e0003", "1e0000000000000000000001", "1e-45", "7e-46",
    "7.006492321624085e-46", "7.006492321624086e-46", "1.4e-45", "1.17549435e-38", "3.4028235e38", "3.40282357e38",
    "3.4028235677973366e38", "3.4028235677973367e38", "1.7976931348623157e308", "1.7976931348623158e308",
    "1.7976931348623159e308", "1e309", "2.4703282292062327e-324", "2.4703282292062328e-324", "5e-324", "2.2250738585072011e-308",
    "0e99999999999999999999", "1e-99999999999999999999", "1e99999999999999999999", "-1e99999",
    "1.00000005960464477539062500000000000000000000000000000000000000000001",  // a float's halfway, then more
    "1.000000059604644775390625",                                             // exactly halfway: to even
    "9007199254740993", "9007199254740993.000000000000000000000000001", "123456789012345678901234567890e-30",
};

}  // namespace

TEST(RealText, ShortestTextsAreToCharsOnExponentsEdgesAndRandomBits) {
    for (const float v : exponentEdges<float>()) expectSameText(v);
    for (const double v : exponentEdges<double>()) expectSameText(v);
    for (int k = -20000; k <= 20000; ++k) {
        expectSameText(float(k) / 64), expectSameText(float(k) * 4099);
        expectSameText(double(k) / 1000), expectSameText(double(k) * 1e15);
    }
    std::mt19937_64 random(20240611);
    for (int k = 0; k < 100000; ++k) {
        const std::uint64_t bits = random();
        expectSameText(bitCopy<float>(std::uint32_t(bits))), expectSameText(bitCopy<double>(bits));
    }
}

TEST(RealText, ReadsWhatFromCharsReads) {
    std::vector<std::string> texts(std::begin(kReadCases), std::end(kReadCases));
    texts.insert(texts.end(), {"1." + std::string(800, '0') + "1", "0." + std::string(400, '0') + "1e350"});
    // Short texts of the characters a number is made of, and some others.
    std::mt19937_64 random(7);
    const std::string chars = "0123456789.-eE+x ";
    for (int k = 0; k < 200000; ++k) {
        std::string& s = texts.emplace_back();
        for (std::size_t n = 1 + random() % 14; n > 0; --n) s += chars[random() % (k % 3 == 0 ? chars.size() : 12)];
    }
    for (const std::string& s : texts) expectSameRead<float>(s), expectSameRead<double>(s);
}

// strengthCurve over the whole bar, as bits: a library's pow or an optimiser moving one strength shows here.
TEST(SameBits, StrengthCurveOverTheWholeBar) {
    EXPECT_EQ(test::strengthCurveHash(), 0x3988dee52efd4743ull);
}
