#include "engine/value_text.h"

#include <cstring>

#include "number/format_real.h"
#include "number/digits.h"
#include "number/ieee754.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kSingleDigits = 12;
constexpr int kDoubleDigits = 20;

// Uppercase hexadecimal of the low 4*digits bits, zero-padded to exactly `digits` characters.
void WriteHex(uint32_t number, int digits, char* out) {
    WriteHexDigits(number, digits, out);
    out[digits] = '\0';
}

// The low ByteCount bytes as characters, byte 0 first; a zero byte shows as a space.
void RenderCharacters() {
    unsigned n = 0;
    for (; n < ByteCount && n < 8; ++n) {
        const uint8_t byte = GetByte(n);
        WorkText[n] = byte == 0 ? ' ' : static_cast<char>(byte);
    }
    WorkText[n] = '\0';
}

void RenderSigned(WindowRef owner) {
    int32_t number;
    switch (ByteCount) {
        case 1: number = static_cast<int8_t>(GetByte(0)); break;
        case 2: number = static_cast<int16_t>(BitValue[0] & 0xFFFFu); break;
        case 4: number = static_cast<int32_t>(BitValue[0]); break;
        default: ReportInternalError(owner, "Unexpected Byte Count in WndProc/IDM_SIGNED"); return;
    }
    FormatDecimal(number, 1, WorkText, sizeof WorkText);
}

void RenderUnsigned(WindowRef owner) {
    uint32_t number;
    switch (ByteCount) {
        case 1: number = BitValue[0] & 0xFFu; break;
        case 2: number = BitValue[0] & 0xFFFFu; break;
        case 4: number = BitValue[0]; break;
        default: ReportInternalError(owner, "Unexpected Byte Count in WndProc/IDM_UNSIGNED"); return;
    }
    FormatDecimal(number, 1, WorkText, sizeof WorkText);
}

void RenderReal(WindowRef owner) {
    if (ClassifyReal(owner) == 0) return;  // the special text is in WorkText already
    switch (ByteCount) {
        case 4: {
            float single;
            std::memcpy(&single, &BitValue[0], sizeof single);
            FormatReal(static_cast<double>(single), kSingleDigits, WorkText, kWorkTextSize);
            break;
        }
        case 8: {
            const uint64_t bits = Value64();
            double real;
            std::memcpy(&real, &bits, sizeof real);
            FormatReal(real, kDoubleDigits, WorkText, kWorkTextSize);
            break;
        }
        default: ReportInternalError(owner, "Unexpected Byte Count in WndProc/IDM_REAL"); break;
    }
}

}  // namespace

void RenderValueText(char* out, std::size_t size, WindowRef owner) {
    switch (DataType) {
        case IDM_ANSI:
        case IDM_OEM: RenderCharacters(); break;
        case IDM_SIGNED: RenderSigned(owner); break;
        case IDM_UNSIGNED: RenderUnsigned(owner); break;
        case IDM_REAL: RenderReal(owner); break;
        default:
            ReportInternalError(owner, "Unexpected Data Type in WndProc/WM_RECALCVALUEBOX");
            CopyText(WorkText, "Unexpected Data Type");
            break;
    }
    CopyText(out, size, WorkText);
}

void RenderHexText(char* out, std::size_t size, WindowRef owner) {
    switch (ByteCount) {
        case 1: WriteHex(BitValue[0], 2, WorkText); break;
        case 2: WriteHex(BitValue[0], 4, WorkText); break;
        case 4: WriteHex(BitValue[0], 8, WorkText); break;
        case 8:
            WriteHex(BitValue[1], 8, WorkText);
            WriteHex(BitValue[0], 8, WorkText + 8);
            break;
        default:
            ReportInternalError(owner, "Unexpected Byte Count in WndProc/WM_RECALCHEXBOX");
            CopyText(WorkText, "Unexpected Byte Count");
            break;
    }
    // Bounded: the error text is longer than LastHexText holds and is cut to 19 characters.
    CopyText(out, size, WorkText);
}

unsigned ClassifyReal(WindowRef owner) {
    const BinaryFormat* format = RealFormat(ByteCount);
    if (format == nullptr) {
        ReportInternalError(owner, "Unexpected Byte Count in ValidateInput/IDM_SHADE");
        return 0;
    }
    // A single's fields lie in the low half; the high half does not count.
    const uint64_t bits = Value64();
    const uint64_t exponent = bits & format->ExponentMask();
    if (exponent != 0 && exponent != format->ExponentMask()) return 1;
    const bool fractionZero = (bits & format->MantissaMask()) == 0;
    CopyText(WorkText, (bits & format->SignMask()) != 0 ? "-" : "+");
    if (exponent == 0) {
        AppendText(WorkText, fractionZero ? "0.0" : "Denormalized Number");
    } else {
        AppendText(WorkText, fractionZero ? "Infinity" : "Not a Number");
    }
    return 0;
}

}  // namespace cv
