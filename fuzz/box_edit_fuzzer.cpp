// libFuzzer target: arbitrary texts typed into the value box and the hex box, in every data type
// and size, from arbitrary bits. Each edit is checked against an independent reading of the text:
// what it must be judged, what it must store, and that a rejection changes nothing.
//
// Input: byte 0 picks the type and size, byte 1 the box (bit 0) and ErrorBoxes (bit 1), bytes 2..9
// are the bits before the edit, 10..11 the caret, 12..13 a cell word for the bit information; the
// rest, up to its first NUL, is the box's text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/bit_info.h"
#include "engine/box_edit.h"
#include "engine/text_to_number.h"
#include "engine/value_state.h"
#include "engine/value_text.h"
#include "number/float_parse.h"
#include "tests/engine/alert_recorder.h"

namespace {

using cv::ByteCount;
using cv::DataType;

constexpr const char* kOutOfRange = "Corvane Input Error - Out of Range";
constexpr const char* kInvalid = "Corvane Input Error - Invalid Value";
constexpr std::size_t kHeaderSize = 14;
// What the box handlers read of a box: the value box one character more than LastValueText holds
// (a longer number is refused whole), the hex box 23 characters (GetWindowTextA with 24).
constexpr std::size_t kValueTextMax = cv::kLastValueTextSize - 1;
constexpr std::size_t kValueReadMax = kValueTextMax + 1;
constexpr std::size_t kHexReadMax = 23;
constexpr double kSingleLimit = 3.40282346639e38;

struct Combination {
    uint32_t dataType;
    uint32_t byteCount;
};

constexpr Combination kCombinations[] = {
    {IDM_ANSI, 1},     {IDM_ANSI, 2},     {IDM_ANSI, 4},   {IDM_ANSI, 8},
    {IDM_OEM, 1},      {IDM_OEM, 2},      {IDM_OEM, 4},    {IDM_OEM, 8},
    {IDM_SIGNED, 1},   {IDM_SIGNED, 2},   {IDM_SIGNED, 4}, {IDM_UNSIGNED, 1},
    {IDM_UNSIGNED, 2}, {IDM_UNSIGNED, 4}, {IDM_REAL, 4},   {IDM_REAL, 8},
};
constexpr std::size_t kCombinationCount = sizeof kCombinations / sizeof kCombinations[0];

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "FAILED: %s (type %u, size %u, text \"%s\")\n", what, DataType, ByteCount,
                 text.c_str());
    std::abort();
}

void Check(bool condition, const char* what, const std::string& text) {
    if (!condition) Fail(what, text);
}

// Every shared buffer still ends within its size.
void CheckBuffers(const std::string& text) {
    Check(strnlen(cv::WorkText, cv::kWorkTextSize) < cv::kWorkTextSize, "WorkText unterminated", text);
    Check(strnlen(cv::MessageText, cv::kMessageTextSize) < cv::kMessageTextSize, "MessageText unterminated",
          text);
    Check(strnlen(cv::LastValueText, cv::kLastValueTextSize) < cv::kLastValueTextSize,
          "LastValueText unterminated", text);
    Check(strnlen(cv::LastHexText, cv::kLastHexTextSize) < cv::kLastHexTextSize, "LastHexText unterminated",
          text);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a') return c - 'a' + 10;
    return c - 'A' + 10;
}

// The syntax of a typed real: [sign] digits [. digits [letter [sign] digits]], at least one digit
// around the point once there is one.
bool RealSyntax(const char* t, bool doubleLetters) {
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    std::size_t digits = 0;
    while (IsDigit(t[i])) ++i, ++digits;
    if (t[i] == '\0') return true;
    if (t[i] != '.') return false;
    ++i;
    while (IsDigit(t[i])) ++i, ++digits;
    if (digits == 0) return false;
    if (t[i] == '\0') return true;
    const char letter = t[i];
    const bool isLetter =
        letter == 'e' || letter == 'E' || (doubleLetters && (letter == 'd' || letter == 'D'));
    if (!isLetter) return false;
    ++i;
    if (t[i] == '+' || t[i] == '-') ++i;
    while (IsDigit(t[i])) ++i;
    return t[i] == '\0';
}

bool IntegerSyntax(const char* t, bool sign) {
    std::size_t i = 0;
    if (sign && (t[i] == '+' || t[i] == '-')) ++i;
    while (IsDigit(t[i])) ++i;
    return t[i] == '\0';
}

