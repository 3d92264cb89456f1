// Decimal numbers into two's complement and unsigned integers of 8 to 64 bits: whole numbers as they
// are, others refused or rounded by a mode, and values out of range refused or saturated to the
// nearest end of the range (as IEEE 754's conversion to an integer raises invalid for them).
#pragma once

#include <cstdint>
#include <string>

#include "number/float_parse.h"
#include "number/format_rules.h"

namespace cv {

struct IntegerLayout {
    bool isSigned = false;
    int width = 0;  // 8, 16, 32 or 64 bits
};

enum class IntegerRefusal { kNone, kNotWhole, kOutOfRange, kNan };

struct IntegerConversion {
    uint64_t bits = 0;       // two's complement, width bits
    LayoutConversion flags;  // inexact, invalid (out of range, saturated), saturated; its bits unused
    IntegerRefusal refusal = IntegerRefusal::kNone;
};

// The number (an infinity too) as an integer: a value that is not whole is refused unless round,
// then rounded by the mode (inexact); a value out of range after that is refused unless saturating,
// then the nearest end of the range (invalid, saturated); a NaN is refused.
IntegerConversion ConvertDecimalToInteger(IntegerLayout layout, const DecimalNumber& number, bool round,
                                          Rounding rounding);

// Appends the stored integer (bits) minus the given finite number, exact, as
// AppendLayoutConversionError writes a layout's error.
void AppendIntegerConversionError(IntegerLayout layout, uint64_t bits, const DecimalNumber& number,
                                  std::string* text);

}  // namespace cv
