// corvane-cli's subcommands: `corvane-cli NAME WORD...` hands the words after NAME to its run.
// The program dispatches through this one list and its man page is written from it, so a
// subcommand added here is both run and documented.
#pragma once

#include "cli/calc.h"
#include "cli/explain.h"
#include "cli/inspect.h"

namespace cv {

struct Subcommand {
    const char* name;
    // The fewest words after the name that make it the subcommand: `explain` alone is the command
    // script's explain of the current value.
    int fewestWords;
    // The words after the name; returns the exit status. `--help` prints the subcommand's usage.
    int (*run)(int count, const char* const* args);
    // Its words after the name and what it does, for the program's own --help.
    const char* synopsis;
    const char* summary;
};

inline constexpr Subcommand kSubcommands[] = {
    {"explain", 1, RunExplain, "FORMAT [VALUE]...",
     "how each VALUE is stored in FORMAT, field by field, with its exact value"},
    {"inspect", 0, RunInspect, "[BYTES]...", "what a run of bytes means in each type and byte order"},
    {"calc", 0, RunCalc, "FORMAT [OPERATION]",
     "one IEEE 754 operation, exactly: the true and rounded results, error, flags"},
};

}  // namespace cv
