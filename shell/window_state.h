// What only the window reads: its options of display, the focus cycle, the guards of the cells and
// of the edit boxes, and the information dialog's mode. Process-wide state of the user-interface
// thread, as the engine's value state is.
#pragma once

#include <cstdint>

namespace cv {

// Guard values of LastToggledBit and LastNibble.
constexpr int32_t kNoBit = 0x7FFFFFFF;
constexpr int32_t kNoNibble = 0x7FFFFFFF;
constexpr int32_t kNibbleAtStart = INT32_MIN;  // 0x80000000: matches no nibble

// The radio position of each byte count 0..8 (a count that is no size has the common size's).
extern uint32_t RadioOfSize[9];
extern uint32_t ColorBits;
extern uint32_t ShadeExponent;
extern uint32_t FocusIndex;
extern int32_t LastToggledBit;
extern int32_t LastNibble;
extern uint32_t EditArmed;  // the edit echo guard: 0 while the next EN_UPDATE is the program's own
extern uint32_t InfoMode;

// Gives every variable above its start value (colours and shading on, guards clear); start-up
// calls it together with the engine's ResetState.
void ResetWindowState();

// Whether this EN_UPDATE is only the echo of the program's own SetWindowTextA. When EditArmed is 0
// it arms it and returns true: the notification must be ignored.
bool SwallowEditEcho();

}  // namespace cv
