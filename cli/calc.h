// `corvane-cli calc`: one IEEE operation in any float format, exactly: the true result, the rounded
// one, the error and the flags.
#pragma once

#include <cstddef>
#include <string>

#include "cli/explain_input.h"
#include "cli/explain_report.h"
#include "number/exact_decimal.h"

namespace cv {

// `corvane-cli calc [--json] [--round MODE] [--saturate] FORMAT [OPERATION]...` with args the words
// after "calc". Returns the exit status: 0, 1 when an operation was refused, 2 for a bad FORMAT or
// option, 4 when writing failed.
int RunCalc(int count, const char* const* args);

// Scratch space for calculations, kept by the caller from one to the next so that the long exact
// texts reuse their buffers.
struct CalcScratch {
    static constexpr int kMostOperands = 3;
    ExplainScratch explanation;
    ExplainedValue operands[kMostOperands];
    std::string operandExact[kMostOperands];
    std::string exactResult;
    std::string error;
    ExplainedValue rounded;
    BinarySum sum;
};

// One operation, its words separated by blanks in text, in a float format: its answer (human or one
// JSON line) appended to *out; false with the reason in *error (nothing appended) when refused.
// scratch: the caller's (nullptr: one of the call's own).
bool AppendCalculation(const ExplainFormat& format, const ExplainOptions& options, const std::string& text,
                       bool json, bool colour, std::string* out, std::string* error,
                       CalcScratch* scratch = nullptr);

}  // namespace cv
