#include "engine/value_state.h"

#include <cstring>

namespace cv {

uint32_t BitValue[2];
uint32_t DataType;
uint32_t ByteCount;

uint32_t ShiftMode;
uint32_t ErrorBoxes;

int32_t FocusBit;

char WorkText[kWorkTextSize];
char MessageText[kMessageTextSize];
char LastValueText[kLastValueTextSize];
char LastHexText[kLastHexTextSize];

void ResetState() {
    BitValue[0] = 0;
    BitValue[1] = 0;
    ErrorBoxes = 1;
    FocusBit = 0;
    DataType = 0;
    ByteCount = 4;
    ShiftMode = 0;
    WorkText[0] = '\0';
    MessageText[0] = '\0';
    LastValueText[0] = '\0';
    LastHexText[0] = '\0';
}

uint8_t GetByte(unsigned i) {
    return static_cast<uint8_t>(BitValue[i / 4] >> (8 * (i % 4)));
}

void SetByte(unsigned i, uint8_t byte) {
    const unsigned shift = 8 * (i % 4);
    uint32_t& half = BitValue[i / 4];
    half = (half & ~(0xFFu << shift)) | (static_cast<uint32_t>(byte) << shift);
}

uint64_t Value64() {
    return (static_cast<uint64_t>(BitValue[1]) << 32) | BitValue[0];
}

void SetValue64(uint64_t value) {
    BitValue[0] = static_cast<uint32_t>(value);
    BitValue[1] = static_cast<uint32_t>(value >> 32);
}

const char* CaptionSuffix(uint32_t dataType) {
    switch (dataType) {
        case IDM_ANSI: return " - ANSI Character";
        case IDM_OEM: return " - OEM Character";
        case IDM_SIGNED: return " - Signed Integer";
        case IDM_UNSIGNED: return " - Unsigned Integer";
        case IDM_REAL: return " - Floating-Point Real";
        default: return "";
    }
}

bool IsByteCount(uint32_t byteCount) {
    for (uint32_t size : kSizeOfRadio) {
        if (size == byteCount) return true;
    }
    return false;
}

bool TypeAllowsSize(uint32_t dataType, uint32_t byteCount) {
    switch (dataType) {
        case IDM_ANSI:
        case IDM_OEM: return IsByteCount(byteCount);
        case IDM_SIGNED:
        case IDM_UNSIGNED: return byteCount == 1 || byteCount == 2 || byteCount == 4;
        case IDM_REAL: return byteCount == 4 || byteCount == 8;
        default: return false;
    }
}

uint32_t SizeAfterTypeChange(uint32_t dataType, uint32_t byteCount) {
    return TypeAllowsSize(dataType, byteCount) ? byteCount : kCommonSize;
}

const BinaryFormat* RealFormat(uint32_t byteCount) {
    if (byteCount == 4) return &kSingleFormat;
    return byteCount == 8 ? &kDoubleFormat : nullptr;
}

int RadioAfterArrow(uint32_t dataType, uint32_t position, bool forward) {
    uint32_t next = position;
    for (int step = 0; step < kRadioCount; ++step) {
        next = (next + (forward ? 1 : kRadioCount - 1)) % kRadioCount;
        if (TypeAllowsSize(dataType, kSizeOfRadio[next])) return static_cast<int>(next);
    }
    return -1;
}

namespace {

class SilentAlerts : public Alerts {
public:
    void Beep() override {}
    int ShowMessage(WindowRef, const char*, const char*, unsigned) override { return 1; }
};

SilentAlerts silentAlerts;
Alerts* currentAlerts = &silentAlerts;

}  // namespace

void SetAlerts(Alerts* alerts) {
    currentAlerts = alerts ? alerts : &silentAlerts;
}

Alerts& CurrentAlerts() {
    return *currentAlerts;
}

int InternalErrorBox(WindowRef owner) {
    Alerts& alerts = CurrentAlerts();
    alerts.Beep();
    alerts.Beep();
    alerts.Beep();
    alerts.ShowMessage(owner, MessageText, kInternalErrorTitle, kIconInformation);
    return 0;
}

void ReportInternalError(WindowRef owner, const char* text) {
    CopyText(MessageText, text);
    InternalErrorBox(owner);
}

}  // namespace cv
