#include "cli/explain_report.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>
#include <vector>

#include "number/arithmetic.h"
#include "number/binary_float.h"
#include "number/digits.h"
#include "number/exact_decimal.h"
#include "number/hex_float.h"
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
    const std::size_t start = text->size();
    text->resize(start + static_cast<std::size_t>(count));
    char* out = &(*text)[start];
    for (int i = from + count - 1; i >= from; --i) *out++ = ((bits >> i) & 1u) != 0 ? '1' : '0';
}

// ANSI colours of a float's three fields on a terminal, and the reset after each.
constexpr const char* kSignColour = "\033[31m";
constexpr const char* kExponentColour = "\033[32m";
constexpr const char* kMantissaColour = "\033[34m";
constexpr const char* kColourReset = "\033[0m";

void AppendColouredBitRun(uint64_t bits, int from, int count, const char* colour, std::string* text) {
    if (colour != nullptr) *text += colour;
    AppendBitRun(bits, from, count, text);
    if (colour != nullptr) *text += kColourReset;
}

// Floats: sign, exponent, mantissa (those it has), each in its colour when colour is on; integers
// and characters: bytes, most significant first.
void AppendBinary(const ExplainFormat& format, uint64_t bits, bool colour, std::string* text) {
    if (format.kind == ExplainKind::kFloat) {
        const BinaryFormat& layout = format.layout;
        if (layout.HasSign()) {
            AppendColouredBitRun(bits, layout.SignBit(), 1, colour ? kSignColour : nullptr, text);
            *text += ' ';
        }
        AppendColouredBitRun(bits, layout.mantissaBits, layout.exponentBits,
                             colour ? kExponentColour : nullptr, text);
        if (layout.mantissaBits > 0) {
            *text += ' ';
            AppendColouredBitRun(bits, 0, layout.mantissaBits, colour ? kMantissaColour : nullptr, text);
        }
        return;
    }
    for (int i = format.ByteCount() - 1; i >= 0; --i) {
        AppendBitRun(bits, kExplainByteBits * i, kExplainByteBits, text);
        if (i > 0) *text += ' ';
    }
}

void AppendMemoryBytes(const ExplainFormat& format, uint64_t bits, std::string* text) {
    char pairs[3 * 8];  // "12 AB ...": at most 8 bytes
    std::size_t length = 0;
    for (int i = 0; i < format.ByteCount(); ++i) {
        if (i > 0) pairs[length++] = ' ';
        const unsigned byte = ByteAt(bits, i);
        pairs[length++] = kHexDigitChars[byte >> 4];
        pairs[length++] = kHexDigitChars[byte & 0xFu];
    }
    text->append(pairs, length);
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
        case FloatClass::kNan: return "nan";
    }
    return "";
}

// The power of two of the hidden bit's place (for zero and subnormals, of the smallest normal).
int UnbiasedPower(const BinaryFormat& layout, const FloatFields& fields) {
    return fields.power + layout.mantissaBits;
}

void AppendFlagList(const LayoutConversion& conversion, bool json, std::string* text) {
    const char* names[4];
    int count = 0;
    if (conversion.inexact) names[count++] = "inexact";
    if (conversion.overflow) names[count++] = "overflow";
    if (conversion.underflow) names[count++] = "underflow";
    if (conversion.invalid) names[count++] = "invalid";
    AppendFlagNames(names, count, json, text);
}

// One line of an explanation: the same field feeds the human text and the JSON object, so that
// neither can show a field the other forgets.
struct ReportField {
    const char* key = nullptr;     // the JSON key
    const char* label = nullptr;   // the human label; nullptr where the human text shows it on another line
    std::string human;             // the human text after the label
    std::string json;              // the JSON value, written out (a number, an object, a list); unused when
                                   // jsonIsHumanText
    int humanOrder = 0;            // the human lines' order, where it differs from the JSON keys' order
    bool jsonIsHumanText = false;  // the JSON value is the human text as a JSON string
};

std::string JsonQuoted(const std::string& raw) {
    std::string quoted = "\"";
    AppendJsonEscaped(raw, &quoted);
    quoted += '"';
    return quoted;
}

}  // namespace

