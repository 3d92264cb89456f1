// The one value under view, how it is seen, the user's options and the shared text buffers.
// Process-wide state owned by the user-interface thread; every routine reads and writes it directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/value_ids.h"
#include "number/ieee754.h"
#include "number/text_copy.h"  // the buffers below are filled with these

namespace cv {

// Opaque owner window of a message box (an HWND in the shell, anything in tests).
using WindowRef = void*;

// Sizes of the text buffers, terminator included.
constexpr std::size_t kWorkTextSize = 64;
constexpr std::size_t kMessageTextSize = 240;
constexpr std::size_t kLastValueTextSize = 36;
constexpr std::size_t kLastHexTextSize = 20;

// BitValue[0] is the low half (bytes 0..3), BitValue[1] the high half (bytes 4..7).
extern uint32_t BitValue[2];
extern uint32_t DataType;   // IDM_ANSI .. IDM_REAL; 0 until start-up selects IDM_SIGNED
extern uint32_t ByteCount;  // 1, 2, 4 or 8

extern uint32_t ShiftMode;  // 0, IDM_SHIFT0, IDM_SHIFT1 or IDM_ROTATE
extern uint32_t ErrorBoxes;

extern int32_t FocusBit;

extern char WorkText[kWorkTextSize];
extern char MessageText[kMessageTextSize];
extern char LastValueText[kLastValueTextSize];
extern char LastHexText[kLastHexTextSize];

// Gives every variable above its start value (DataType 0, ByteCount 4, error boxes on, buffers
// empty).
void ResetState();

// Byte i (0..7) of BitValue, little-endian across the two halves.
uint8_t GetByte(unsigned i);
void SetByte(unsigned i, uint8_t byte);
// All 64 bits as one number, the high half on top.
uint64_t Value64();
void SetValue64(uint64_t value);

// The type's caption suffix (" - Signed Integer", ...), or "" for an id that is no data type.
const char* CaptionSuffix(uint32_t dataType);
// ---- The rules of the type and size commands ----
// The byte counts of the radio buttons "1", "2", "4", "8", by position.
constexpr int kRadioCount = 4;
constexpr uint32_t kSizeOfRadio[kRadioCount] = {1, 2, 4, 8};
// The size every data type allows: where a type change goes from a size the new type does not.
constexpr uint32_t kCommonSize = 4;
// Whether byteCount is one of the four sizes.
bool IsByteCount(uint32_t byteCount);
// Whether the data type allows the byte count.
bool TypeAllowsSize(uint32_t dataType, uint32_t byteCount);
// The byte count after choosing dataType: the current one when the type allows it, else kCommonSize.
uint32_t SizeAfterTypeChange(uint32_t dataType, uint32_t byteCount);
// The IEEE format of a real of byteCount bytes (4: single, 8: double); nullptr for other counts.
const BinaryFormat* RealFormat(uint32_t byteCount);
// The radio the arrow keys choose from the radio at position: the next (forward) or the previous
// size that the data type allows, wrapping at both ends; -1 when the type allows none (no type yet).
int RadioAfterArrow(uint32_t dataType, uint32_t position, bool forward);

// The engine's only ways out: a beep and a message box. The shell implements them with
// MessageBeep(0) and MessageBoxA; tests with a recorder.
class Alerts {
public:
    virtual ~Alerts() = default;
    virtual void Beep() = 0;
    virtual int ShowMessage(WindowRef owner, const char* text, const char* title, unsigned style) = 0;
};

constexpr unsigned kIconInformation = 0x40;  // MB_ICONINFORMATION: one "OK" button

// Installs the alert sink (nullptr restores the silent default).
void SetAlerts(Alerts* alerts);
Alerts& CurrentAlerts();

// The title of every internal-error box.
constexpr char kInternalErrorTitle[] = "Corvane Internal Error";
// Three beeps and a box with MessageText under kInternalErrorTitle. Returns 0.
int InternalErrorBox(WindowRef owner);
// Copies text into MessageText (bounded) and calls InternalErrorBox.
void ReportInternalError(WindowRef owner, const char* text);

}  // namespace cv
