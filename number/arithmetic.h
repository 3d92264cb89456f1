// IEEE 754 arithmetic on the stored values of any layout: the exact result of the operation on the
// operands, rounded once into the layout (through ConvertRationalToLayout, by the mode, saturating
// on request), with the flags IEEE 754 raises and the special cases it defines. The exact result is
// kept too, so that it and the rounding error can be written digit for digit.
#pragma once

#include <cstdint>
#include <string>

#include "number/big_number.h"
#include "number/exact_decimal.h"
#include "number/format_rules.h"
#include "number/ieee754.h"

namespace cv {

enum class Operation { kAdd, kSubtract, kMultiply, kDivide, kSqrt, kFma };

// How many operands the operation takes (sqrt 1, fma 3, the others 2).
int OperandCount(Operation operation);

// The exact value of an operation on finite or infinite operands.
struct ExactValue {
    enum class Kind { kFinite, kInfinity, kNan };
    Kind kind = Kind::kFinite;
    bool negative = false;  // for a zero, the sign IEEE 754 gives the rounded zero
    // Finite: |value| = num / den * 2^power (num zero for a zero), den odd and without a factor in
    // common with num; den is 1 but for quotients. A root (an irrational one: num is no perfect
    // square): |value| = sqrt(num * 2^power), power even.
    BigNumber num;
    uint64_t den = 1;
    int power = 0;
    bool root = false;
    // Sums, differences and fma: the value as the sum of these signed parts x * 2^q (x of 64 bits),
    // whose own expansions give its digits a pass each, however far apart their powers lie;
    // termCount is 0 where they are not kept.
    using Term = BinaryTerm;
    static constexpr int kMostTerms = 3;
    Term terms[kMostTerms];
    int termCount = 0;

    // Whether the plain decimal of the value ends: no root, and den a power of five.
    bool Terminates() const;
};

struct ArithmeticResult {
    LayoutConversion conversion;  // bits; invalid, overflow, underflow, inexact; saturated
    bool divideByZero = false;
    // The layout has no NaN and the operation no numeric result (an invalid one): no bits.
    bool noResult = false;
    ExactValue exact;
};

// The operation on the stored operands (operands[0..OperandCount-1], bits of the layout), rounded
// once by the mode. A NaN operand: the first NaN among them, made quiet, keeps its sign and payload
// (invalid when any is signalling, and for fma(0, inf, NaN)); an invalid operation gives the
// default quiet NaN. An exact zero sum of opposite signs is +0, -0 rounding down; x / 0 and the
// other infinite results are infinities, in a layout without them what an overflow gives.
ArithmeticResult Calculate(const BinaryFormat& format, Operation operation, const uint64_t* operands,
                           Rounding rounding = Rounding());

// The significant decimal digits written of a value that does not end.
constexpr int kCutDigits = 40;

// Appends the exact value in plain decimal: every digit when it ends ("0" for a zero of either
// sign), else its first kCutDigits significant digits, cut toward zero, zeros for the digits past
// them before the point, then "..."; "inf", "-inf", "nan".
void AppendExactResult(const ExactValue& exact, std::string* text);

// Appends the stored value (bits of the layout, finite) minus the exact value (finite), written as
// AppendExactResult writes a value: every digit when it ends; else the sign, then the magnitude's
// first kCutDigits significant digits cut, then "...".
// exactText and storedText, when given, are what AppendExactResult wrote of the exact value and
// AppendExactValue of the stored one (so that neither is written twice).
void AppendResultError(const BinaryFormat& format, uint64_t bits, const ExactValue& exact, std::string* text,
                       const std::string* exactText = nullptr, const std::string* storedText = nullptr);

// AppendExactResult into exactText, then, when both the exact value and the stored one (bits of the
// layout, its exact value storedText) are finite, AppendResultError into errorText (nullptr: no
// error wanted): the same texts, with the terms of a sum or product expanded once for both. sum is
// the caller's scratch.
void AppendExactResultAndError(const BinaryFormat& format, uint64_t bits, const ExactValue& exact,
                               const std::string& storedText, std::string* exactText, std::string* errorText,
                               BinarySum* sum);

}  // namespace cv