// The fields of one explanation in the JSON keys' order. The caller keeps them from one explanation
// to the next, so that the fields' texts reuse their buffers: most are long exact values.
struct ExplainScratch::Fields {
    std::vector<ReportField> all;
    std::size_t count = 0;
    ShortestDecimal shortest;  // the search's own scratch

    // A new field, its texts empty.
    ReportField& Add(const char* key, const char* label, int humanOrder) {
        if (count == all.size()) all.emplace_back();
        ReportField& field = all[count++];
        field.key = key;
        field.label = label;
        field.humanOrder = humanOrder;
        field.jsonIsHumanText = false;
        field.human.clear();
        field.json.clear();
        return field;
    }
    // A field whose human text is its JSON string too (kept once: exact values are long): a
    // number's or a hex or binary text, which no JSON string needs to escape.
    std::string& AddText(const char* key, int humanOrder) {
        ReportField& field = Add(key, key, humanOrder);
        field.jsonIsHumanText = true;
        return field.human;
    }
    // Takes back the field added last (one that turned out to have nothing to show).
    void DropLast() { --count; }
    ReportField* begin() { return all.data(); }
    ReportField* end() { return all.data() + count; }
};

ExplainScratch::ExplainScratch() : fields_(new Fields) {}
ExplainScratch::~ExplainScratch() = default;

