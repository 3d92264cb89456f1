#include "engine/validate.h"

#include "engine/text_to_number.h"
#include "engine/value_text.h"

namespace cv {

namespace {

void ReportInputError(WindowRef owner, const char* middle, const char* title) {
    CurrentAlerts().Beep();
    if (ErrorBoxes != 1) return;
    CopyText(MessageText, "The value that you are attempting to enter ");
    AppendText(MessageText, middle);
    AppendText(MessageText, "for the current data type.");
    CurrentAlerts().ShowMessage(owner, MessageText, title, kIconInformation);
}

unsigned ReportOutOfRange(WindowRef owner) {
    ReportInputError(owner, "would exceed the allowable range ", "Corvane Input Error - Out of Range");
    return 0;
}

}  // namespace

unsigned ReportInvalid(WindowRef owner) {
    ReportInputError(owner, "is not an allowable representation ", "Corvane Input Error - Invalid Value");
    return 0;
}

namespace {

bool AllDigits(const char* text) {
    for (; *text != '\0'; ++text) {
        if (!IsDigit(*text)) return false;
    }
    return true;
}

bool SignedSyntax(const char* text) {
    if (*text == '+' || *text == '-') ++text;
    return AllDigits(text);
}

bool HexSyntax(const char* text) {
    for (; *text != '\0'; ++text) {
        if (!IsHexDigit(*text)) return false;
    }
    return true;
}

bool IsExponentLetter(char c) {
    if (c == 'e' || c == 'E') return true;
    return ByteCount == 8 && (c == 'd' || c == 'D');
}

// [sign] digits, or [sign] digits "." digits (one digit at least) [letter [sign] digits].
bool RealSyntax(const char* text) {
    if (*text == '+' || *text == '-') ++text;
    int digits = 0;
    for (; IsDigit(*text); ++text) ++digits;
    if (*text == '\0') return true;
    if (*text != '.') return false;
    for (++text; IsDigit(*text); ++text) ++digits;
    if (digits == 0) return false;
    if (*text == '\0') return true;
    if (!IsExponentLetter(*text)) return false;
    ++text;
    if (*text == '+' || *text == '-') ++text;
    while (IsDigit(*text)) ++text;
    return *text == '\0';
}

struct Range {
    bool valid;  // whether the byte count is one the type allows
    bool hasLower;
    bool hasUpper;
    double lower;
    double upper;
};

Range SignedRange() {
    switch (ByteCount) {
        case 1: return {true, true, true, -128.0, 127.0};
        case 2: return {true, true, true, -32768.0, 32767.0};
        case 4: return {true, true, true, -2147483648.0, 2147483647.0};
        default: return {false, false, false, 0, 0};
    }
}

Range UnsignedRange() {
    switch (ByteCount) {
        case 1: return {true, false, true, 0, 255.0};
        case 2: return {true, false, true, 0, 65535.0};
        case 4: return {true, false, true, 0, 4294967295.0};
        default: return {false, false, false, 0, 0};
    }
}

// The twelve-digit text of the largest single-precision value, so that it can be typed back.
constexpr double kSingleRealLimit = 3.40282346639e38;

unsigned ValidateNumber(uint32_t mode, double x, WindowRef owner) {
    Range range{};
    switch (mode) {
        case IDM_SIGNED: range = SignedRange(); break;
        case IDM_UNSIGNED: range = UnsignedRange(); break;
        default:  // IDM_REAL
            if (ByteCount == 4) range = {true, true, true, -kSingleRealLimit, kSingleRealLimit};
            if (ByteCount == 8) range = {true, false, false, 0, 0};  // no range test: 1.0e999 is +infinity
            break;
    }
    if (!range.valid) {
        const char* text = mode == IDM_SIGNED     ? "Unexpected Byte Count in ValidateInput/IDM_SIGNED"
                           : mode == IDM_UNSIGNED ? "Unexpected Byte Count in ValidateInput/IDM_UNSIGNED"
                                                  : "Unexpected Byte Count in ValidateInput/IDM_REAL";
        ReportInternalError(owner, text);
        return 0;
    }
    if ((range.hasUpper && x > range.upper) || (range.hasLower && x < range.lower))
        return ReportOutOfRange(owner);
    bool syntax;
    switch (mode) {
        case IDM_SIGNED: syntax = SignedSyntax(WorkText); break;
        case IDM_UNSIGNED: syntax = AllDigits(WorkText); break;
        default: syntax = RealSyntax(WorkText); break;
    }
    return syntax ? 1 : ReportInvalid(owner);
}

}  // namespace

unsigned ValidateInput(uint32_t mode, WindowRef owner) {
    if (mode == IDM_SHADE) return ClassifyReal(owner);
    const double x = TextToDouble(WorkText);
    switch (mode) {
        case IDM_ANSI:
        case IDM_OEM:
            if (ByteCount < kWorkTextSize) WorkText[ByteCount] = '\0';
            return 1;
        case IDM_SIGNED:
        case IDM_UNSIGNED:
        case IDM_REAL: return ValidateNumber(mode, x, owner);
        case IDM_HEXBOX: return HexSyntax(WorkText) ? 1 : ReportInvalid(owner);
        default: return ReportInvalid(owner);
    }
}

}  // namespace cv