// The verdict the value box must give: nullptr to accept, else the input-error title.
const char* ExpectedValueVerdict(const std::string& t) {
    const double x = cv::TextToDouble(t.c_str());
    switch (DataType) {
        case IDM_ANSI:
        case IDM_OEM: return nullptr;
        case IDM_SIGNED: {
            const double low = -std::ldexp(1.0, 8 * ByteCount - 1);
            const double high = std::ldexp(1.0, 8 * ByteCount - 1) - 1;
            if (x > high || x < low) return kOutOfRange;
            return IntegerSyntax(t.c_str(), true) ? nullptr : kInvalid;
        }
        case IDM_UNSIGNED:
            if (x > std::ldexp(1.0, 8 * ByteCount) - 1) return kOutOfRange;
            return IntegerSyntax(t.c_str(), false) ? nullptr : kInvalid;
        default:
            if (ByteCount == 4 && (x > kSingleLimit || x < -kSingleLimit)) return kOutOfRange;
            return RealSyntax(t.c_str(), ByteCount == 8) ? nullptr : kInvalid;
    }
}

// An accepted 4-byte real is its text rounded once to single precision, as explain reads it: the
// text without an exponent letter or sign that has no digits after it; +0 without any digit.
uint64_t ExpectedSingleBits(const std::string& t) {
    std::string text = t;
    while (!text.empty() && std::strchr("eE+-", text.back()) != nullptr) text.pop_back();
    if (text.find_first_of("0123456789") == std::string::npos) return 0;
    cv::DecimalNumber number;
    Check(cv::ParseDecimal(text.data(), text.size(), &number), "an accepted real explain cannot read", t);
    return cv::ConvertDecimal(cv::kSingleFormat, number).bits;
}

// The bits an accepted value-box text gives: only the low ByteCount bytes of before change.
uint64_t ExpectedValueBits(const std::string& t, uint64_t before) {
    const uint64_t viewMask = ByteCount == 8 ? ~0ull : (1ull << (8 * ByteCount)) - 1;
    uint64_t stored = 0;
    switch (DataType) {
        case IDM_ANSI:
        case IDM_OEM:
            for (std::size_t i = 0; i < t.size() && i < ByteCount; ++i) {
                stored |= static_cast<uint64_t>(static_cast<uint8_t>(t[i])) << (8 * i);
            }
            break;
        case IDM_SIGNED:
        case IDM_UNSIGNED: stored = cv::TextToInteger(t.c_str()); break;
        default:
            if (ByteCount == 4) {
                stored = ExpectedSingleBits(t);
            } else {
                const double value = cv::TextToDouble(t.c_str());
                std::memcpy(&stored, &value, sizeof stored);
            }
            break;
    }
    return (before & ~viewMask) | (stored & viewMask);
}

void CheckRejection(const cv::AlertRecorder& alerts, const cv::EditOutcome& outcome, uint64_t before,
                    const std::string& lastBefore, const char* lastNow, int caret, std::size_t readLength,
                    const char* expectedTitle, const std::string& text) {
    Check(!outcome.bitsChanged, "a rejection reports changed bits", text);
    Check(cv::Value64() == before, "a rejection changed the bits", text);
    Check(lastBefore == lastNow, "a rejection changed the box's last text", text);
    Check(alerts.Beeps() == 1, "a rejection must beep once", text);
    if (cv::ErrorBoxes) {
        Check(alerts.Boxes() == 1 && alerts.LastTitle() == expectedTitle, "wrong input-error box", text);
    } else {
        Check(alerts.Boxes() == 0, "a box with ErrorBoxes off", text);
    }
    const long added = static_cast<long>(readLength) - static_cast<long>(lastBefore.size());
    // A caret that stood before the added characters (impossible when typing) stops at 0.
    int wantCaret = added > 0 ? caret - static_cast<int>(added) : caret;
    if (wantCaret < 0) wantCaret = 0;
    Check(outcome.caret == wantCaret, "caret not moved back by the added length", text);
}