namespace {

using Fields = ExplainScratch::Fields;

// The human text of an exact plain decimal: a value whose plain form begins with more than six
// zeros after the point, or has more than 40 digits before it, in exponent form with every
// significant digit and their count, so that its magnitude shows at once. A value cut after its
// first significant digits (its plain form ends in "...", zeros standing for the digits past them
// before the point) likewise, with those digits: 3.33...e-11 (40 digits, cut). Any other text
// (inf, nan, a shorter plain decimal) is returned as it is.
std::string HumanDecimalText(const std::string& text) {
    constexpr std::size_t kMostLeadingZeros = 6;
    constexpr std::size_t kMostIntegerDigits = 40;
    constexpr char kCutMark[] = "...";
    constexpr std::size_t kCutMarkLength = sizeof kCutMark - 1;
    const bool cut = text.size() > kCutMarkLength &&
                     text.compare(text.size() - kCutMarkLength, kCutMarkLength, kCutMark) == 0;
    const std::string& plain = cut ? text.substr(0, text.size() - kCutMarkLength) : text;
    const std::size_t start = !plain.empty() && plain[0] == '-' ? 1 : 0;
    const std::size_t point = std::min(plain.find('.'), plain.size());
    if (point == start) return text;
    for (std::size_t i = start; i < plain.size(); ++i) {
        if ((plain[i] < '0' || plain[i] > '9') && i != point) return text;
    }
    // Most texts stay plain: decided before any part is copied.
    const bool longInteger = point - start > kMostIntegerDigits;
    const bool zeroInteger = point - start == 1 && plain[start] == '0';
    const std::size_t firstDigit =
        point < plain.size() ? plain.find_first_not_of('0', point + 1) : plain.npos;
    if (!longInteger &&
        !(zeroInteger && firstDigit != plain.npos && firstDigit - point - 1 > kMostLeadingZeros))
        return text;
    const std::string integer = plain.substr(start, point - start);
    const std::string fraction = point < plain.size() ? plain.substr(point + 1) : std::string();
    int64_t exponent = 0;
    std::string digits;
    if (integer.size() > kMostIntegerDigits) {
        exponent = static_cast<int64_t>(integer.size()) - 1;
        digits = integer + fraction;
    } else if (integer == "0" && fraction.find_first_not_of('0') != std::string::npos &&
               fraction.find_first_not_of('0') > kMostLeadingZeros) {
        const std::size_t zeros = fraction.find_first_not_of('0');
        exponent = -static_cast<int64_t>(zeros) - 1;
        digits = fraction.substr(zeros);
    } else {
        return text;
    }
    // A cut value's digits are its first kCutDigits; the zeros past them stand for digits unknown.
    if (cut) digits.resize(std::min<std::size_t>(digits.size(), kCutDigits));
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string human = plain.substr(0, start);
    human += digits[0];
    if (digits.size() > 1) {
        human += '.';
        human.append(digits, 1, std::string::npos);
    }
    if (cut) human += kCutMark;
    human += 'e';
    AppendSignedDecimal(exponent, &human);
    human += " (";
    AppendDecimal(digits.size(), &human);
    human += digits.size() == 1 ? " digit" : " digits";
    human += cut ? ", cut)" : ")";
    return human;
}

// Human lines in order: the sign and the fields, the class, the values, the conversion.
enum HumanOrder { kSignLine, kExponentLine, kMantissaLine, kClassLine, kValueLines, kConversionLine };

// Gives an exact decimal's field, its plain text written, HumanDecimal's form in the human text
// (the plain text stays its JSON value). For JSON alone (forHuman false) the plain text is all
// there is to write.
void MakeLegible(ReportField* field, bool forHuman) {
    if (!forHuman) return;
    std::string human = HumanDecimalText(field->human);
    if (human == field->human) return;
    // Only a plain decimal (digits, a sign, a point) has another human form: nothing to escape.
    field->json = '"' + field->human + '"';
    field->human = std::move(human);
    field->jsonIsHumanText = false;
}

// A field of a layout's exact value of bits, among the value lines.
void AddExactValue(const BinaryFormat& layout, const char* key, uint64_t bits, bool forHuman,
                   Fields* fields) {
    ReportField& field = fields->Add(key, key, kValueLines);
    field.jsonIsHumanText = true;
    AppendExactValue(layout, bits, &field.human);
    MakeLegible(&field, forHuman);
}

void AddBytes(const ExplainFormat& format, uint64_t bits, int humanOrder, Fields* fields) {
    ReportField& field = fields->Add("bytes", "bytes", humanOrder);
    field.json += '"';
    AppendMemoryBytes(format, bits, &field.json);
    field.human.assign(field.json, 1, std::string::npos);
    field.human += " (memory order, byte 0 first)";
    field.json += '"';
}

const char* RoundedText(RoundingMode mode) {
    switch (mode) {
        case RoundingMode::kEven: return "rounded to nearest (ties to even)";
        case RoundingMode::kAway: return "rounded to nearest (ties away from zero)";
        case RoundingMode::kZero: return "rounded toward zero";
        case RoundingMode::kUp: return "rounded toward +inf";
        case RoundingMode::kDown: return "rounded toward -inf";
    }
    return "";
}

// The source of a --from conversion, then the conversion: its result, error (none when the given
// value is not finite), flags, and with --round or --saturate the mode and whether saturation
// changed the result.
void AddConversionFields(const ExplainedValue& value, const std::string& error, bool forHuman,
                         Fields* fields) {
    const auto legible = [forHuman](const std::string& plain) {
        return forHuman ? HumanDecimalText(plain) : plain;
    };
    if (value.fromSource) {
        ReportField& from = fields->Add("from", "from", kConversionLine);
        from.human = value.sourceName + " " + value.sourceHex + " = " + legible(value.sourceExact);
        from.json = "{\"format\":" + JsonQuoted(value.sourceName) + ",\"hex\":\"" + value.sourceHex +
                    "\",\"exact\":\"" + value.sourceExact + "\"}";
    }
    const LayoutConversion& conversion = value.conversion;
    std::string humanFlags;
    std::string jsonFlags;
    AppendFlagList(conversion, false, &humanFlags);
    AppendFlagList(conversion, true, &jsonFlags);
    const bool rounded = conversion.inexact;
    ReportField& field = fields->Add("conversion", "conversion", kConversionLine);
    std::string& human = field.human;
    human = conversion.invalid ? "invalid" : rounded ? RoundedText(value.rounding.mode) : "exact";
    if (conversion.saturated) human += ", saturated";
    std::string& json = field.json;
    json = std::string("{\"result\":\"") +
           (conversion.invalid ? "invalid"
            : rounded          ? "rounded"
                               : "exact") +
           "\"";
    if (!error.empty()) {
        human += ", error " + legible(error);
        json += ",\"error\":" + JsonQuoted(error);
    }
    human += ", flags " + humanFlags;
    json += ",\"flags\":" + jsonFlags;
    if (value.namesRounding) {
        json += ",\"rounding\":\"";
        json += RoundingModeWord(value.rounding.mode);
        json += '"';
    }
    if (conversion.saturated) json += ",\"saturated\":true";
    json += '}';
}

void CollectFloatFields(const ExplainFormat& format, const ExplainedValue& value, bool forHuman,
                        Fields* fields) {
    const BinaryFormat& layout = format.layout;
    const FloatFields decoded = DecodeFloat(layout, value.bits);
    const bool nan = IsNan(decoded);
    const bool payloadShown = nan && layout.NanHasPayload();
    const bool finite = IsFinite(decoded);

    // The texts are appended in place, into buffers the fields keep from one value to the next.
    const char* className = ClassName(decoded.floatClass);
    ReportField& classField = fields->Add("class", "class", kClassLine);
    classField.human = className;
    if (payloadShown) {
        classField.human += ", payload ";
        AppendDecimal(decoded.mantissa & (layout.MantissaMask() >> 1), &classField.human);
    }
    classField.json += '"';
    classField.json += className;
    classField.json += '"';
    if (layout.HasSign()) {
        ReportField& sign = fields->Add("sign", "sign", kSignLine);
        sign.human = decoded.negative ? "1 (negative)" : "0 (positive)";
        sign.json = decoded.negative ? "1" : "0";
    }

    const uint64_t raw = static_cast<uint64_t>(decoded.biasedExponent);
    ReportField& exponent = fields->Add("exponent", "exponent", kExponentLine);
    exponent.json += "{\"raw\":";
    AppendDecimal(raw, &exponent.json);
    exponent.json += ",\"bias\":";
    AppendSignedDecimal(layout.Bias(), &exponent.json);
    if (forHuman) {
        exponent.human += "raw ";
        AppendDecimal(raw, &exponent.human);
        exponent.human += ", bias ";
        AppendSignedDecimal(layout.Bias(), &exponent.human);
    }
    if (finite) {
        const int64_t power = UnbiasedPower(layout, decoded);
        if (forHuman) {
            exponent.human += ", power of two ";
            AppendSignedDecimal(power, &exponent.human);
        }
        exponent.json += ",\"power\":";
        AppendSignedDecimal(power, &exponent.json);
    }
    exponent.json += '}';

    if (layout.mantissaBits > 0) {
        ReportField& mantissa = fields->Add("mantissa", "mantissa", kMantissaLine);
        std::string& json = mantissa.json;
        if (forHuman) {
            mantissa.human += "raw ";
            AppendDecimal(decoded.mantissa, &mantissa.human);
        }
        json += "{\"raw\":\"";
        AppendDecimal(decoded.mantissa, &json);
        json += '"';
        if (finite) {
            json += ",\"significand\":\"";
            const std::size_t significand = json.size();
            AppendPlainBinary(decoded.significand, -layout.mantissaBits, false, &json);
            if (forHuman) {
                mantissa.human += ", significand ";
                mantissa.human.append(json, significand, std::string::npos);
                mantissa.human += " = ";
                AppendDecimal(decoded.significand, &mantissa.human);
                mantissa.human += "/2^";
                AppendSignedDecimal(layout.mantissaBits, &mantissa.human);
            }
            json += '"';
        }
        json += '}';
    }

    if (value.exactText.empty()) {
        AddExactValue(layout, "exact", value.bits, forHuman, fields);
    } else {
        fields->AddText("exact", kValueLines) = value.exactText;
        MakeLegible(fields->end() - 1, forHuman);
    }
    AppendShortest(layout, value.bits, &fields->shortest, &fields->AddText("shortest", kValueLines));
    std::string& hexFloat = fields->AddText("hexfloat", kValueLines);
    if (!AppendHexFloat(layout, value.bits, &hexFloat)) fields->DropLast();  // none for inf and NaN
    if (layout.TotalBits() % kExplainByteBits == 0) AddBytes(format, value.bits, kValueLines, fields);
    if (!nan) {
        // Without infinities, the ends of the range have no neighbour beyond them.
        const uint64_t previous = NextDown(layout, value.bits);
        const uint64_t next = NextUp(layout, value.bits);
        if (layout.HasInfinity() || previous != value.bits) {
            AddExactValue(layout, "previous", previous, forHuman, fields);
        }
        if (layout.HasInfinity() || next != value.bits) {
            AddExactValue(layout, "next", next, forHuman, fields);
        }
    }
    if (finite) {
        ReportField& ulp = fields->Add("ulp", "ulp", kValueLines);
        ulp.jsonIsHumanText = true;
        AppendUlp(layout, value.bits, &ulp.human);
        MakeLegible(&ulp, forHuman);
    }
    if (payloadShown) {
        ReportField& field = fields->Add("payload", nullptr, kClassLine);
        AppendDecimal(decoded.mantissa & (layout.MantissaMask() >> 1), &field.human);
        field.json = JsonQuoted(field.human);
    }
    if (value.converted) {
        std::string error;
        if (value.knownError) AppendLayoutConversionError(layout, value.number, value.bits, &error);
        AddConversionFields(value, error, forHuman, fields);
    }
}

void CollectIntegerOrTextFields(const ExplainFormat& format, const ExplainedValue& value, bool forHuman,
                                Fields* fields) {
    const uint64_t bits = value.bits;
    if (format.kind != ExplainKind::kCharacters) {
        AppendSignedDecimal(SignedReading(format, bits), &fields->AddText("signed", 0));
        AppendDecimal(bits, &fields->AddText("unsigned", 0));
    }
    AddBytes(format, bits, 0, fields);
    if (format.kind == ExplainKind::kCharacters) {
        std::string characters;
        ReportField& text = fields->Add("text", "characters", 0);
        for (int i = 0; i < format.ByteCount(); ++i) {
            if (i > 0) text.human += ' ';
            AppendCharacterName(ByteAt(bits, i), &text.human);
            const char c = static_cast<char>(ByteAt(bits, i));
            characters += c == '\0' ? ' ' : c;
        }
        text.json = JsonQuoted(characters);
    }
    if (value.converted) {
        std::string error;
        if (value.knownError) {
            AppendIntegerConversionError(
                IntegerLayout{format.kind == ExplainKind::kSignedInteger, format.width}, bits, value.number,
                &error);
        }
        AddConversionFields(value, error, forHuman, fields);
    }
}

// Every field of the explanation into fields, in the JSON keys' order.
// forHuman: the human text will be written (else only the JSON values are).
void CollectFields(const ExplainFormat& format, const ExplainedValue& value, bool forHuman, bool colour,
                   Fields* fields) {
    fields->count = 0;
    AppendHexBits(value.bits, format.width, &fields->AddText("hex", -1));
    if (colour && format.kind == ExplainKind::kFloat) {
        ReportField& binary = fields->Add("binary", "binary", -1);
        AppendBinary(format, value.bits, true, &binary.human);
        binary.json += '"';
        AppendBinary(format, value.bits, false, &binary.json);
        binary.json += '"';
    } else {
        AppendBinary(format, value.bits, false, &fields->AddText("binary", -1));
    }
    if (format.kind == ExplainKind::kFloat) {
        CollectFloatFields(format, value, forHuman, fields);
    } else {
        CollectIntegerOrTextFields(format, value, forHuman, fields);
    }
}

// The caller's scratch, or else one of the call's own.
class ScratchFields {
public:
    explicit ScratchFields(ExplainScratch* scratch)
        : fields_(scratch != nullptr ? &scratch->fields() : nullptr) {
        if (fields_ == nullptr) {
            own_.reset(new ExplainScratch);
            fields_ = &own_->fields();
        }
    }
    Fields* operator->() { return fields_; }
    Fields* get() { return fields_; }

private:
    Fields* fields_;
    std::unique_ptr<ExplainScratch> own_;
};

// "  label" padded to the values' column.
void Label(const char* label, std::string* text) {
    constexpr std::size_t kColumn = 12;
    *text += "  ";
    *text += label;
    text->append(kColumn - std::char_traits<char>::length(label), ' ');
}

}  // namespace

