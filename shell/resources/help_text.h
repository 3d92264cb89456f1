// The help text's one parser, shared by the program's help viewer, the tests and the tool that
// writes the user guide. Portable: no window system.
//
// Layout of help.txt: "@topic id|Title" starts a topic, "@keys a;b;c" gives its index keywords,
// every other line is the topic's text. Text before the first topic has nowhere to go.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cv {

// What ReadHelpText finds, in the order of the source.
class HelpTextReader {
public:
    virtual void OnTopic(std::string_view id, std::string_view title) = 0;
    virtual void OnKeyword(std::string_view keyword) = 0;
    // A line of the topic's text, without its line end. Blank lines before a topic's first line
    // and after its last are not reported.
    virtual void OnLine(std::string_view line) = 0;

protected:
    ~HelpTextReader() = default;
};

void ReadHelpText(std::string_view source, HelpTextReader& reader);

// The index is sorted by keyword and searched by prefix, both ignoring case.
bool LessIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// The whole help text as strings (help_topics.cpp): for the tests and the user guide.
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

HelpText ParseHelpText(std::string_view source);

}  // namespace cv
