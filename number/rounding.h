// Rounding an exact value into an IEEE binary layout: the one place where a magnitude is cut to a
// layout's precision and range by a rounding mode, with the flags that raises. Decimal conversion,
// conversion between layouts and arithmetic all hand their exact result here.
#pragma once

#include <cstdint>

#include "number/big_number.h"
#include "number/ieee754.h"

namespace cv {

// The IEEE rounding modes: to nearest with ties to even or away from zero, and the three directed.
enum class RoundingMode { kEven, kAway, kZero, kUp, kDown };

// Whether the mode moves a magnitude lying between two neighbours to the larger one: half when
// the part cut off is at least half the step, below when something non-zero lies beneath that
// half (or, without half, anywhere in the part), odd when the smaller neighbour is odd.
bool RoundsUp(RoundingMode mode, bool negative, bool half, bool below, bool odd);

// Whether an overflow in the mode gives an infinity (else the largest finite value of the sign).
bool OverflowGivesInfinity(RoundingMode mode, bool negative);

struct FloatConversion {
    uint64_t bits = 0;
    bool inexact = false;
    bool overflow = false;
    bool underflow = false;  // tiny after rounding, and inexact
};

// What an overflow gives in the mode (an IEEE layout): the infinity or the largest finite value.
FloatConversion OverflowInMode(const BinaryFormat& format, bool negative, RoundingMode mode);

// The magnitude num / den * 2^power (num and den not zero; both are used up) with the sign,
// rounded once by the mode as IEEE 754 defines it: to the precision with an unbounded exponent,
// then to the subnormals; tininess is judged after rounding.
FloatConversion RoundRational(const BinaryFormat& format, bool negative, BigNumber* num, BigNumber* den,
                              int power, RoundingMode mode);

}  // namespace cv
