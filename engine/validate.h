// Judging what the user types into the value box and the hex box: the syntax and range of each
// data type, and the input-error reports.
#pragma once

#include <cstdint>

// Typed text is converted (text_to_number.h), judged (here) and stored (box_edit.h); code that
// handles typed text gets all three with this header.
#include "engine/box_edit.h"
#include "engine/text_to_number.h"
#include "engine/value_state.h"

namespace cv {

// Judges WorkText in the given mode (a data type 201..205, IDM_HEXBOX, or IDM_SHADE for the real
// classification). 1 accepts, 0 rejects (after the beep and, with ErrorBoxes on, the input-error
// box). Any other mode is an invalid text. The range test comes before the syntax.
unsigned ValidateInput(uint32_t mode, WindowRef owner);

// The input-error report of an invalid value (the beep, and the box when ErrorBoxes is on).
// Returns 0.
unsigned ReportInvalid(WindowRef owner);

}  // namespace cv
