// The help text collected into strings, as the tests and the user guide read it.
#include <algorithm>

#include "shell/resources/help_text.h"

namespace cv {
namespace {

class Collector : public HelpTextReader {
public:
    HelpText help;

    void OnTopic(std::string_view id, std::string_view title) override {
        help.topics.push_back({std::string(id), std::string(title), std::string()});
    }
    void OnKeyword(std::string_view keyword) override {
        help.index.push_back({std::string(keyword), static_cast<int>(help.topics.size() - 1)});
    }
    void OnLine(std::string_view line) override {
        std::string& body = help.topics.back().body;
        if (!body.empty()) body += "\r\n";
        body += line;
    }
};

}  // namespace

int HelpText::FindTopic(const std::string& id) const {
    for (size_t i = 0; i < topics.size(); ++i) {
        if (topics[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

int HelpText::FindKeyword(const char* prefix) const {
    for (size_t i = 0; i < index.size(); ++i) {
        if (StartsWithIgnoringCase(index[i].keyword, prefix)) return static_cast<int>(i);
    }
    return -1;
}

HelpText ParseHelpText(std::string_view source) {
    Collector collector;
    ReadHelpText(source, collector);
    std::stable_sort(collector.help.index.begin(), collector.help.index.end(),
                     [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
                         return LessIgnoringCase(a.keyword, b.keyword);
                     });
    return collector.help;
}

}  // namespace cv
