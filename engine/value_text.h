// The value-box and hex-box texts rendered from the bits, and the special-real classification.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/value_state.h"

namespace cv {

// The value box's text: composed in WorkText by DataType and ByteCount, then copied into out
// (size bytes, bounded; the window passes LastValueText). Internal errors are reported to owner.
void RenderValueText(char* out, std::size_t size, WindowRef owner);

// The hex box's text: composed in WorkText by ByteCount (uppercase, exactly 2 x ByteCount digits),
// then copied into out (size bytes, bounded; the window passes LastHexText). After the internal
// error of an unexpected ByteCount, WorkText holds "Unexpected Byte Count" and out as much of it as
// fits (19 characters of LastHexText).
void RenderHexText(char* out, std::size_t size, WindowRef owner);

// The IDM_SHADE mode of ValidateInput: 1 for a normal real (WorkText untouched), 0 for a special
// one with its text ("+0.0", "-Infinity", ...) in WorkText. ByteCount must be 4 or 8, else an
// internal error and 0.
unsigned ClassifyReal(WindowRef owner);

}  // namespace cv
