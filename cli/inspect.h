// `corvane-cli inspect`: a run of bytes as it lies in memory, read as every integer and float type
// that fits it, in both byte orders.
#pragma once

#include <string>

namespace cv {

// Appends the readings of one run of BYTES (its text) as the human table or one JSON line; false
// for a refused run, with *error saying why (and with json its {"input","error"} line appended).
bool AppendInspection(const std::string& input, bool json, std::string* out, std::string* error);

// `corvane-cli inspect [--json] [BYTES]...` with args the words after "inspect". Returns the exit
// status: 0, 1 when a run was refused, 2 for a bad option.
int RunInspect(int count, const char* const* args);

}  // namespace cv
