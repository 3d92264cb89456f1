#include "engine/box_edit.h"

#include <cstring>

#include "engine/text_to_number.h"
#include "engine/validate.h"

namespace cv {

namespace {

void StoreLowBytes(uint64_t bits, unsigned count) {
    for (unsigned i = 0; i < count; ++i) SetByte(i, static_cast<uint8_t>(bits >> (8 * i)));
}

// The characters of WorkText, byte 0 first, and zeros after its end.
void StoreCharacters() {
    const unsigned count = ByteCount < 8 ? ByteCount : 8;
    for (unsigned i = 0; i < count; ++i) SetByte(i, 0);
    for (unsigned i = 0; i < count && WorkText[i] != '\0'; ++i) SetByte(i, static_cast<uint8_t>(WorkText[i]));
}

// An integer (modulo 2^(8 x ByteCount)) or a real (the nearest single or double) from WorkText;
// false when ByteCount is no size of the type.
bool StoreNumber() {
    if (DataType != IDM_REAL) {
        if (!TypeAllowsSize(DataType, ByteCount)) return false;
        StoreLowBytes(TextToInteger(WorkText), ByteCount);
        return true;
    }
    // Rounded once, straight to the stored width: through a double first, a text near a single's
    // half-way point could round twice and land one unit off.
    if (ByteCount == 4) {
        StoreLowBytes(TextToRealBits(WorkText, kSingleFormat), 4);
        return true;
    }
    if (ByteCount != 8) return false;
    SetValue64(TextToRealBits(WorkText, kDoubleFormat));
    return true;
}

}  // namespace

void StoreValueText(WindowRef owner) {
    switch (DataType) {
        case IDM_ANSI:
        case IDM_OEM: StoreCharacters(); return;
        case IDM_SIGNED:
        case IDM_UNSIGNED:
        case IDM_REAL:
            if (StoreNumber()) return;
            CopyText(MessageText, "Unexpected Byte Count in WndProc/");
            AppendText(MessageText, DataType == IDM_SIGNED     ? "IDM_VALUEBOX/EN_UPDATE/IDM_SIGNED"
                                    : DataType == IDM_UNSIGNED ? "IDM_VALUEBOX/EN_UPDATE/IDM_UNSIGNED"
                                                               : "IDM_VALUEBOX/EN_UPDATE/IDM_REAL");
            InternalErrorBox(owner);
            CopyText(WorkText, "Unexpected Byte Count");
            return;
        default:
            CopyText(MessageText, "Unexpected Data Type in ");
            AppendText(MessageText, "WndProc/IDM_VALUEBOX/EN_UPDATE");
            InternalErrorBox(owner);
            CopyText(WorkText, "Unexpected Data Type");
            return;
    }
}

void StoreHexText(WindowRef owner) {
    uint32_t number = 0;
    switch (ByteCount) {
        case 1:
            if (ReadHexNumber(WorkText, 2, &number)) SetByte(0, static_cast<uint8_t>(number));
            return;
        case 2:
            if (ReadHexNumber(WorkText, 4, &number)) StoreLowBytes(number, 2);
            return;
        case 4:
            if (ReadHexNumber(WorkText, 8, &number)) BitValue[0] = number;
            return;
        case 8: {
            // Left-padded with zeros to 16 digits; an empty text thus clears all 8 bytes.
            char padded[17];
            CopyText(padded, "0000000000000000");
            padded[16 - strnlen(WorkText, 16)] = '\0';
            AppendText(padded, WorkText);
            uint32_t high = 0;
            uint32_t low = 0;
            if (ReadHexNumber(padded, 8, &high) && ReadHexNumber(padded + 8, 8, &low)) {
                BitValue[1] = high;
                BitValue[0] = low;
            }
            return;
        }
        default:
            CopyText(MessageText, "Unexpected Byte Count in WndProc/");
            AppendText(MessageText, "IDM_HEXBOX/EN_UPDATE/IDM_REAL");
            InternalErrorBox(owner);
            CopyText(WorkText, "Unexpected Byte Count");
            return;
    }
}

namespace {

// After a rejection the caret goes back by the number of characters that were added.
int CaretAfterRejection(int caret, std::size_t readLength, const char* lastText) {
    const long added = static_cast<long>(readLength) - static_cast<long>(std::strlen(lastText));
    if (added > 0) caret -= static_cast<int>(added);
    return caret < 0 ? 0 : caret;
}

// An accepted text: stored into the bits, then kept as the box's last text. The copy is bounded:
// after an internal error of the store the text can be longer than the box's last text and is cut.
template <std::size_t N>
EditOutcome StoreAccepted(void (*store)(WindowRef), char (&lastText)[N], int caret, WindowRef owner) {
    const uint64_t before = Value64();
    store(owner);
    if (std::strcmp(lastText, WorkText) != 0) CopyText(lastText, WorkText);
    return EditOutcome{true, Value64() != before, caret};
}

}  // namespace

EditOutcome ValueBoxEdited(const char* boxText, int caret, WindowRef owner) {
    // Read one character more than LastValueText holds: a rendered 8-byte real may be 24
    // characters long and must come back whole, and a number longer than any rendering must be
    // seen as too long rather than cut into a number the user never typed.
    CopyText(WorkText, kValueReadSize, boxText);
    const std::size_t readLength = std::strlen(WorkText);
    EditOutcome outcome{false, false, caret};
    const bool numberTooLong =
        DataType != IDM_ANSI && DataType != IDM_OEM && readLength > kMaxValueTextLength;
    if (numberTooLong ? ReportInvalid(owner) == 0 : ValidateInput(DataType, owner) == 0) {
        outcome.caret = CaretAfterRejection(caret, readLength, LastValueText);
        return outcome;
    }
    return StoreAccepted(StoreValueText, LastValueText, caret, owner);
}

EditOutcome HexBoxEdited(const char* boxText, int caret, WindowRef owner) {
    char raw[kHexReadLimit];  // GetWindowTextA with the limit 24
    CopyText(raw, boxText);
    CopyText(WorkText, raw);
    const std::size_t width = 2 * static_cast<std::size_t>(ByteCount);
    if (width < kWorkTextSize) WorkText[width] = '\0';
    EditOutcome outcome{false, false, caret};
    if (ValidateInput(IDM_HEXBOX, owner) == 0) {
        outcome.caret = CaretAfterRejection(caret, std::strlen(raw), LastHexText);
        return outcome;
    }
    return StoreAccepted(StoreHexText, LastHexText, caret, owner);
}

}  // namespace cv
