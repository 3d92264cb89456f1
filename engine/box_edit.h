// What one user edit of the value box or the hex box does: the text is read, judged by
// ValidateInput, stored into the bits when accepted, and the box is given its text back.
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

// Stores the accepted WorkText into the low ByteCount bytes by DataType: characters byte by
// byte, integers modulo 2^(8 x ByteCount), reals rounded to the nearest single or double. An
// unexpected type or size is an internal error and leaves its short text ("Unexpected Byte
// Count" / "Unexpected Data Type") in WorkText.
void StoreValueText(WindowRef owner);
// The same for the hex box: WorkText (hex digits, at most 2 x ByteCount) read right-aligned.
void StoreHexText(WindowRef owner);

// The outcome of one user edit of a box: what the window does after reading the text, judging,
// storing and keeping the last accepted text.
struct EditOutcome {
    bool accepted;     // the text was accepted and stored
    bool bitsChanged;  // BitValue differs: the bit cells and the other box are to follow
    int caret;         // where to put the caret (EM_SETSEL caret, caret) after restoring the text
};

// boxText is the box's whole text, caret the start of its selection (low 16 bits of EM_GETSEL).
// Afterwards the box is to show LastValueText / LastHexText.
EditOutcome ValueBoxEdited(const char* boxText, int caret, WindowRef owner);
EditOutcome HexBoxEdited(const char* boxText, int caret, WindowRef owner);

}  // namespace cv
