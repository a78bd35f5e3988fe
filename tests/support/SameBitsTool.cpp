// same_bits: prints the hashes of SameBits.h, one "name hash" a line, for
// comparing builds of the core by other compilers and libraries.
#include <cinttypes>
#include <cstdio>

#include "support/SameBits.h"

int main() {
    std::printf("strength-curve %016" PRIx64 "\n", capzel::test::strengthCurveHash());
    std::printf("real-text %016" PRIx64 "\n", capzel::test::realTextHash(100000));
    return 0;
}
