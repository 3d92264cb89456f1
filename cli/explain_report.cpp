#include "cli/explain_report.h"

#include "number/binary_float.h"
#include "number/exact_decimal.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstLatin1Printable = 0xA1;
constexpr const char* kControlNames[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                         "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                         "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                         "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

unsigned ByteAt(uint64_t bits, int i) {
    return static_cast<unsigned>(bits >> (kExplainByteBits * i)) & 0xFFu;
}

void AppendBitRun(uint64_t bits, int from, int count, std::string* text) {
    for (int i = from + count - 1; i >= from; --i) *text += ((bits >> i) & 1u) != 0 ? '1' : '0';
}

// Floats: sign, exponent, mantissa; integers and characters: bytes, most significant first.
void AppendBinary(const ExplainFormat& format, uint64_t bits, std::string* text) {
    if (format.kind == ExplainKind::kFloat) {
        const BinaryFormat& layout = format.layout;
        AppendBitRun(bits, layout.SignBit(), 1, text);
        *text += ' ';
        AppendBitRun(bits, layout.mantissaBits, layout.exponentBits, text);
        *text += ' ';
        AppendBitRun(bits, 0, layout.mantissaBits, text);
        return;
    }
    for (int i = format.ByteCount() - 1; i >= 0; --i) {
        AppendBitRun(bits, kExplainByteBits * i, kExplainByteBits, text);
        if (i > 0) *text += ' ';
    }
}

void AppendMemoryBytes(const ExplainFormat& format, uint64_t bits, std::string* text) {
    for (int i = 0; i < format.ByteCount(); ++i) {
        if (i > 0) *text += ' ';
        AppendHexBits(ByteAt(bits, i), kExplainByteBits, text);
    }
}

int64_t SignedReading(const ExplainFormat& format, uint64_t bits) {
    const int shift = 64 - format.width;
    return static_cast<int64_t>(bits << shift) >> shift;
}

const char* ClassName(FloatClass floatClass) {
    switch (floatClass) {
        case FloatClass::kZero: return "zero";
        case FloatClass::kSubnormal: return "subnormal";
        case FloatClass::kNormal: return "normal";
        case FloatClass::kInfinity: return "infinity";
        case FloatClass::kQuietNan: return "qnan";
        case FloatClass::kSignalingNan: return "snan";
    }
    return "";
}

bool IsNanClass(FloatClass floatClass) {
    return floatClass == FloatClass::kQuietNan || floatClass == FloatClass::kSignalingNan;
}

int UnbiasedPower(const BinaryFormat& layout, const FloatFields& fields) {
    return (fields.biasedExponent == 0 ? 1 : fields.biasedExponent) - layout.Bias();
}

void AppendFlagList(const FloatConversion& conversion, bool json, std::string* text) {
    const char* names[3];
    int count = 0;
    if (conversion.inexact) names[count++] = "inexact";
    if (conversion.overflow) names[count++] = "overflow";
    if (conversion.underflow) names[count++] = "underflow";
    if (json) *text += '[';
    for (int i = 0; i < count; ++i) {
        if (i > 0) *text += json ? "," : ", ";
        if (json) *text += '"';
        *text += names[i];
        if (json) *text += '"';
    }
    if (json) *text += ']';
    if (!json && count == 0) *text += "none";
}

// A byte as the human text shows it: printable ASCII itself, controls by name, Latin-1 in UTF-8.
void AppendCharacterName(unsigned byte, std::string* text) {
    if (byte < kFirstPrintable) {
        *text += kControlNames[byte];
    } else if (byte == ' ') {
        *text += "SP";
    } else if (byte == kDelete) {
        *text += "DEL";
    } else if (byte < kDelete) {
        *text += static_cast<char>(byte);
    } else if (byte < kFirstLatin1Printable) {
        *text += "<";
        AppendHexBits(byte, kExplainByteBits, text);
        *text += ">";
    } else {
        *text += static_cast<char>(0xC0u | (byte >> 6));
        *text += static_cast<char>(0x80u | (byte & 0x3Fu));
    }
}

// "  label" padded to the values' column.
void Label(const char* label, std::string* text) {
    constexpr std::size_t kColumn = 12;
    *text += "  ";
    *text += label;
    text->append(kColumn - std::char_traits<char>::length(label), ' ');
}

void AppendHumanFields(const BinaryFormat& layout, const FloatFields& fields, std::string* text) {
    Label("sign", text);
    *text += fields.negative ? "1 (negative)\n" : "0 (positive)\n";
    Label("exponent", text);
    *text += "raw ";
    AppendDecimal(static_cast<uint64_t>(fields.biasedExponent), text);
    *text += ", bias ";
    AppendSignedDecimal(layout.Bias(), text);
    if (IsFinite(fields)) {
        *text += ", power of two ";
        AppendSignedDecimal(UnbiasedPower(layout, fields), text);
    }
    *text += '\n';
    Label("mantissa", text);
    *text += "raw ";
    AppendDecimal(fields.mantissa, text);
    if (IsFinite(fields)) {
        *text += ", significand ";
        AppendPlainBinary(fields.significand, -layout.mantissaBits, false, text);
        *text += " = ";
        AppendDecimal(fields.significand, text);
        *text += "/2^";
        AppendSignedDecimal(layout.mantissaBits, text);
    }
    *text += '\n';
    Label("class", text);
    *text += ClassName(fields.floatClass);
    if (IsNanClass(fields.floatClass)) {
        *text += ", payload ";
        AppendDecimal(fields.mantissa & (layout.MantissaMask() >> 1), text);
    }
    *text += '\n';
}

void AppendHumanFloat(const ExplainFormat& format, const ExplainedValue& value, std::string* text) {
    const BinaryFormat& layout = format.layout;
    const FloatFields fields = DecodeFloat(layout, value.bits);
    AppendHumanFields(layout, fields, text);
    Label("exact", text);
    AppendExactValue(layout, value.bits, text);
    *text += '\n';
    Label("shortest", text);
    AppendShortest(layout, value.bits, text);
    *text += '\n';
    if (!IsNanClass(fields.floatClass)) {
        Label("previous", text);
        AppendExactValue(layout, NextDown(layout, value.bits), text);
        *text += '\n';
        Label("next", text);
        AppendExactValue(layout, NextUp(layout, value.bits), text);
        *text += '\n';
    }
    if (IsFinite(fields)) {
        Label("ulp", text);
        AppendUlp(layout, value.bits, text);
        *text += '\n';
    }
    if (value.fromDecimal) {
        Label("conversion", text);
        *text += value.conversion.inexact ? "rounded to nearest (ties to even), error " : "exact, error ";
        AppendConversionError(layout, value.number, value.bits, text);
        *text += ", flags ";
        AppendFlagList(value.conversion, false, text);
        *text += '\n';
    }
}

}  // namespace

