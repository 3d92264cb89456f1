// Judging and storing what the user types into the value box and the hex box.
#pragma once

#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// Judges WorkText in the given mode (a data type 201..205, IDM_HEXBOX, or IDM_SHADE for the real
// classification). 1 accepts, 0 rejects (after the beep and, with ErrorBoxes on, the input-error box).
unsigned ValidateInput(uint32_t mode, WindowRef owner);

// The conversions, as the program defines them (not as a C runtime happens to behave).
double TextToDouble(const char* text);    // "d"/"D" exponents too; no hex floats, no inf/nan words
uint32_t TextToInteger(const char* text);  // wraps modulo 2^32
// Reads at most maxDigits hex digits at the start of text; false if there is none.
bool ReadHexNumber(const char* text, unsigned maxDigits, uint32_t* number);

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
