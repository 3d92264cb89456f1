// `corvane-cli inspect`: a run of bytes as it lies in memory, read as every integer and float type
// that fits it, in both byte orders.
#pragma once

namespace cv {

// `corvane-cli inspect [--json] [BYTES]...` with args the words after "inspect". Returns the exit
// status: 0, 1 when a run was refused, 2 for a bad option.
int RunInspect(int count, const char* const* args);

}  // namespace cv