namespace {

void AppendHumanIntegerOrText(const ExplainFormat& format, uint64_t bits, std::string* text) {
    if (format.kind != ExplainKind::kCharacters) {
        Label("signed", text);
        AppendSignedDecimal(SignedReading(format, bits), text);
        *text += '\n';
        Label("unsigned", text);
        AppendDecimal(bits, text);
        *text += '\n';
    }
    Label("bytes", text);
    AppendMemoryBytes(format, bits, text);
    *text += " (memory order, byte 0 first)\n";
    if (format.kind == ExplainKind::kCharacters) {
        Label("characters", text);
        for (int i = 0; i < format.ByteCount(); ++i) {
            if (i > 0) *text += ' ';
            AppendCharacterName(ByteAt(bits, i), text);
        }
        *text += '\n';
    }
}

void AppendJsonString(const char* key, const std::string& value, std::string* text) {
    *text += ",\"";
    *text += key;
    *text += "\":\"";
    *text += value;
    *text += '"';
}

void AppendJsonFloat(const BinaryFormat& layout, const ExplainedValue& value, std::string* text) {
    const FloatFields fields = DecodeFloat(layout, value.bits);
    const bool nan = IsNanClass(fields.floatClass);
    *text += ",\"class\":\"";
    *text += ClassName(fields.floatClass);
    *text += fields.negative ? "\",\"sign\":1" : "\",\"sign\":0";
    *text += ",\"exponent\":{\"raw\":";
    AppendDecimal(static_cast<uint64_t>(fields.biasedExponent), text);
    *text += ",\"bias\":";
    AppendSignedDecimal(layout.Bias(), text);
    if (IsFinite(fields)) {
        *text += ",\"power\":";
        AppendSignedDecimal(UnbiasedPower(layout, fields), text);
    }
    *text += "},\"mantissa\":{\"raw\":\"";
    AppendDecimal(fields.mantissa, text);
    *text += '"';
    if (IsFinite(fields)) {
        *text += ",\"significand\":\"";
        AppendPlainBinary(fields.significand, -layout.mantissaBits, false, text);
        *text += '"';
    }
    *text += "},\"exact\":\"";
    AppendExactValue(layout, value.bits, text);
    *text += "\",\"shortest\":\"";
    AppendShortest(layout, value.bits, text);
    *text += '"';
    if (!nan) {
        *text += ",\"previous\":\"";
        AppendExactValue(layout, NextDown(layout, value.bits), text);
        *text += "\",\"next\":\"";
        AppendExactValue(layout, NextUp(layout, value.bits), text);
        *text += '"';
    }
    if (IsFinite(fields)) {
        *text += ",\"ulp\":\"";
        AppendUlp(layout, value.bits, text);
        *text += '"';
    }
    if (nan) {
        *text += ",\"payload\":\"";
        AppendDecimal(fields.mantissa & (layout.MantissaMask() >> 1), text);
        *text += '"';
    }
    if (value.fromDecimal) {
        *text += value.conversion.inexact ? ",\"conversion\":{\"result\":\"rounded\",\"error\":\""
                                          : ",\"conversion\":{\"result\":\"exact\",\"error\":\"";
        AppendConversionError(layout, value.number, value.bits, text);
        *text += "\",\"flags\":";
        AppendFlagList(value.conversion, true, text);
        *text += '}';
    }
}

}  // namespace

void AppendHumanReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                       std::string* text) {
    *text += format.name;
    *text += ' ';
    if (format.kind == ExplainKind::kCharacters && !value.rawBits) {
        *text += '"';
        for (unsigned char c : input) {
            if (c < kFirstPrintable || c == kDelete || c == '"' || c == '\\') {
                *text += '\\';
                *text += 'x';
                AppendHexBits(c, kExplainByteBits, text);
            } else {
                *text += static_cast<char>(c);
            }
        }
        *text += '"';
    } else {
        *text += input;
    }
    *text += '\n';
    Label("hex", text);
    AppendHexBits(value.bits, format.width, text);
    *text += '\n';
    Label("binary", text);
    AppendBinary(format, value.bits, text);
    *text += '\n';
    if (format.kind == ExplainKind::kFloat) {
        AppendHumanFloat(format, value, text);
    } else {
        AppendHumanIntegerOrText(format, value.bits, text);
    }
}

void AppendJsonReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                      std::string* text) {
    *text += "{\"format\":\"";
    AppendJsonEscaped(format.name, text);
    *text += "\",\"input\":\"";
    AppendJsonEscaped(input, text);
    *text += "\",\"hex\":\"";
    AppendHexBits(value.bits, format.width, text);
    *text += "\",\"binary\":\"";
    AppendBinary(format, value.bits, text);
    *text += '"';
    if (format.kind == ExplainKind::kFloat) {
        AppendJsonFloat(format.layout, value, text);
    } else {
        std::string number;
        if (format.kind != ExplainKind::kCharacters) {
            AppendSignedDecimal(SignedReading(format, value.bits), &number);
            AppendJsonString("signed", number, text);
            number.clear();
            AppendDecimal(value.bits, &number);
            AppendJsonString("unsigned", number, text);
            number.clear();
        }
        AppendMemoryBytes(format, value.bits, &number);
        AppendJsonString("bytes", number, text);
        if (format.kind == ExplainKind::kCharacters) {
            std::string characters;
            for (int i = 0; i < format.ByteCount(); ++i) {
                const char c = static_cast<char>(ByteAt(value.bits, i));
                characters += c == '\0' ? ' ' : c;
            }
            number.clear();
            AppendJsonEscaped(characters, &number);
            AppendJsonString("text", number, text);
        }
    }
    *text += "}\n";
}

void AppendJsonError(const std::string& input, const std::string& error, std::string* text) {
    *text += "{\"input\":\"";
    AppendJsonEscaped(input, text);
    *text += "\",\"error\":\"";
    AppendJsonEscaped(error, text);
    *text += "\"}\n";
}

void AppendJsonEscaped(const std::string& raw, std::string* text) {
    for (unsigned char c : raw) {
        if (c == '"' || c == '\\') {
            *text += '\\';
            *text += static_cast<char>(c);
        } else if (c < kFirstPrintable || c >= kDelete) {
            *text += "\\u00";
            AppendHexBits(c, kExplainByteBits, text);
        } else {
            *text += static_cast<char>(c);
        }
    }
}

}  // namespace cv
