// Operations directly on the bits of the view (the low ByteCount bytes of BitValue). They take no
// notice of DataType; the shifts, fills and inversion never change a byte above the view, while
// ToggleBit inverts the bit it is given wherever it lies.
#pragma once

#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// Keys understood by MoveFocusBit; the values are the Windows virtual-key codes.
constexpr unsigned kKeyEnd = 0x23;    // VK_END
constexpr unsigned kKeyHome = 0x24;   // VK_HOME
constexpr unsigned kKeyLeft = 0x25;   // VK_LEFT
constexpr unsigned kKeyUp = 0x26;     // VK_UP
constexpr unsigned kKeyRight = 0x27;  // VK_RIGHT
constexpr unsigned kKeyDown = 0x28;   // VK_DOWN

// Shift the view one place towards bit W-1 / bit 0; what enters depends on ShiftMode.
// A ByteCount other than 1, 2, 4, 8 leaves BitValue alone and reports an internal error
// ("Unexpected Byte Count in IDM_BITSHIFTL" / "...IDM_BITSHIFTR") with owner as the box's owner.
void ShiftBitsLeft(WindowRef owner);
void ShiftBitsRight(WindowRef owner);
// Every byte of the view becomes fill (0x00 or 0xFF).
void FillBits(uint8_t fill);
// Every byte of the view is inverted.
void FlipBits();
// Bit n (0..63) of BitValue is inverted, whatever ByteCount is.
void ToggleBit(int n);
// New FocusBit for the key, taken modulo the bits in view.
void MoveFocusBit(unsigned key);

}  // namespace cv
