// Corvane's own help text and viewer, shown where no help file exists.
#pragma once

#include <string>
#include <vector>

namespace cv {

struct HelpTopic {
    std::string id;     // "contents", "usinghelp", ...
    std::string title;  // shown in the contents list and above the text
    std::string body;   // lines joined with "\r\n"
};

struct HelpIndexEntry {
    std::string keyword;
    int topic;  // index into HelpText::topics
};

struct HelpText {
    std::vector<HelpTopic> topics;               // in the order of the source
    std::vector<HelpIndexEntry> index;           // sorted by keyword, ignoring case
    int FindTopic(const std::string& id) const;  // -1 when there is none
    // The first index entry whose keyword begins with prefix (ignoring case); -1 when none.
    int FindKeyword(const char* prefix) const;
};

// Topics from the resource's source text: "@topic id|Title", "@keys a;b;c", then the lines.
HelpText ParseHelpText(const std::string& source);
// The help text compiled into the program (CV_HELPTEXT), parsed once.
const HelpText& CorvaneHelpText();

}  // namespace cv
