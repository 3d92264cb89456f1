// The value-box and hex-box texts rendered from the bits, and the special-real classification.
#pragma once

#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// The text of WM_RECALCVALUEBOX: WorkText by DataType and ByteCount, then copied into
// LastValueText. Internal errors are reported to owner. The shell then sets the font and the text.
void RenderValueText(WindowRef owner);

// The text of WM_RECALCHEXBOX: WorkText by ByteCount (uppercase, exactly 2 x ByteCount digits),
// then copied into LastHexText. After the internal error of an unexpected ByteCount, WorkText holds
// "Unexpected Byte Count" and LastHexText its first 19 characters (the copy is bounded).
void RenderHexText(WindowRef owner);

// The IDM_SHADE mode of ValidateInput: 1 for a normal real (WorkText untouched), 0 for a special
// one with its text ("+0.0", "-Infinity", ...) in WorkText. ByteCount must be 4 or 8, else an
// internal error and 0.
unsigned ClassifyReal(WindowRef owner);

}  // namespace cv
