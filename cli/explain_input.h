// What `corvane-cli explain` reads: a FORMAT name and the VALUE texts in it, turned into bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "number/float_parse.h"
#include "number/format_rules.h"
#include "number/ieee754.h"

namespace cv {

constexpr int kExplainByteBits = 8;

enum class ExplainKind { kFloat, kSignedInteger, kUnsignedInteger, kCharacters };

struct ExplainFormat {
    ExplainKind kind = ExplainKind::kFloat;
    std::string name;           // as given
    int width = 0;              // in bits
    BinaryFormat layout{0, 0};  // floats only

    int ByteCount() const { return (width + kExplainByteBits - 1) / kExplainByteBits; }
};

// f16, bf16, f32, f64, fp:E:M[:fn|:fnuz|:finite] (2 <= E <= 15, 1 <= M, 1 + E + M <= 64), the
// machine-learning names (e4m3fn, float8_e4m3fn, ..., tf32, e8m0fnu), i8..i64, u8..u64, c8..c64.
bool ParseExplainFormat(const std::string& name, ExplainFormat* format);

struct ExplainedValue {
    uint64_t bits = 0;
    bool rawBits = false;      // given as 0x... or 0b...
    bool fromDecimal = false;  // a float from a finite decimal number: `number` and `conversion` apply
    DecimalNumber number;
    LayoutConversion conversion;
    std::string error;  // why the value was refused (a sentence); empty when accepted
};

// Reads one VALUE: 0x.../0b... raw bits right-aligned to the width; a decimal number (and inf, nan
// for floats); for characters any other text is the bytes themselves. False (with value->error)
// when the value does not fit.
bool ParseExplainValue(const ExplainFormat& format, const char* text, std::size_t length,
                       ExplainedValue* value);

}  // namespace cv
