// Operations directly on the bits of the view (the low ByteCount bytes of BitValue). They take no
// notice of DataType; the shifts, fills and inversion never change a byte above the view, while
// ToggleBit inverts the bit it is given wherever it lies.
#pragma once

#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// The moves of FocusBit over the cells, whose row shows bit 0 on the right.
enum class FocusMove {
    kFirst,  // to bit 0
    kLast,   // to bit W-1
    kLeft,   // one bit up
    kRight,  // one bit down
    kUp,     // 8 bytes: to the other row (32 bits on); else one bit up
    kDown,   // 8 bytes: to the other row (32 bits on); else one bit down
};

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
// New FocusBit after the move, taken modulo the bits in view.
void MoveFocusBit(FocusMove move);

}  // namespace cv
