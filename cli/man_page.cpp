#include "cli/man_page.h"

#include <cctype>
#include <cstdio>
#include <cstdint>

namespace cv {
namespace {

constexpr char kProgram[] = "corvane-cli";
constexpr char kUsagePrefix[] = "Usage: ";
constexpr char kExitStatusPrefix[] = "Exit status: ";

// A help text taken apart: its synopsis, its exit status paragraph (joined into one line) and the
// lines in between and after.
struct HelpParts {
    std::string synopsis;
    std::string exitStatus;
    std::vector<std::string> body;
};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(' ') == std::string::npos;
}

std::string Command(const std::string& subcommand) {
    return subcommand.empty() ? std::string(kProgram) : kProgram + (" " + subcommand);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

HelpParts Parts(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        start = end + 1;
    }
    HelpParts parts;
    std::size_t i = 0;
    if (!lines.empty() && StartsWith(lines[0], kUsagePrefix)) {
        parts.synopsis = lines[0].substr(std::char_traits<char>::length(kUsagePrefix));
        i = 1;
    }
    for (; i < lines.size(); ++i) {
        if (!StartsWith(lines[i], kExitStatusPrefix)) {
            parts.body.push_back(lines[i]);
            continue;
        }
        parts.exitStatus = lines[i].substr(std::char_traits<char>::length(kExitStatusPrefix));
        while (i + 1 < lines.size() && !IsBlank(lines[i + 1])) parts.exitStatus += " " + lines[++i];
    }
    while (!parts.body.empty() && IsBlank(parts.body.front())) parts.body.erase(parts.body.begin());
    while (!parts.body.empty() && IsBlank(parts.body.back())) parts.body.pop_back();
    return parts;
}

// The body's lines: blank lines part paragraphs, indented lines (the help's aligned lists) keep
// their layout, the others are filled.
void AppendBody(const std::vector<std::string>& body, std::string* page) {
    bool noFill = false;
    for (const std::string& line : body) {
        const bool indented = !IsBlank(line) && line[0] == ' ';
        if (noFill && !indented) *page += ".fi\n";
        if (IsBlank(line)) {
            *page += ".PP\n";
        } else {
            if (indented && !noFill) *page += ".nf\n";
            *page += RoffText(line) + "\n";
        }
        noFill = indented;
    }
    if (noFill) *page += ".fi\n";
}

// The first sentence of the description, lower-cased at the start and without its full stop, as
// NAME wants it.
std::string Summary(const std::vector<std::string>& body) {
    std::string summary = body.empty() ? std::string() : body[0];
    const std::size_t stop = summary.find(". ");
    if (stop != std::string::npos) summary.resize(stop + 1);
    if (!summary.empty() && summary.back() == '.') summary.pop_back();
    if (!summary.empty())
        summary[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(summary[0])));
    return summary;
}

// One UTF-8 sequence at text[*at] (advanced past it) as its code point; U+FFFD for a broken one.
uint32_t NextCodePoint(const std::string& text, std::size_t* at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(*at);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || *at + extra >= text.size()) {
        ++*at;
        return 0xFFFD;
    }
    uint32_t code = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(*at + k) & 0xC0) != 0x80) {
            ++*at;
            return 0xFFFD;
        }
        code = (code << 6) | (byte(*at + k) & 0x3F);
    }
    *at += extra + 1;
    return code;
}

}  // namespace

std::string RoffText(const std::string& line) {
    std::string out;
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) out += "\\&";
    for (std::size_t at = 0; at < line.size();) {
        const char c = line[at];
        if (static_cast<unsigned char>(c) >= 0x80) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\[u%04X]",
                          static_cast<unsigned>(NextCodePoint(line, &at)));
            out += escape;
            continue;
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
        ++at;
    }
    return out;
}

std::string ManPage(const HelpText& program, const std::vector<HelpText>& subcommands,
                    const std::string& version) {
    std::vector<HelpText> helps{program};
    helps.insert(helps.end(), subcommands.begin(), subcommands.end());
    std::vector<HelpParts> parts;
    for (const HelpText& help : helps) parts.push_back(Parts(help.text));

    std::string page = ".TH " + RoffText(Upper(kProgram)) + " 1 \"\" \"Corvane " + RoffText(version) +
                       "\" \"User Commands\"\n.nh\n.ad l\n";
    page += ".SH NAME\n" + RoffText(std::string(kProgram) + " - " + Summary(parts[0].body)) + "\n";
    page += ".SH SYNOPSIS\n";
    for (std::size_t i = 0; i < helps.size(); ++i) {
        if (i > 0) page += ".br\n";
        // The command in bold, its operands in roman; a help without a usage line gives the command.
        const std::string command = Command(helps[i].subcommand);
        const std::string usage = parts[i].synopsis.empty() ? command : parts[i].synopsis;
        std::string synopsis = RoffText(usage);
        if (StartsWith(usage, command.c_str())) {
            synopsis = "\\fB" + RoffText(command) + "\\fR" + RoffText(usage.substr(command.size()));
        }
        page += synopsis + "\n";
    }
    page += ".SH DESCRIPTION\n";
    AppendBody(parts[0].body, &page);
    for (std::size_t i = 1; i < helps.size(); ++i) {
        page += ".SH " + RoffText(Upper(helps[i].subcommand)) + "\n";
        AppendBody(parts[i].body, &page);
    }
    bool exitStatusSeen = false;
    for (std::size_t i = 0; i < helps.size(); ++i) {
        if (parts[i].exitStatus.empty()) continue;
        if (!exitStatusSeen) page += ".SH \"EXIT STATUS\"\n";
        exitStatusSeen = true;
        page +=
            ".TP\n.B " + RoffText(Command(helps[i].subcommand)) + "\n" + RoffText(parts[i].exitStatus) + "\n";
    }
    return page;
}

}  // namespace cv
