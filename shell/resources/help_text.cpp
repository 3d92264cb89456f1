// The help text's parser (the layout is described in help_text.h).
#include "shell/resources/help_text.h"

#include <cctype>

namespace cv {
namespace {

constexpr std::string_view kTopicTag = "@topic ";
constexpr std::string_view kKeysTag = "@keys ";
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::string_view();
    const size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int Lower(char c) {
    return std::tolower(static_cast<unsigned char>(c));
}

void ReadKeywords(std::string_view keys, HelpTextReader& reader) {
    size_t from = 0;
    while (from <= keys.size()) {
        size_t to = keys.find(';', from);
        if (to == std::string_view::npos) to = keys.size();
        const std::string_view keyword = Trimmed(keys.substr(from, to - from));
        if (!keyword.empty()) reader.OnKeyword(keyword);
        from = to + 1;
    }
}

// Blank lines are held back until a line of text follows them, so that none is reported at
// either end of a topic.
class TopicLines {
public:
    void Start() {
        hasText_ = false;
        heldBlanks_ = 0;
    }
    void Take(std::string_view line, HelpTextReader& reader) {
        if (line.empty()) {
            if (hasText_) ++heldBlanks_;
            return;
        }
        for (; heldBlanks_ > 0; --heldBlanks_) reader.OnLine(std::string_view());
        reader.OnLine(line);
        hasText_ = true;
    }

private:
    bool hasText_ = false;
    int heldBlanks_ = 0;
};

}  // namespace

void ReadHelpText(std::string_view source, HelpTextReader& reader) {
    bool inTopic = false;
    TopicLines lines;
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (StartsWith(line, kTopicTag)) {
            const std::string_view rest = line.substr(kTopicTag.size());
            const size_t bar = rest.find('|');
            const std::string_view id = Trimmed(rest.substr(0, bar));
            reader.OnTopic(id, bar == std::string_view::npos ? id : Trimmed(rest.substr(bar + 1)));
            inTopic = true;
            lines.Start();
        } else if (!inTopic) {
            continue;
        } else if (StartsWith(line, kKeysTag)) {
            ReadKeywords(line.substr(kKeysTag.size()), reader);
        } else {
            lines.Take(line, reader);
        }
    }
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        if (Lower(a[i]) != Lower(b[i])) return Lower(a[i]) < Lower(b[i]);
    }
    return a.size() < b.size();
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

}  // namespace cv
