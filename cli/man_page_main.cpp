// Writes corvane-cli's man page from what the program itself prints for --help and for each
// subcommand's --help, so the page says what the program says.
//   corvane_man_page PROGRAM TARGET VERSION   (run by the build: the man_page target)
// A subcommand whose --help fails or prints nothing is left out, with a note on standard error.
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "cli/man_page.h"
#include "cli/subcommands.h"

namespace {

// A word quoted for the shell: within single quotes, each single quote as '\''.
std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// What the command line prints on standard output; false when it cannot run or exits non-zero.
bool Output(const std::string& commandLine, std::string* out) {
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (pipe == nullptr) return false;
    char chunk[4096];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out->append(chunk, count);
    const int status = pclose(pipe);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: corvane_man_page PROGRAM TARGET VERSION\n");
        return 2;
    }
    const std::string program = ShellQuoted(argv[1]);
    cv::HelpText programHelp;
    if (!Output(program + " --help", &programHelp.text) || programHelp.text.empty()) {
        std::fprintf(stderr, "corvane_man_page: %s --help failed\n", argv[1]);
        return 1;
    }
    std::vector<cv::HelpText> subcommandHelps;
    for (const cv::Subcommand& subcommand : cv::kSubcommands) {
        cv::HelpText help{subcommand.name, ""};
        if (!Output(program + " " + ShellQuoted(subcommand.name) + " --help 2>/dev/null", &help.text) ||
            help.text.empty()) {
            std::fprintf(stderr, "corvane_man_page: no help from `corvane-cli %s --help`; left out\n",
                         subcommand.name);
            continue;
        }
        subcommandHelps.push_back(help);
    }
    const std::string page = cv::ManPage(programHelp, subcommandHelps, argv[3]);
    FILE* target = std::fopen(argv[2], "wb");
    const bool written = target != nullptr && std::fwrite(page.data(), 1, page.size(), target) == page.size();
    if (target == nullptr || std::fclose(target) != 0 || !written) {
        std::fprintf(stderr, "corvane_man_page: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