std::string HumanDecimal(const std::string& plain) {
    return HumanDecimalText(plain);
}

namespace {

// The fields as the members of a JSON object, without its braces.
void AppendJsonMembers(Fields& fields, std::string* text) {
    bool first = true;
    for (const ReportField& field : fields) {
        if (!first) *text += ',';
        first = false;
        // "key": in one piece (keys are short words)
        char head[32];
        const std::size_t keyLength = std::strlen(field.key);
        if (keyLength + 3 <= sizeof head) {
            head[0] = '"';
            std::memcpy(head + 1, field.key, keyLength);
            head[keyLength + 1] = '"';
            head[keyLength + 2] = ':';
            text->append(head, keyLength + 3);
        } else {
            *text += '"';
            *text += field.key;
            *text += "\":";
        }
        if (field.jsonIsHumanText) {
            assert(std::all_of(field.human.begin(), field.human.end(),
                               [](char c) { return c >= ' ' && c < kDelete && c != '"' && c != '\\'; }));
            *text += '"';
            *text += field.human;
            *text += '"';
        } else {
            *text += field.json;
        }
    }
}

}  // namespace

void AppendHumanLines(const ExplainFormat& format, const ExplainedValue& value, int indent, std::string* text,
                      bool colour, ExplainScratch* scratch) {
    ScratchFields fields(scratch);
    CollectFields(format, value, true, colour, fields.get());
    std::stable_sort(fields->begin(), fields->end(),
                     [](const ReportField& a, const ReportField& b) { return a.humanOrder < b.humanOrder; });
    for (const ReportField& field : *fields.get()) {
        if (field.label == nullptr) continue;
        text->append(static_cast<std::size_t>(indent), ' ');
        Label(field.label, text);
        *text += field.human;
        *text += '\n';
    }
}

