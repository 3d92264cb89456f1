#include "cli/explain_input.h"

#include <cstring>

#include "number/binary_float.h"
#include "number/digits.h"
#include "number/write_decimal.h"
#include "number/hex_float.h"

namespace cv {

namespace {

constexpr int kMinExponentBits = 2;
constexpr int kMaxExponentBits = 15;
constexpr int kMaxWidth = 64;
constexpr int kMaxUint64Digits = 20;

struct ModeName {
    const char* word;
    RoundingMode mode;
};
constexpr ModeName kModeNames[] = {{"even", RoundingMode::kEven},
                                   {"away", RoundingMode::kAway},
                                   {"zero", RoundingMode::kZero},
                                   {"up", RoundingMode::kUp},
                                   {"down", RoundingMode::kDown}};

struct NamedFloat {
    const char* name;
    BinaryFormat layout;
    bool machineLearning;  // also named with the prefix float<width>_ (float8_e4m3fn)
};

constexpr NamedFloat kNamedFloats[] = {{"f16", kHalfFormat, false},      {"bf16", kBrainFormat, false},
                                       {"f32", kSingleFormat, false},    {"f64", kDoubleFormat, false},
                                       {"e4m3fn", kE4M3FnFormat, true},  {"e4m3fnuz", kE4M3FnuzFormat, true},
                                       {"e5m2", kE5M2Format, true},      {"e5m2fnuz", kE5M2FnuzFormat, true},
                                       {"e2m3fn", kE2M3FnFormat, true},  {"e3m2fn", kE3M2FnFormat, true},
                                       {"e2m1fn", kE2M1FnFormat, true},  {"tf32", kTensorFloatFormat, false},
                                       {"e8m0fnu", kE8M0FnuFormat, true}};

struct NamedKind {
    const char* suffix;  // after fp:E:M
    LayoutKind kind;
};

constexpr NamedKind kLayoutSuffixes[] = {{":fn", LayoutKind::kFiniteNan},
                                         {":fnuz", LayoutKind::kUnsignedZero},
                                         {":finite", LayoutKind::kAllFinite}};

bool IsNamed(const std::string& name, const NamedFloat& named) {
    if (name == named.name) return true;
    if (!named.machineLearning) return false;
    const std::string prefix = "float" + std::to_string(named.layout.TotalBits()) + "_";
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(prefix.size(), std::string::npos, named.name) == 0;
}

uint64_t WidthMask(int width) {
    return width >= kMaxWidth ? ~uint64_t{0} : (uint64_t{1} << width) - 1;
}

bool IsByteWidth(int width) {
    return width == 8 || width == 16 || width == 32 || width == 64;
}

enum class RawResult { kNotRaw, kAccepted, kTooWide };

// 0x / 0b followed only by digits of that base.
RawResult ReadRawBits(const char* text, std::size_t length, int width, uint64_t* bits) {
    if (length < 3 || text[0] != '0') return RawResult::kNotRaw;
    const char marker = text[1];
    const int digitBits = marker == 'x' || marker == 'X' ? 4 : marker == 'b' || marker == 'B' ? 1 : 0;
    if (digitBits == 0) return RawResult::kNotRaw;
    uint64_t value = 0;
    for (std::size_t i = 2; i < length; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= (1 << digitBits)) return RawResult::kNotRaw;
        value = (value << digitBits) | static_cast<uint64_t>(digit);
    }
    const std::size_t digits = length - 2;
    // Hex takes as many digits as the output shows (2 per byte), as long as the value fits the width.
    const int hexDigits = (width + kExplainByteBits - 1) / kExplainByteBits * 2;
    const std::size_t maxDigits = static_cast<std::size_t>(digitBits == 4 ? hexDigits : width);
    if (digits > maxDigits || (value & ~WidthMask(width)) != 0) return RawResult::kTooWide;
    *bits = value;
    return RawResult::kAccepted;
}

bool Refuse(ExplainedValue* value, const std::string& why) {
    value->error = why;
    return false;
}

// A hex float (0x1.8p3) or a decimal number; false with value->error for a hex float too long,
// and with an empty error for text that is neither.
bool ReadNumber(const char* text, std::size_t length, DecimalNumber* number, ExplainedValue* value) {
    switch (ParseHexFloat(text, length, number)) {
        case HexFloatResult::kAccepted: return true;
        case HexFloatResult::kTooManyDigits:
            return Refuse(value,
                          "More than " + std::to_string(kMostHexFloatDigits) + " significant hex digits.");
        case HexFloatResult::kNotHexFloat: break;
    }
    return ParseDecimal(text, length, number);
}

std::string RangeText(const ExplainFormat& format) {
    if (format.kind == ExplainKind::kUnsignedInteger) {
        return "0 to " + std::to_string(WidthMask(format.width));
    }
    const uint64_t top = WidthMask(format.width - 1);
    return "-" + std::to_string(top + 1) + " to " + std::to_string(top);
}

// Without conversion options: whole numbers in range, and nothing else.
bool ParseWholeInteger(const ExplainFormat& format, const char* text, std::size_t length,
                       ExplainedValue* value) {
    DecimalNumber number;
    if (!ReadNumber(text, length, &number, value) || number.kind != DecimalNumber::Kind::kFinite) {
        if (!value->error.empty()) return false;
        return Refuse(value, "Not a decimal integer, nor 0x or 0b bits.");
    }
    if (number.exponent < 0) return Refuse(value, "Not a whole number.");
    const std::string outOfRange = "Out of range for " + format.name + ": " + RangeText(format) + ".";
    if (static_cast<int64_t>(number.digits.size()) + number.exponent > kMaxUint64Digits) {
        return Refuse(value, outOfRange);
    }
    uint64_t magnitude = 0;
    const std::size_t total = number.digits.size() + static_cast<std::size_t>(number.exponent);
    for (std::size_t i = 0; i < total; ++i) {
        const uint64_t digit = i < number.digits.size() ? static_cast<uint64_t>(number.digits[i] - '0') : 0u;
        if (magnitude > (~uint64_t{0} - digit) / 10) return Refuse(value, outOfRange);
        magnitude = magnitude * 10 + digit;
    }
    const bool isSigned = format.kind == ExplainKind::kSignedInteger;
    const uint64_t positiveLimit = isSigned ? WidthMask(format.width - 1) : WidthMask(format.width);
    const uint64_t negativeLimit = isSigned ? positiveLimit + 1 : 0;
    if (magnitude > (number.negative ? negativeLimit : positiveLimit)) return Refuse(value, outOfRange);
    value->bits = (number.negative ? 0 - magnitude : magnitude) & WidthMask(format.width);
    return true;
}

IntegerLayout IntegerLayoutOf(const ExplainFormat& format) {
    return IntegerLayout{format.kind == ExplainKind::kSignedInteger, format.width};
}

// The number (finite, or an infinity) into an integer format by the options.
bool ConvertToInteger(const ExplainFormat& format, const ExplainOptions& options, ExplainedValue* value) {
    const IntegerConversion integer = ConvertDecimalToInteger(IntegerLayoutOf(format), value->number,
                                                              options.roundIntegers, options.rounding);
    switch (integer.refusal) {
        case IntegerRefusal::kNone: break;
        case IntegerRefusal::kNotWhole: return Refuse(value, "Not a whole number.");
        case IntegerRefusal::kOutOfRange:
            return Refuse(value, "Out of range for " + format.name + ": " + RangeText(format) + ".");
        case IntegerRefusal::kNan: return Refuse(value, format.name + " has no NaN.");
    }
    value->bits = integer.bits;
    value->conversion = integer.flags;
    value->converted = true;
    value->knownError = value->number.kind == DecimalNumber::Kind::kFinite;
    return true;
}

bool ParseInteger(const ExplainFormat& format, const char* text, std::size_t length, ExplainedValue* value,
                  const ExplainOptions& options) {
    if (!options.namesRounding) return ParseWholeInteger(format, text, length, value);
    if (!ReadNumber(text, length, &value->number, value)) {
        if (!value->error.empty()) return false;
        return Refuse(value, "Not a decimal integer, nor 0x or 0b bits.");
    }
    return ConvertToInteger(format, options, value);
}

bool ParseFloat(const ExplainFormat& format, const char* text, std::size_t length, ExplainedValue* value,
                const ExplainOptions& options) {
    if (!ReadNumber(text, length, &value->number, value)) {
        if (!value->error.empty()) return false;
        return Refuse(value, "Not a decimal number, inf, nan, nor 0x or 0b bits.");
    }
    value->conversion = ConvertDecimalToLayout(format.layout, value->number, options.rounding);
    if (value->conversion.noNan) return Refuse(value, format.name + " has no NaN.");
    value->bits = value->conversion.bits;
    // A word's conversion is shown only where saturation changed it.
    value->converted = value->number.kind == DecimalNumber::Kind::kFinite || value->conversion.saturated;
    value->knownError = value->number.kind == DecimalNumber::Kind::kFinite;
    return true;
}

// The exact value the source stores, as its text and as a number.
void ReadStoredValue(const ExplainFormat& source, uint64_t bits, ExplainedValue* value) {
    value->sourceExact.clear();
    if (source.kind == ExplainKind::kFloat) {
        AppendExactValue(source.layout, bits, &value->sourceExact);
    } else if (source.kind == ExplainKind::kSignedInteger) {
        const int shift = kMaxWidth - source.width;
        AppendSignedDecimal(static_cast<int64_t>(bits << shift) >> shift, &value->sourceExact);
    } else {
        AppendDecimal(bits, &value->sourceExact);
    }
    ParseDecimal(value->sourceExact.data(), value->sourceExact.size(), &value->number);
}

// --from: the VALUE read in the source format, its stored value converted to the target.
bool ParseFromSource(const ExplainFormat& format, const char* text, std::size_t length, ExplainedValue* value,
                     const ExplainOptions& options) {
    ExplainOptions sourceOptions = options;
    sourceOptions.source = nullptr;
    const ExplainFormat& source = *options.source;
    ExplainedValue stored;
    if (!ParseExplainValue(source, text, length, &stored, sourceOptions)) return Refuse(value, stored.error);
    value->fromSource = true;
    value->sourceName = source.name;
    value->sourceHex.clear();
    AppendHexBits(stored.bits, source.width, &value->sourceHex);
    ReadStoredValue(source, stored.bits, value);
    if (format.kind != ExplainKind::kFloat) return ConvertToInteger(format, options, value);
    value->conversion =
        source.kind == ExplainKind::kFloat
            ? ConvertBetweenLayouts(format.layout, source.layout, stored.bits, options.rounding)
            : ConvertDecimalToLayout(format.layout, value->number, options.rounding);
    if (value->conversion.noNan) return Refuse(value, format.name + " has no NaN.");
    value->bits = value->conversion.bits;
    value->converted = true;
    value->knownError = value->number.kind == DecimalNumber::Kind::kFinite;
    return true;
}

}  // namespace

