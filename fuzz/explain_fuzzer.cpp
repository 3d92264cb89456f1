// libFuzzer target: the VALUE texts of `corvane-cli explain` in every format. No input may crash or
// trip a sanitizer; an accepted value must read back to the same bits from the texts its
// explanation gives (a float's shortest and exact texts, an integer's decimal reading, the hex of
// any value), and the JSON line must stay plain ASCII without control characters.
//
// Conversions are fuzzed too: any rounding mode, saturation, and a --from source format; and runs
// of bytes for `inspect`.
//
// Input: byte 0 picks the format (past the named ones: fp:E:M and its kind from bytes 1 and 2; the
// last value of byte 0 inspects the rest instead); byte 3 the conversion: its low three bits the
// mode (past the five, none given), bit 3 saturation, the high four a source format (0: none); the
// rest, up to its end, is the VALUE text. A text that begins with '=' is a calc line instead (the
// rest after it, in a float format, by the same mode and saturation): every operation, accepted
// or refused with a reason, must give plain ASCII JSON and a human answer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/calc.h"
#include "cli/explain_input.h"
#include "cli/inspect.h"
#include "cli/explain_report.h"
#include "number/binary_float.h"

namespace {

constexpr const char* kNamedFormats[] = {
    "f16",  "bf16",     "f32",    "f64",    "i8",     "i16",  "i32",    "i64",    "u8",
    "u16",  "u32",      "u64",    "c8",     "c16",    "c32",  "c64",    "e4m3fn", "e4m3fnuz",
    "e5m2", "e5m2fnuz", "e2m3fn", "e3m2fn", "e2m1fn", "tf32", "e8m0fnu"};
// The layout kinds of fp:E:M, picked by byte 1 past the exponent choice.
constexpr const char* kLayoutSuffixes[] = {"", ":fn", ":fnuz", ":finite"};
constexpr std::size_t kNamedCount = sizeof kNamedFormats / sizeof kNamedFormats[0];
constexpr int kMinExponentBits = 2;
constexpr int kExponentChoices = 14;  // 2..15
constexpr int kMaxWidth = 64;
constexpr uint8_t kInspectChoice = 0xFF;
constexpr int kModeCount = 5;
constexpr cv::RoundingMode kModes[kModeCount] = {cv::RoundingMode::kEven, cv::RoundingMode::kAway,
                                                 cv::RoundingMode::kZero, cv::RoundingMode::kUp,
                                                 cv::RoundingMode::kDown};
// Sources for --from: the number formats among the named ones (characters are no source).
constexpr const char* kSourceFormats[] = {"f16",    "bf16",   "f32",    "f64",      "i8",   "u16",
                                          "i32",    "u64",    "e4m3fn", "e4m3fnuz", "e5m2", "e5m2fnuz",
                                          "e2m3fn", "e3m2fn", "e2m1fn", "e8m0fnu"};
constexpr std::size_t kSourceCount = sizeof kSourceFormats / sizeof kSourceFormats[0];

[[noreturn]] void Fail(const char* what, const cv::ExplainFormat& format, const std::string& text) {
    std::fprintf(stderr, "FAILED: %s (format %s, value \"%s\")\n", what, format.name.c_str(), text.c_str());
    std::abort();
}

void ExpectBits(const cv::ExplainFormat& format, const std::string& text, uint64_t bits, const char* what) {
    cv::ExplainedValue again;
    if (!cv::ParseExplainValue(format, text.data(), text.size(), &again) || again.bits != bits)
        Fail(what, format, text);
}

void CheckReadBack(const cv::ExplainFormat& format, const cv::ExplainedValue& value) {
    std::string text = "0x";
    cv::AppendHexBits(value.bits, format.width, &text);
    ExpectBits(format, text, value.bits, "hex does not read back");
    text.clear();
    if (format.kind == cv::ExplainKind::kFloat) {
        cv::AppendShortest(format.layout, value.bits, &text);
        ExpectBits(format, text, value.bits, "shortest does not read back");
        if (!cv::IsFinite(cv::DecodeFloat(format.layout, value.bits))) return;
        text.clear();
        cv::AppendExactValue(format.layout, value.bits, &text);
        ExpectBits(format, text, value.bits, "exact does not read back");
    } else if (format.kind != cv::ExplainKind::kCharacters) {
        const int shift = kMaxWidth - format.width;
        const bool isSigned = format.kind == cv::ExplainKind::kSignedInteger;
        const int64_t reading = static_cast<int64_t>(value.bits << shift) >> shift;
        text = isSigned ? std::to_string(reading) : std::to_string(value.bits);
        ExpectBits(format, text, value.bits, "decimal reading does not read back");
    }
}

// An inspected run's output, like an explanation's JSON line, stays plain ASCII.
void Inspect(const std::string& run) {
    std::string out;
    std::string error;
    for (bool json : {false, true}) {
        out.clear();
        if (!cv::AppendInspection(run, json, &out, &error) && error.empty()) {
            std::fprintf(stderr, "FAILED: inspect refused \"%s\" without a reason\n", run.c_str());
            std::abort();
        }
    }
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x20 || c >= 0x7F) {
            std::fprintf(stderr, "FAILED: inspect's JSON line has a raw control or non-ASCII byte\n");
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    if (data[0] == kInspectChoice) {
        Inspect(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
        return 0;
    }
    std::string name;
    if (data[0] < kNamedCount) {
        name = kNamedFormats[data[0]];
    } else {
        const int exponentBits = kMinExponentBits + data[1] % kExponentChoices;
        const int mantissaBits = 1 + data[2] % (kMaxWidth - 1 - exponentBits);
        const char* suffix = kLayoutSuffixes[data[1] / kExponentChoices % 4];
        name = "fp:" + std::to_string(exponentBits) + ":" + std::to_string(mantissaBits) + suffix;
    }
    cv::ExplainFormat format;
    if (!cv::ParseExplainFormat(name, &format)) Fail("format refused", format, name);
    cv::ExplainOptions options;
    const int mode = data[3] & 7;
    options.rounding =
        cv::Rounding(mode < kModeCount ? kModes[mode] : cv::RoundingMode::kEven, (data[3] & 8) != 0);
    options.roundIntegers = mode < kModeCount;
    options.namesRounding = options.roundIntegers || options.rounding.saturate;
    cv::ExplainFormat source;
    const std::size_t sourceChoice = data[3] >> 4;
    if (sourceChoice != 0 && format.kind != cv::ExplainKind::kCharacters) {
        cv::ParseExplainFormat(kSourceFormats[(sourceChoice - 1) % kSourceCount], &source);
        options.source = &source;
    }
    if (format.kind == cv::ExplainKind::kCharacters) options = cv::ExplainOptions();
    const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
    cv::ExplainedValue value;
    std::string out;
    if (!text.empty() && text[0] == '=') {
        if (format.kind != cv::ExplainKind::kFloat) return 0;
        options.source = nullptr;
        const std::string line = text.substr(1);
        std::string error;
        if (!cv::AppendCalculation(format, options, line, true, false, &out, &error)) {
            if (error.empty() || !out.empty()) Fail("calc refused without a reason", format, line);
            cv::AppendJsonError(line, error, &out);
        } else {
            std::string human;
            if (!cv::AppendCalculation(format, options, line, false, false, &human, &error))
                Fail("calc answered in JSON only", format, line);
        }
    } else if (!cv::ParseExplainValue(format, text.data(), text.size(), &value, options)) {
        if (value.error.empty()) Fail("refused without a reason", format, text);
        cv::AppendJsonError(text, value.error, &out);
    } else {
        CheckReadBack(format, value);  // however the value was reached, its texts read back to it
        cv::AppendHumanReport(format, text, value, &out);
        out.clear();
        cv::AppendJsonReport(format, text, value, &out);
    }
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x20 || c >= 0x7F) Fail("JSON line with a raw control or non-ASCII byte", format, text);
    }
    return 0;
}
