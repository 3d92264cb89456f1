// corvane-cli's man page, written from the program's own help texts so that the two cannot drift.
#pragma once

#include <string>
#include <vector>

namespace cv {

// One help text as `--help` prints it: "Usage: " and the synopsis on the first line, then the rest.
struct HelpText {
    std::string subcommand;  // empty for corvane-cli's own help
    std::string text;
};

// A line of help as roff text: backslashes and hyphens escaped, a leading dot or apostrophe kept
// from reading as a request, every character beyond ASCII (UTF-8) as \[uXXXX].
std::string RoffText(const std::string& line);

// The page (man macros): NAME and DESCRIPTION from the program's help, SYNOPSIS from every usage
// line, a section per subcommand, and EXIT STATUS from every help's "Exit status:" paragraph.
std::string ManPage(const HelpText& program, const std::vector<HelpText>& subcommands,
                    const std::string& version);

}  // namespace cv
