// What `corvane-cli explain` reads: a FORMAT name and the VALUE texts in it, turned into bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "number/float_parse.h"
#include "number/format_rules.h"
#include "number/integer_rules.h"
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

// The MODE words of --round: even, away, zero, up, down.
bool ParseRoundingMode(const char* word, RoundingMode* mode);
const char* RoundingModeWord(RoundingMode mode);

// How values are converted: --round MODE, --saturate, --from FORMAT.
struct ExplainOptions {
    Rounding rounding;
    bool roundIntegers = false;             // --round: an integer target rounds a value that is not whole
    bool namesRounding = false;             // --round or --saturate: the conversion names its mode
    const ExplainFormat* source = nullptr;  // --from: each VALUE is read in this format first
};

struct ExplainedValue {
    uint64_t bits = 0;
    bool rawBits = false;  // given as 0x... or 0b...
    // The value was converted from a number: `number` (the number given, or the source's stored
    // value) and `conversion` apply; knownError: the number is finite, so an error can be given.
    bool converted = false;
    bool knownError = false;
    DecimalNumber number;
    LayoutConversion conversion;  // for integer targets only its flags
    Rounding rounding;
    bool namesRounding = false;
    // --from: the source's format name, stored bits in hex, exact value.
    bool fromSource = false;
    std::string sourceName;
    std::string sourceHex;
    std::string sourceExact;
    std::string error;  // why the value was refused (a sentence); empty when accepted
    // The stored value's exact text, where the caller has written it already (else it is written
    // for the explanation).
    std::string exactText;
};

// Reads one VALUE: 0x.../0b... raw bits right-aligned to the width; a decimal number (and inf, nan
// for floats); for characters any other text is the bytes themselves. With a source format, the
// VALUE is read in it and its stored value converted. False (with value->error) when the value does
// not fit.
bool ParseExplainValue(const ExplainFormat& format, const char* text, std::size_t length,
                       ExplainedValue* value, const ExplainOptions& options = ExplainOptions());

}  // namespace cv