void EditValueBox(cv::AlertRecorder& alerts, const std::string& boxText, int caret) {
    const std::string read = boxText.substr(0, kValueReadMax);
    const bool characters = DataType == IDM_ANSI || DataType == IDM_OEM;
    const std::string judged = characters ? read.substr(0, ByteCount) : read;
    const char* verdict =
        !characters && read.size() > kValueTextMax ? kInvalid : ExpectedValueVerdict(judged);
    const uint64_t before = cv::Value64();
    const std::string lastBefore = cv::LastValueText;

    const cv::EditOutcome outcome = cv::ValueBoxEdited(boxText.c_str(), caret, nullptr);
    Check(alerts.InternalError().empty(), "internal error from a valid type and size", boxText);
    Check(outcome.accepted == (verdict == nullptr), "wrong verdict", boxText);
    if (!outcome.accepted) {
        CheckRejection(alerts, outcome, before, lastBefore, cv::LastValueText, caret, read.size(), verdict,
                       boxText);
        return;
    }
    Check(alerts.Beeps() == 0 && alerts.Boxes() == 0, "an accepted text beeped", boxText);
    Check(judged == cv::LastValueText, "the accepted text is not the box's last text", boxText);
    const uint64_t want = ExpectedValueBits(judged, before);
    Check(cv::Value64() == want, "the bits differ from the parsed text", boxText);
    Check(outcome.bitsChanged == (want != before), "bitsChanged is wrong", boxText);
    Check(outcome.caret == caret, "an accepted edit moved the caret", boxText);
}

void EditHexBox(cv::AlertRecorder& alerts, const std::string& boxText, int caret) {
    const std::string read = boxText.substr(0, kHexReadMax);
    const std::string judged = read.substr(0, 2 * ByteCount);
    bool hex = true;
    for (char c : judged) hex = hex && IsHexDigit(c);
    const uint64_t before = cv::Value64();
    const std::string lastBefore = cv::LastHexText;

    const cv::EditOutcome outcome = cv::HexBoxEdited(boxText.c_str(), caret, nullptr);
    Check(alerts.InternalError().empty(), "internal error from a valid size", boxText);
    Check(outcome.accepted == hex, "wrong hex verdict", boxText);
    if (!outcome.accepted) {
        CheckRejection(alerts, outcome, before, lastBefore, cv::LastHexText, caret, read.size(), kInvalid,
                       boxText);
        return;
    }
    Check(alerts.Beeps() == 0 && alerts.Boxes() == 0, "an accepted hex text beeped", boxText);
    Check(judged == cv::LastHexText, "the accepted hex text is not the box's last text", boxText);
    uint64_t want = before;
    if (!judged.empty() || ByteCount == 8) {
        uint64_t number = 0;
        for (char c : judged) number = number << 4 | static_cast<uint64_t>(HexDigitValue(c));
        const uint64_t viewMask = ByteCount == 8 ? ~0ull : (1ull << (8 * ByteCount)) - 1;
        want = (before & ~viewMask) | number;
    }
    Check(cv::Value64() == want, "the bits differ from the hex text", boxText);
    Check(outcome.bitsChanged == (want != before), "hex bitsChanged is wrong", boxText);
}

cv::AlertRecorder alerts(false);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) return 0;
    const Combination& combination = kCombinations[data[0] % kCombinationCount];
    const bool hexBox = (data[1] & 1) != 0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(data[2 + i]) << (8 * i);
    const int caret = data[10] | (data[11] << 8);
    const uint32_t cellWord = static_cast<uint32_t>(data[12] | (data[13] << 8));
    // A box's text ends at its first NUL.
    const char* textStart = reinterpret_cast<const char*>(data + kHeaderSize);
    const std::string boxText(textStart, strnlen(textStart, size - kHeaderSize));

    cv::SetAlerts(&alerts);
    cv::ResetState();
    cv::ErrorBoxes = (data[1] & 2) != 0 ? 1 : 0;
    DataType = combination.dataType;
    ByteCount = combination.byteCount;
    cv::SetValue64(bits);
    // The boxes show what the window last rendered.
    cv::RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
    cv::RenderHexText(cv::LastHexText, sizeof cv::LastHexText, nullptr);
    alerts.Clear();

    if (hexBox) {
        EditHexBox(alerts, boxText, caret);
    } else {
        EditValueBox(alerts, boxText, caret);
    }
    CheckBuffers(boxText);

    // The texts that follow an edit: the other box, the bit information and the report.
    cv::RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
    cv::RenderHexText(cv::LastHexText, sizeof cv::LastHexText, nullptr);
    cv::InfoBox(nullptr, cellWord, cellWord >> 15 & 1);
    Check(alerts.InternalError().empty(), "internal error while rendering", boxText);
    char report[cv::kReportSize];
    cv::ComposeReport(boxText.c_str(), cv::LastValueText, boxText.c_str(), report);
    Check(std::strlen(report) < cv::kReportSize, "report overran", boxText);
    CheckBuffers(boxText);
    cv::SetAlerts(nullptr);
    return 0;
}