void AppendJsonObject(const ExplainFormat& format, const ExplainedValue& value, std::string* text,
                      ExplainScratch* scratch) {
    ScratchFields fields(scratch);
    CollectFields(format, value, false, false, fields.get());
    *text += '{';
    AppendJsonMembers(*fields.get(), text);
    *text += '}';
}

bool AppendConversion(const ExplainFormat& format, const ExplainedValue& value, bool json,
                      std::string* text) {
    if (format.kind != ExplainKind::kFloat || !value.converted) return false;
    std::string error;
    if (value.knownError) AppendLayoutConversionError(format.layout, value.number, value.bits, &error);
    Fields fields;
    AddConversionFields(value, error, !json, &fields);
    *text += json ? fields.end()[-1].json : fields.end()[-1].human;
    return true;
}

void AppendHumanReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                       std::string* text, bool colour, ExplainScratch* scratch) {
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
    AppendHumanLines(format, value, 0, text, colour, scratch);
}

void AppendJsonReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                      std::string* text, ExplainScratch* scratch) {
    ScratchFields fields(scratch);
    CollectFields(format, value, false, false, fields.get());
    *text += "{\"format\":\"";
    AppendJsonEscaped(format.name, text);
    *text += "\",\"input\":\"";
    AppendJsonEscaped(input, text);
    *text += "\",";
    AppendJsonMembers(*fields.get(), text);
    *text += "}\n";
}

