// The fields of IEEE 754 binary floating-point formats: sign, biased exponent, stored mantissa.
// Every layout Corvane knows (the window's single and double reals, and any sign/exponent/mantissa
// split the command line explains) is described by one BinaryFormat; the masks, the quiet bit, the
// bias and the exponent limits are derived from its two widths here, and every other file takes
// them from here rather than writing them out.
#pragma once

#include <cstdint>

namespace cv {

struct BinaryFormat {
    int exponentBits;  // E
    int mantissaBits;  // M: stored bits, the hidden bit not counted

    constexpr int TotalBits() const { return 1 + exponentBits + mantissaBits; }
    constexpr int SignBit() const { return exponentBits + mantissaBits; }
    constexpr int Bias() const { return (1 << (exponentBits - 1)) - 1; }
    constexpr int MaxBiasedExponent() const { return (1 << exponentBits) - 1; }  // infinity, NaN
    constexpr int MinNormalExponent() const { return 1 - Bias(); }
    constexpr int MaxExponent() const { return Bias(); }
    // The power of two of the lowest mantissa bit of a subnormal (and of the smallest one).
    constexpr int MinSubnormalExponent() const { return MinNormalExponent() - mantissaBits; }
    constexpr uint64_t SignMask() const { return uint64_t{1} << SignBit(); }
    constexpr uint64_t MantissaMask() const { return (uint64_t{1} << mantissaBits) - 1; }
    constexpr uint64_t HiddenBit() const { return uint64_t{1} << mantissaBits; }
    constexpr uint64_t ExponentMask() const {
        return static_cast<uint64_t>(MaxBiasedExponent()) << mantissaBits;
    }
    // The top stored mantissa bit: set in a quiet NaN.
    constexpr uint64_t QuietBit() const { return uint64_t{1} << (mantissaBits - 1); }
    // The bit numbers of the exponent field, lowest and highest.
    constexpr int LowestExponentBit() const { return mantissaBits; }
    constexpr int HighestExponentBit() const { return SignBit() - 1; }
};

constexpr BinaryFormat kHalfFormat{5, 10};
constexpr BinaryFormat kBrainFormat{8, 7};  // bfloat16
constexpr BinaryFormat kSingleFormat{8, 23};
constexpr BinaryFormat kDoubleFormat{11, 52};

static_assert(kSingleFormat.TotalBits() == 32 && kSingleFormat.Bias() == 127);
static_assert(kDoubleFormat.TotalBits() == 64 && kDoubleFormat.Bias() == 1023);
static_assert(kDoubleFormat.ExponentMask() == 0x7FF0000000000000ull);
static_assert(kSingleFormat.MinSubnormalExponent() == -149);
static_assert(kHalfFormat.TotalBits() == 16 && kBrainFormat.TotalBits() == 16);
static_assert(kSingleFormat.QuietBit() == 0x400000u && kDoubleFormat.QuietBit() == 0x8000000000000ull);

}  // namespace cv
