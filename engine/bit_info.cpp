#include "engine/bit_info.h"

#include <cstring>

#include "number/format_real.h"
#include "number/ieee754.h"
#include "engine/value_text.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

enum class RealPart { Sign, Exponent, Mantissa };

constexpr const char* kSignBitText = "Value when set:  Sign bit (Negative)";
// A bit's power of two is written with the precision of 8-byte reals, also for a 4-byte real.
constexpr int kBitValueDigits = 20;

// The number as %d (or %02d with minDigits 2) would write it.
template <std::size_t N>
void AppendInteger(char (&dest)[N], int64_t value, int minDigits = 1) {
    char number[kMaxDecimalDigits + 2];
    FormatDecimal(value, minDigits, number, sizeof number);
    AppendText(dest, number);
}

template <std::size_t N>
void AppendUnsigned(char (&dest)[N], uint64_t value) {
    char number[kMaxDecimalDigits + 1];
    *WriteDecimal(value, 1, number) = '\0';
    AppendText(dest, number);
}

// The double 2**p, exact for every p a mantissa bit can have (-1074 .. 1023); below -1022 it is the
// subnormal with the one fraction bit of that weight.
double PowerOfTwo(int p) {
    constexpr BinaryFormat kFormat = kDoubleFormat;
    uint64_t bits = 0;
    if (p >= kFormat.MinNormalExponent() && p <= kFormat.MaxExponent()) {
        bits = static_cast<uint64_t>(p + kFormat.Bias()) << kFormat.mantissaBits;
    } else if (p >= kFormat.MinSubnormalExponent() && p < kFormat.MinNormalExponent()) {
        bits = 1ull << (p - kFormat.MinSubnormalExponent());
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Whether the cells of the current size show bit n (never above bit 63, whatever ByteCount says).
bool InView(int n) {
    return n >= 0 && n < 64 && static_cast<uint32_t>(n) / 8 < ByteCount;
}

// Said for a bit that the cells of the current size do not show: its weight would mean nothing
// for the value in view (and may not even fit the 32-bit weights of the other texts).
template <std::size_t N>
void ComposeOutsidePart(char (&part)[N], int n) {
    CopyText(part, "Bit ");
    AppendInteger(part, n, 2);
    AppendText(part, " lies outside the current ");
    AppendUnsigned(part, ByteCount);
    AppendText(part, "-byte value.");
}

template <std::size_t N>
void ComposePowerPart(char (&part)[N], const char* label, int power) {
    CopyText(part, label);
    AppendText(part, " value when set:  2**");
    AppendInteger(part, power);
    AppendText(part, " = ");
    AppendUnsigned(part, 1ull << power);
}

template <std::size_t N>
void ComposeExponentPart(char (&part)[N], const BinaryFormat& format, int n, int e) {
    const int j = n - format.LowestExponentBit();
    const int x = e - format.Bias();
    CopyText(part, "Exponent value when set:  2**");
    AppendInteger(part, j);
    AppendText(part, " = ");
    AppendUnsigned(part, 1ull << j);
    AppendText(part, "\r\nTrue binary exponent:     ");
    AppendInteger(part, e);
    AppendText(part, "-");
    AppendInteger(part, format.Bias());
    AppendText(part, " = ");
    AppendInteger(part, x);
    // The places between the hidden bit and the binary point: h.dd is 0 right, 0.hd is 0 left.
    const int count = x >= 0 ? x : -x - 1;
    AppendText(part, "\r\nDecimal point:\r\n  ");
    AppendInteger(part, count);
    AppendText(part, count == 1 ? " place " : " places ");
    AppendText(part, x >= 0 ? "right" : "left");
    AppendText(part, " of the hidden bit");
}

template <std::size_t N>
void ComposeMantissaPart(char (&part)[N], const BinaryFormat& format, int n, int e) {
    const int p = e - format.Bias() + n - format.mantissaBits;
    FormatReal(PowerOfTwo(p), kBitValueDigits, WorkText, kWorkTextSize);
    CopyText(part, "Value when set: 2**");
    AppendInteger(part, p);
    AppendText(part, " = ");
    AppendText(part, WorkText);
}

// The second part for a real. False when an internal error has been reported instead; MessageText
// then holds the error text, which the dialog shows.
template <std::size_t N>
bool ComposeRealPart(char (&part)[N], WindowRef owner, int n) {
    const unsigned normal = ClassifyReal(owner);
    const BinaryFormat* format = RealFormat(ByteCount);
    if (format == nullptr) {
        // A special answer here is the classification's own error: WorkText holds no special text.
        if (normal) ReportInternalError(owner, "Unexpected Byte Count in InfoBox/Real");
        return false;
    }
    if (!InView(n)) {
        ComposeOutsidePart(part, n);
        return true;
    }
    if (!normal) {
        CopyText(part, WorkText);
        return true;
    }
    const int e = static_cast<int>((Value64() & format->ExponentMask()) >> format->mantissaBits);

    RealPart role = RealPart::Exponent;
    if (n == format->SignBit()) {
        role = RealPart::Sign;
    } else if (n < format->LowestExponentBit()) {
        role = RealPart::Mantissa;
    }
    switch (role) {
        case RealPart::Sign: CopyText(part, kSignBitText); return true;
        case RealPart::Exponent: ComposeExponentPart(part, *format, n, e); return true;
        case RealPart::Mantissa: ComposeMantissaPart(part, *format, n, e); return true;
        default: ReportInternalError(owner, "Unexpected Part Identifier in InfoBox/Real"); return false;
    }
}

// The second part, by data type. False when an internal error has been reported instead.
template <std::size_t N>
bool ComposeValuePart(char (&part)[N], WindowRef owner, int n) {
    switch (DataType) {
        case IDM_SIGNED:
            if (!InView(n)) {
                ComposeOutsidePart(part, n);
            } else if (static_cast<uint32_t>(n) == ByteCount * 8 - 1) {
                CopyText(part, kSignBitText);
            } else {
                ComposePowerPart(part, "Integer", n);
            }
            return true;
        case IDM_UNSIGNED:
            if (InView(n)) {
                ComposePowerPart(part, "Integer", n);
            } else {
                ComposeOutsidePart(part, n);
            }
            return true;
        case IDM_ANSI:
        case IDM_OEM:
            if (InView(n)) {
                ComposePowerPart(part, "Byte", n % 8);
            } else {
                ComposeOutsidePart(part, n);
            }
            return true;
        case IDM_REAL: return ComposeRealPart(part, owner, n);
        default: ReportInternalError(owner, "Unexpected Data Type in InfoBox"); return false;
    }
}

}  // namespace

int InfoBox(WindowRef owner, uint32_t cellWord, unsigned setFlag) {
    const int n = static_cast<int16_t>(cellWord & 0xFFFF);
    char text[kMessageTextSize];
    CopyText(text, "Bit number ");
    AppendInteger(text, n, 2);
    AppendText(text, setFlag ? " is set.\r\n\r\n" : " is not set.\r\n\r\n");
    char part[kMessageTextSize];
    if (!ComposeValuePart(part, owner, n)) return 0;
    AppendText(text, part);
    CopyText(MessageText, text);
    return 0;
}

void ComposeReport(const char* caption, const char* valueText, const char* hexText, char* out) {
    static_assert(kReportValueChars <= kReportCaptionChars && kReportHexChars <= kReportCaptionChars,
                  "cut holds every part");
    char cut[kReportCaptionChars + 1];

    CopyText(cut, kReportCaptionChars + 1, caption);
    CopyText(out, kReportSize, cut);
    AppendText(out, kReportSize, "\r\n\r\n");
    AppendText(out, kReportSize, kReportValueLabel);
    CopyText(cut, kReportValueChars + 1, valueText);
    AppendText(out, kReportSize, cut);
    AppendText(out, kReportSize, "\r\nHex:\t");
    CopyText(cut, kReportHexChars + 1, hexText);
    AppendText(out, kReportSize, cut);
    AppendText(out, kReportSize, "\r\n\r\nBinary:\t");

    // One character per bit, most significant first; an 8-byte value shows the low half on the
    // first line, as the upper row of cells does.
    const uint32_t bitCount = ByteCount < 8 ? ByteCount * 8 : 64;
    const uint64_t value = Value64();
    char bits[64 + 3 + 1];
    std::size_t pos = 0;
    const int lowTop = bitCount > 32 ? 31 : static_cast<int>(bitCount) - 1;
    for (int n = lowTop; n >= 0; --n) bits[pos++] = (value >> n) & 1 ? '1' : '0';
    if (bitCount > 32) {
        bits[pos++] = '\r';
        bits[pos++] = '\n';
        bits[pos++] = '\t';
        for (int n = static_cast<int>(bitCount) - 1; n >= 32; --n) bits[pos++] = (value >> n) & 1 ? '1' : '0';
    }
    bits[pos] = '\0';
    AppendText(out, kReportSize, bits);
}

}  // namespace cv
