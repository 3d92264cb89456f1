// Writes the user guide that the release carries (HELP.txt): the help text the program shows with
// F1, laid out for a text editor. Each topic stands under an underlined title; long lines are
// wrapped at 78 columns, list items ("- ") with a hanging indent; line ends are CRLF.
//   corvane_help_guide SOURCE TARGET VERSION   (run by the build: the user_guide target)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/resources/help_text.h"

namespace {

constexpr size_t kWidth = 78;

bool IsSpace(std::string_view chunk) {
    return !chunk.empty() && chunk[0] == ' ';
}

// Runs of spaces and runs of other characters, in order.
std::vector<std::string_view> Chunks(std::string_view text) {
    std::vector<std::string_view> chunks;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && (text[end] == ' ') == (text[start] == ' ')) ++end;
        chunks.push_back(text.substr(start, end - start));
        start = end;
    }
    return chunks;
}

// Fills lines greedily with whole words; spaces at a line's ends are dropped, and a word longer
// than the line stands alone.
void Wrap(std::string_view line, std::vector<std::string>& out) {
    const size_t indent = line.find_first_not_of(' ');
    const std::string_view text = line.substr(indent);
    const size_t hang = indent + (text.substr(0, 2) == "- " ? 2 : 0);
    const std::vector<std::string_view> chunks = Chunks(text);
    bool first = true;
    size_t next = 0;
    while (next < chunks.size()) {
        const size_t margin = first ? indent : hang;
        const size_t width = margin < kWidth ? kWidth - margin : 1;
        if (!first && IsSpace(chunks[next])) ++next;
        std::string filled;
        while (next < chunks.size() && filled.size() + chunks[next].size() <= width) filled += chunks[next++];
        if (filled.empty() && next < chunks.size()) filled += chunks[next++];
        while (!filled.empty() && filled.back() == ' ') filled.pop_back();
        if (filled.empty()) continue;
        out.push_back(std::string(margin, ' ') + filled);
        first = false;
    }
}

class GuideWriter : public cv::HelpTextReader {
public:
    std::vector<std::string> lines;

    void OnTopic(std::string_view, std::string_view title) override {
        lines.push_back("");
        lines.push_back(std::string(title));
        lines.push_back(std::string(title.size(), '-'));
    }
    void OnKeyword(std::string_view) override {}
    void OnLine(std::string_view line) override {
        if (line.find_first_not_of(' ') == std::string_view::npos) {
            lines.push_back("");
        } else {
            Wrap(line, lines);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvane_help_guide SOURCE TARGET VERSION\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "corvane_help_guide: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string heading = std::string("Corvane ") + argv[3] + " - User guide";
    GuideWriter guide;
    guide.lines = {heading, std::string(heading.size(), '='), "",
                   "This is the help that Corvane shows with Help > Contents (F1)."};
    cv::ReadHelpText(source, guide);
    while (!guide.lines.empty() && guide.lines.back().empty()) guide.lines.pop_back();
    std::ofstream out(argv[2], std::ios::binary);
    for (const std::string& line : guide.lines) out << line << "\r\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "corvane_help_guide: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
