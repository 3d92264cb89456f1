// The texts that explain one bit and report the whole value.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/value_state.h"

namespace cv {

constexpr std::size_t kReportSize = 240;

// Composes the bit information of the cell into MessageText (WorkText is scratch). Returns 0.
// The bit number is the low 16 bits of cellWord; setFlag tells whether the cell shows it set.
int InfoBox(WindowRef owner, uint32_t cellWord, unsigned setFlag);

// The datatype report of the current value into out (kReportSize bytes). The inputs are cut to
// 39, 31 and 16 characters.
void ComposeReport(const char* caption, const char* valueText, const char* hexText, char* out);

}  // namespace cv