void AppendJsonError(const std::string& input, const std::string& error, std::string* text) {
    *text += "{\"input\":\"";
    AppendJsonEscaped(input, text);
    *text += "\",\"error\":\"";
    AppendJsonEscaped(error, text);
    *text += "\"}\n";
}

void AppendFlagNames(const char* const* names, int count, bool json, std::string* text) {
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

namespace {

// Which bytes a JSON string takes as they are.
struct JsonPlainBytes {
    bool plain[256];
    constexpr JsonPlainBytes() : plain() {
        for (int c = kFirstPrintable; c < kDelete; ++c) plain[c] = c != '"' && c != '\\';
    }
};
constexpr JsonPlainBytes kJsonPlain;

}  // namespace

void AppendJsonEscaped(std::string_view raw, std::string* text) {
    // Most texts need no escape: copied whole, in runs between the characters that do.
    std::size_t run = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (kJsonPlain.plain[c]) continue;
        text->append(raw.data() + run, i - run);
        run = i + 1;
        if (c == '"' || c == '\\') {
            *text += '\\';
            *text += static_cast<char>(c);
        } else {
            *text += "\\u00";
            AppendHexBits(c, kExplainByteBits, text);
        }
    }
    text->append(raw.data() + run, raw.size() - run);
}

}  // namespace cv
