#include "shell/window_state.h"

#include "engine/value_state.h"

namespace cv {

uint32_t RadioOfSize[9];
uint32_t ColorBits;
uint32_t ShadeExponent;
uint32_t FocusIndex;
int32_t LastToggledBit;
int32_t LastNibble;
uint32_t EditArmed;
uint32_t InfoMode;

namespace {

// The position of a size's radio button; a count that is no size has the common size's.
uint32_t RadioOf(uint32_t byteCount) {
    for (uint32_t radio = 0; radio < kRadioCount; ++radio) {
        if (kSizeOfRadio[radio] == byteCount) return radio;
    }
    return RadioOf(kCommonSize);
}

}  // namespace

void ResetWindowState() {
    for (uint32_t count = 0; count < sizeof RadioOfSize / sizeof RadioOfSize[0]; ++count) {
        RadioOfSize[count] = RadioOf(count);
    }
    ColorBits = 1;
    ShadeExponent = 1;
    LastNibble = kNibbleAtStart;
    FocusIndex = 0;
    EditArmed = 0;
    InfoMode = 0;
    LastToggledBit = kNoBit;
}

bool SwallowEditEcho() {
    if (EditArmed != 0) return false;
    EditArmed = 1;
    return true;
}

}  // namespace cv
