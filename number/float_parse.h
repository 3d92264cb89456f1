// Decimal text to any IEEE binary layout, correctly rounded (by any of the IEEE rounding modes; to
// nearest, ties to even by default) for any length of input, with the IEEE flags the conversion
// raises and its exact error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "number/ieee754.h"
#include "number/rounding.h"

namespace cv {

// Decimal exponents beyond this either way decide nothing more in any layout (and stay far from
// overflow): every reader of decimal text clamps there.
constexpr int64_t kDecimalExponentClamp = 1000000000000;

struct DecimalNumber {
    enum class Kind { kFinite, kInfinity, kNan };
    Kind kind = Kind::kFinite;
    bool negative = false;
    std::string digits;    // no leading or trailing zero; empty for zero
    int64_t exponent = 0;  // value = digits * 10^exponent, clamped far past every layout's range
    // The exact exponent in decimal ("-" and digits) when the clamp changed it, else empty: the text
    // may write an exponent of any length, and the conversion error names it exactly.
    std::string exactExponent;
    // A number far out of every layout's range that is not a decimal one (a hexadecimal float): its
    // exact magnitude as written ("0x3p+40000"), digits being "1" and exponent the clamp of its
    // side, which round as it does. Empty for every other number.
    std::string givenText;
};

// Reads [+-]digits[.digits][(e|E)[+-]digits] (digits on at least one side of the point), or inf,
// infinity, nan in any case with an optional sign. False when the whole text is none of these.
bool ParseDecimal(const char* text, std::size_t length, DecimalNumber* number);

// The value rounded once by the mode, as IEEE 754 defines it (to the precision with an unbounded
// exponent, then to the subnormals); an overflow gives what the mode gives (infinity or the largest
// finite value); a NaN becomes the default quiet NaN.
FloatConversion ConvertDecimal(const BinaryFormat& format, const DecimalNumber& number,
                               RoundingMode mode = RoundingMode::kEven);

// Appends the stored value minus the given finite one, exact, in plain decimal (or "inf"/"-inf" when
// the stored value is infinite). An error far below the smallest subnormal, where the plain text would
// be unreasonably long, is written d.ddde-N, still exact.
void AppendConversionError(const BinaryFormat& format, const DecimalNumber& number, uint64_t bits,
                           std::string* text);

// The same for the magnitude significand * 2^power taken with the given number's sign.
void AppendBinaryMinusDecimal(uint64_t significand, int power, const DecimalNumber& number,
                              std::string* text);

// Whether the given finite number lies so far out (its leading digit past 10^20000 or below
// 10^-20000) that the plain difference to a non-zero stored value would be unreasonably long.
bool LiesFarOut(const DecimalNumber& number);
// For such a number: appends "stored - given" (or "stored + given" for a negative one) with the
// given number as digits e exponent, still exact.
void AppendFarDifference(const std::string& stored, const DecimalNumber& number, std::string* text);

}  // namespace cv