bool ParseRoundingMode(const char* word, RoundingMode* mode) {
    for (const ModeName& name : kModeNames) {
        if (std::strcmp(word, name.word) == 0) {
            *mode = name.mode;
            return true;
        }
    }
    return false;
}

const char* RoundingModeWord(RoundingMode mode) {
    for (const ModeName& name : kModeNames) {
        if (name.mode == mode) return name.word;
    }
    return "";
}

bool ParseExplainFormat(const std::string& name, ExplainFormat* format) {
    format->name = name;
    for (const NamedFloat& named : kNamedFloats) {
        if (IsNamed(name, named)) {
            format->kind = ExplainKind::kFloat;
            format->layout = named.layout;
            format->width = named.layout.TotalBits();
            return true;
        }
    }
    std::size_t at = 1;
    int number = 0;
    if (name.compare(0, 3, "fp:") == 0) {
        int exponentBits = 0;
        at = 3;
        if (!ReadBoundedDecimal(name, &at, kMaxWidth, &exponentBits) || at >= name.size() || name[at] != ':')
            return false;
        ++at;
        if (!ReadBoundedDecimal(name, &at, kMaxWidth, &number)) return false;
        LayoutKind kind = LayoutKind::kIeee;
        if (at != name.size()) {
            const NamedKind* suffix = nullptr;
            for (const NamedKind& named : kLayoutSuffixes) {
                if (name.compare(at, std::string::npos, named.suffix) == 0) suffix = &named;
            }
            if (suffix == nullptr) return false;
            kind = suffix->kind;
        }
        if (exponentBits < kMinExponentBits || exponentBits > kMaxExponentBits || number < 1 ||
            1 + exponentBits + number > kMaxWidth) {
            return false;
        }
        format->kind = ExplainKind::kFloat;
        format->layout = BinaryFormat{exponentBits, number, kind};
        format->width = format->layout.TotalBits();
        return true;
    }
    if (name.empty() || !ReadBoundedDecimal(name, &at, kMaxWidth, &number) || at != name.size() ||
        !IsByteWidth(number)) {
        return false;
    }
    format->width = number;
    switch (name[0]) {
        case 'i': format->kind = ExplainKind::kSignedInteger; return true;
        case 'u': format->kind = ExplainKind::kUnsignedInteger; return true;
        case 'c': format->kind = ExplainKind::kCharacters; return true;
        default: return false;
    }
}

