// Corvane's own help text and viewer, shown where no help file exists.
#pragma once

#include <string>
#include <string_view>

#include "shell/resources/help_text.h"

namespace cv {

// The help text compiled into the program (the CV_HELPTEXT resource); empty when it is missing.
std::string_view HelpResourceText();

}  // namespace cv
