// `corvane-cli explain`: any integer, character or IEEE binary format explained bit by bit.
#pragma once

#include <cstdint>

namespace cv {

// `corvane-cli explain [--json] FORMAT [VALUE]...` with args the words after "explain". Returns the
// exit status: 0, 1 when a value was refused, 2 for a bad FORMAT or option, 4 when writing failed.
int RunExplain(int count, const char* const* args);

// The `explain` command of a script: the current value in the current data type and size.
void ExplainCurrentValue(uint32_t dataType, uint32_t byteCount, uint64_t bits);

}  // namespace cv
