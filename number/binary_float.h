// Any binary floating-point layout (cv::BinaryFormat, up to 64 bits) taken apart and written
// exactly: its class and fields, its neighbours, its exact decimal value and the shortest decimal
// text that reads back to the same bits.
#pragma once

#include <cstdint>
#include <string>

#include "number/exact_decimal.h"
#include "number/ieee754.h"

namespace cv {

// The machine-learning layouts that have names.
constexpr BinaryFormat kE4M3FnFormat{4, 3, LayoutKind::kFiniteNan};       // largest 448
constexpr BinaryFormat kE4M3FnuzFormat{4, 3, LayoutKind::kUnsignedZero};  // largest 240
constexpr BinaryFormat kE5M2Format{5, 2};                                 // IEEE rules, largest 57344
constexpr BinaryFormat kE5M2FnuzFormat{5, 2, LayoutKind::kUnsignedZero};  // largest 57344
constexpr BinaryFormat kE2M3FnFormat{2, 3, LayoutKind::kAllFinite};       // largest 7.5
constexpr BinaryFormat kE3M2FnFormat{3, 2, LayoutKind::kAllFinite};       // largest 28
constexpr BinaryFormat kE2M1FnFormat{2, 1, LayoutKind::kAllFinite};       // largest 6
constexpr BinaryFormat kTensorFloatFormat{8, 10};                         // tf32's meaningful 19 bits
constexpr BinaryFormat kE8M0FnuFormat{8, 0, LayoutKind::kPowerOfTwo};     // 2^-127 .. 2^127

// kNan: a NaN of a layout whose NaN has no quiet bit and no payload.
enum class FloatClass { kZero, kSubnormal, kNormal, kInfinity, kQuietNan, kSignalingNan, kNan };

struct FloatFields {
    bool negative = false;
    int biasedExponent = 0;  // the raw exponent field
    uint64_t mantissa = 0;   // the stored mantissa field
    FloatClass floatClass = FloatClass::kZero;
    // Finite values: |value| = significand * 2^power, the hidden bit included in significand.
    uint64_t significand = 0;
    int power = 0;
};

FloatFields DecodeFloat(const BinaryFormat& format, uint64_t bits);
bool IsFinite(const FloatFields& fields);
bool IsNan(const FloatFields& fields);

// The layout's bits of an infinity (IEEE layouts only), and of the default NaN: the quiet one with
// payload 0 in IEEE layouts, else the layout's NaN of that sign (its only one where it has one).
uint64_t InfinityBits(const BinaryFormat& format, bool negative);
uint64_t QuietNanBits(const BinaryFormat& format, bool negative);
// The largest finite value of that sign (the smallest value of e8m0fnu's only sign, positive).
uint64_t LargestFiniteBits(const BinaryFormat& format, bool negative);

// The next value up and down (IEEE nextUp / nextDown); a NaN stays itself, and so does the largest
// finite value (up) and the most negative one (down) of a layout without infinities.
uint64_t NextUp(const BinaryFormat& format, uint64_t bits);
uint64_t NextDown(const BinaryFormat& format, uint64_t bits);

// Appends the exact value in plain decimal: every digit, "-0" for negative zero, "inf", "-inf",
// "nan" for a NaN.
void AppendExactValue(const BinaryFormat& format, uint64_t bits, std::string* text);
// Appends the distance to the next value away from zero, 2^power (finite values only).
void AppendUlp(const BinaryFormat& format, uint64_t bits, std::string* text);

// The shortest decimal digits that read back to a finite value's bits, the closest to the value
// among equally short ones (ties to the even digit): value = 0.digits * 10^point.
struct ShortestDecimal {
    std::string digits;  // no leading or trailing zero; empty for zero
    int point = 0;
    // Scratch of the search, kept with the result so that a caller who reuses one ShortestDecimal
    // reuses its memory too.
    AlignedHeads ends;
    std::string candidate;
    std::string limit;
};
void FindShortest(const BinaryFormat& format, uint64_t bits, ShortestDecimal* shortest);
// Appends the shortest text: plain when the decimal exponent is in -4..15, else d.ddde[-]N;
// "inf", "-inf"; "nan" or "-nan" for the default quiet NaN and for a NaN without payload, the raw
// bits as 0x... for other NaNs.
// The second form searches in the caller's scratch (for long runs of values).
void AppendShortest(const BinaryFormat& format, uint64_t bits, std::string* text);
void AppendShortest(const BinaryFormat& format, uint64_t bits, ShortestDecimal* scratch, std::string* text);

// Appends bits as hex, two digits per byte of the layout's width, upper case.
void AppendHexBits(uint64_t bits, int totalBits, std::string* text);

}  // namespace cv
