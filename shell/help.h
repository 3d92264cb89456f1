// Corvane's own help text and viewer, shown where no help file exists.
#pragma once

#include <string>
#include <string_view>

#include "shell/resources/help_text.h"

namespace cv {

// The help text compiled into the program (the CV_HELPTEXT resource); empty when it is missing.
std::string_view HelpResourceText();

// The compiled-in help text as strings, parsed once. The viewer keeps its own fixed tables; this
// is for the tests, which check the viewer against it.
inline const HelpText& CorvaneHelpText() {
    static const HelpText help = ParseHelpText(HelpResourceText());
    return help;
}

}  // namespace cv