bool ParseExplainValue(const ExplainFormat& format, const char* text, std::size_t length,
                       ExplainedValue* value, const ExplainOptions& options) {
    *value = ExplainedValue();
    value->rounding = options.rounding;
    value->namesRounding = options.namesRounding;
    if (options.source != nullptr) return ParseFromSource(format, text, length, value, options);
    if (format.kind != ExplainKind::kCharacters) {  // numbers: surrounding blanks do not count
        while (length > 0 && (*text == ' ' || *text == '\t')) ++text, --length;
        while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t')) --length;
        if (length == 0) return Refuse(value, "Empty value.");
    }
    switch (ReadRawBits(text, length, format.width, &value->bits)) {
        case RawResult::kAccepted: value->rawBits = true; return true;
        case RawResult::kTooWide:
            return Refuse(value,
                          "Wider than the " + std::to_string(format.width) + " bits of " + format.name + ".");
        case RawResult::kNotRaw: break;
    }
    if (format.kind == ExplainKind::kFloat) return ParseFloat(format, text, length, value, options);
    if (format.kind != ExplainKind::kCharacters) return ParseInteger(format, text, length, value, options);
    const std::size_t bytes = static_cast<std::size_t>(format.ByteCount());
    if (length > bytes) {
        return Refuse(value, "Longer than the " + std::to_string(bytes) +
                                 (bytes == 1 ? " byte of " : " bytes of ") + format.name + ".");
    }
    for (std::size_t i = 0; i < length; ++i) {
        value->bits |= static_cast<uint64_t>(static_cast<unsigned char>(text[i])) << (kExplainByteBits * i);
    }
    return true;
}

}  // namespace cv
