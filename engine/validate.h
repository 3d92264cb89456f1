// Judging and storing what the user types into the value box and the hex box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// GetWindowTextA limit of the hex box: at most 23 characters are read.
constexpr std::size_t kHexReadLimit = 24;
// The longest value-box text: what LastValueText holds. A longer number is refused whole (a
// character text is cut to the value's width as always); the box takes no more when typed into.
constexpr std::size_t kMaxValueTextLength = kLastValueTextSize - 1;
// The value box is read with one character more, so that a text too long shows as such.
constexpr std::size_t kValueReadSize = kMaxValueTextLength + 2;
// The most the hex box takes: what is read of it. More than 16 digits must reach the program, which
// drops the digits beyond the value's width (a digit typed into a full 8-byte box pushes one out).
constexpr std::size_t kMaxHexTextLength = kHexReadLimit - 1;

// Judges WorkText in the given mode (a data type 201..205, IDM_HEXBOX, or IDM_SHADE for the real
// classification). 1 accepts, 0 rejects (after the beep and, with ErrorBoxes on, the input-error
// box). Any other mode is an invalid text. The range test comes before the syntax.
unsigned ValidateInput(uint32_t mode, WindowRef owner);

// The conversions, as the program defines them (not as a C runtime happens to behave).
// Correctly rounded; "d"/"D" exponents too; no hex floats, no inf/nan words; leading white space
// skipped; no digit gives +0.0; beyond the double range +-infinity, below it zero.
double TextToDouble(const char* text);
uint32_t TextToInteger(const char* text);  // wraps modulo 2^32
// Reads at most maxDigits (up to 8) hex digits at the start of text; false if there is none.
bool ReadHexNumber(const char* text, unsigned maxDigits, uint32_t* number);
// The single-precision bits nearest to value (ties to even); values between the largest single
// and the half-way point to 2^128 give the largest single, not infinity.
uint32_t RoundToSingleBits(double value);

// Step 5 of the value box's EN_UPDATE: stores the accepted WorkText into the low ByteCount bytes
// by DataType. An unexpected type or size is an internal error and leaves its short text
// ("Unexpected Byte Count" / "Unexpected Data Type") in WorkText.
void StoreValueText(WindowRef owner);
// The same for the hex box: WorkText (hex digits, at most 2 x ByteCount) read right-aligned.
void StoreHexText(WindowRef owner);

// Whether this EN_UPDATE is only the echo of the program's own SetWindowTextA. When EditArmed is 0
// it arms it and returns true: the notification must be ignored.
bool SwallowEditEcho();

// The outcome of one user edit of a box (steps 2 to 6 of its EN_UPDATE).
struct EditOutcome {
    bool accepted;     // the text was accepted and stored
    bool bitsChanged;  // BitValue differs: send WM_SYNCBITCELLS, then render the other box
    int caret;         // where to put the caret (EM_SETSEL caret, caret) after restoring the text
};

// boxText is the box's whole text, caret the start of its selection (low 16 bits of EM_GETSEL).
// Afterwards the box is to show LastValueText / LastHexText (with EditArmed cleared first).
EditOutcome ValueBoxEdited(const char* boxText, int caret, WindowRef owner);
EditOutcome HexBoxEdited(const char* boxText, int caret, WindowRef owner);

}  // namespace cv
