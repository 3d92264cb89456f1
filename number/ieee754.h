// The fields of binary floating-point formats: sign, biased exponent, stored mantissa.
// Every layout Corvane knows (the window's single and double reals, any sign/exponent/mantissa
// split the command line explains, and the machine-learning layouts without infinities) is
// described by one BinaryFormat; the masks, the quiet bit, the bias and the exponent limits are
// derived from its widths and its kind here, and every other file takes them from here rather than
// writing them out.
#pragma once

#include <cstdint>

namespace cv {

// How a layout spends its patterns beyond the IEEE rules.
enum class LayoutKind {
    kIeee,          // infinities; NaNs with a quiet bit and a payload
    kFiniteNan,     // "fn": no infinities; exponent and mantissa all ones is NaN (both signs)
    kUnsignedZero,  // "fnuz": no infinities, no negative zero; the sign bit alone is the one NaN
    kAllFinite,     // "finite": every pattern is a number
    kPowerOfTwo,    // e8m0fnu: no sign, no mantissa; 2^(raw - bias), all ones the one NaN
};

struct BinaryFormat {
    int exponentBits;  // E
    int mantissaBits;  // M: stored bits, the hidden bit not counted
    LayoutKind kind = LayoutKind::kIeee;

    constexpr bool HasSign() const { return kind != LayoutKind::kPowerOfTwo; }
    constexpr bool HasInfinity() const { return kind == LayoutKind::kIeee; }
    constexpr bool HasNan() const { return kind != LayoutKind::kAllFinite; }
    // Whether a NaN of either sign exists (else at most one NaN).
    constexpr bool HasSignedNan() const {
        return kind == LayoutKind::kIeee || kind == LayoutKind::kFiniteNan;
    }
    constexpr bool HasNegativeZero() const {
        return kind != LayoutKind::kUnsignedZero && kind != LayoutKind::kPowerOfTwo;
    }
    // A biased exponent of 0 holds zero and the subnormals (e8m0fnu has neither).
    constexpr bool HasSubnormals() const { return kind != LayoutKind::kPowerOfTwo; }
    // NaNs carry a quiet bit and a payload only in IEEE layouts.
    constexpr bool NanHasPayload() const { return kind == LayoutKind::kIeee; }

    constexpr int TotalBits() const { return (HasSign() ? 1 : 0) + exponentBits + mantissaBits; }
    constexpr int SignBit() const { return exponentBits + mantissaBits; }
    constexpr int Bias() const {
        return kind == LayoutKind::kUnsignedZero ? 1 << (exponentBits - 1) : (1 << (exponentBits - 1)) - 1;
    }
    // The exponent field all ones: infinity and NaN in IEEE layouts and e8m0fnu's NaN, finite
    // values in the others.
    constexpr int MaxBiasedExponent() const { return (1 << exponentBits) - 1; }
    constexpr int MaxFiniteBiasedExponent() const {
        return HasInfinity() || !HasSubnormals() ? MaxBiasedExponent() - 1 : MaxBiasedExponent();
    }
    constexpr int MinNormalExponent() const { return (HasSubnormals() ? 1 : 0) - Bias(); }
    constexpr int MaxExponent() const { return MaxFiniteBiasedExponent() - Bias(); }
    // The power of two of the lowest mantissa bit of a subnormal (and of the smallest one).
    constexpr int MinSubnormalExponent() const { return MinNormalExponent() - mantissaBits; }
    constexpr uint64_t SignMask() const { return HasSign() ? uint64_t{1} << SignBit() : 0u; }
    constexpr uint64_t MantissaMask() const { return (uint64_t{1} << mantissaBits) - 1; }
    constexpr uint64_t HiddenBit() const { return uint64_t{1} << mantissaBits; }
    constexpr uint64_t ExponentMask() const {
        return static_cast<uint64_t>(MaxBiasedExponent()) << mantissaBits;
    }
    // The top stored mantissa bit: set in a quiet NaN (IEEE layouts only; else 0).
    constexpr uint64_t QuietBit() const { return NanHasPayload() ? uint64_t{1} << (mantissaBits - 1) : 0u; }
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
static_assert(kSingleFormat.MaxExponent() == 127);
static_assert(BinaryFormat{4, 3, LayoutKind::kUnsignedZero}.Bias() == 8);
static_assert(BinaryFormat{8, 0, LayoutKind::kPowerOfTwo}.TotalBits() == 8);
static_assert(BinaryFormat{8, 0, LayoutKind::kPowerOfTwo}.MinNormalExponent() == -127);
static_assert(BinaryFormat{8, 0, LayoutKind::kPowerOfTwo}.MaxExponent() == 127);
static_assert(kHalfFormat.TotalBits() == 16 && kBrainFormat.TotalBits() == 16);
static_assert(kSingleFormat.QuietBit() == 0x400000u && kDoubleFormat.QuietBit() == 0x8000000000000ull);

}  // namespace cv
