// corvane-cli: Corvane's value engine driven by commands instead of a window. Each argument is one
// command; without arguments, one command per line is read from standard input.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/cli_window.h"
#include "cli/message_text.h"
#include "cli/explain.h"
#include "cli/subcommands.h"
#include "number/digits.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitBadCommand = 2;
constexpr int kExitInternalError = 3;
constexpr int kExitWriteFailed = 4;

const char kUsage[] =
    "Usage: corvane-cli [COMMAND]...\n"
    "Shows how Corvane stores a value, bit by bit, without a window. Each argument is one\n"
    "command; with no arguments, one command per line is read from standard input (blank lines,\n"
    "empty or of blanks and tabs only, are skipped). Corvane starts as a 4-byte signed integer 0.\n"
    "\n"
    "Commands:\n"
    "  ansi, oem, signed, unsigned, real\n"
    "                 choose the data type; a type that does not allow the current size\n"
    "                 switches to 4 bytes\n"
    "  bytes N        choose the size, 1, 2, 4 or 8 bytes (the type must allow it)\n"
    "  shift0, shift1, rotate\n"
    "                 what a shift moves in: 0's, 1's, or the bit that leaves the other end\n"
    "  value TEXT     type TEXT (all after the first space, may be empty) into the value box\n"
    "  hex TEXT       type TEXT into the hex box\n"
    "  shl, shr       shift the bits one place left or right\n"
    "  zeros, ones    fill the bits with 0's or 1's\n"
    "  flip           invert the bits\n"
    "  toggle N       invert bit N (0..63)\n"
    "  show           print the value and hex texts rendered from the bits\n"
    "  info N         print the bit information of bit N (0..63)\n"
    "  report         print the datatype report\n"
    "  explain        explain the current bits as the explain subcommand does, in the FORMAT of\n"
    "                 the current type and size (i32 for 4-byte signed, f64 for an 8-byte real)\n"
    "  --help         print this help\n"
    "\n"
    "Numbers may have leading zeros. What show, info and report print of the value, and a\n"
    "command named in an error, is escaped: printable ASCII as it is, \\n, \\r, \\t, \\xhh for\n"
    "any other byte, \\\\ for a backslash.\n"
    "\n"
    "A rejected edit prints \"rejected: \" and the title of the input-error box. An unknown or\n"
    "malformed command (a NUL in a line makes it malformed) prints one line on standard error and\n"
    "ends the run with exit status 2.\n"
    "\n";

// After the subcommands' list.
const char kUsageEnd[] =
    "Exit status: 0 when every command ran, 2 for an unknown or malformed command, 3 for an\n"
    "internal error, 4 when standard output cannot be written (a full disk, a closed output).\n";

// The help: the commands, then the subcommands (each with its own --help), then the exit statuses.
void PrintUsage() {
    std::fputs(kUsage, stdout);
    std::fputs(
        "A first argument that names a subcommand runs that subcommand on the arguments after it\n"
        "instead (but explain alone is the command above):\n",
        stdout);
    for (const cv::Subcommand& subcommand : cv::kSubcommands) {
        std::printf("  corvane-cli %s %s\n                 %s\n", subcommand.name, subcommand.synopsis,
                    subcommand.summary);
    }
    std::fputs("`corvane-cli NAME --help` tells everything of the subcommand NAME.\n\n", stdout);
    std::fputs(kUsageEnd, stdout);
}

// The engine's texts break lines with CR LF; a terminal wants LF.
void PrintText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// A multi-line text of the engine (CR LF between its lines) as terminal lines: each line escaped.
void PrintEscapedLines(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        out += cv::EscapedForMessage(text.substr(start, end == std::string::npos ? end : end - start));
        out += '\n';
        if (end == std::string::npos) break;
        start = end + 2;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// A bit number or size: decimal digits only (leading zeros allowed), at most max.
bool ParseNumber(const std::string& text, int max, int* number) {
    std::size_t at = 0;
    int value = 0;
    if (!cv::ReadBoundedDecimal(text, &at, max, &value) || at != text.size() || value > max) return false;
    *number = value;
    return true;
}

// A line of blanks and tabs only, or none: skipped as a blank line.
bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

class Runner {
public:
    Runner() { window_.Start(); }

    // Runs one command; false when it is unknown or malformed (the error is already printed).
    bool Run(const std::string& command) {
        // Every command takes its text as a C string: a NUL would cut it short unseen.
        if (command.find('\0') != std::string::npos) return Fail("malformed command", command);
        const std::size_t space = command.find(' ');
        const std::string word = command.substr(0, space);
        const bool hasArgument = space != std::string::npos;
        const std::string argument = hasArgument ? command.substr(space + 1) : std::string();

        if (word == "value") return Edited(window_.EditValueBox(argument));
        if (word == "hex") return Edited(window_.EditHexBox(argument));
        if (word == "bytes" || word == "toggle" || word == "info")
            return RunNumbered(command, word, argument);
        if (hasArgument) return Fail("malformed command", command);
        return RunPlain(command);
    }

    bool InternalErrorSeen() const { return !window_.Alerts().InternalError().empty(); }
    const std::string& InternalError() const { return window_.Alerts().InternalError(); }

private:
    bool RunPlain(const std::string& word) {
        if (word == "ansi") {
            window_.SelectType(IDM_ANSI);
        } else if (word == "oem") {
            window_.SelectType(IDM_OEM);
        } else if (word == "signed") {
            window_.SelectType(IDM_SIGNED);
        } else if (word == "unsigned") {
            window_.SelectType(IDM_UNSIGNED);
        } else if (word == "real") {
            window_.SelectType(IDM_REAL);
        } else if (word == "shift0") {
            window_.SelectShiftMode(IDM_SHIFT0);
        } else if (word == "shift1") {
            window_.SelectShiftMode(IDM_SHIFT1);
        } else if (word == "rotate") {
            window_.SelectShiftMode(IDM_ROTATE);
        } else if (word == "shl") {
            window_.ShiftLeft();
        } else if (word == "shr") {
            window_.ShiftRight();
        } else if (word == "zeros") {
            window_.Fill(0x00);
        } else if (word == "ones") {
            window_.Fill(0xFF);
        } else if (word == "flip") {
            window_.Flip();
        } else if (word == "show") {
            Show();
        } else if (word == "explain") {
            ExplainCurrentValue();
        } else if (word == "report") {
            PrintText(window_.Report());  // the value in it already escaped
        } else if (word == "--help") {
            PrintUsage();
        } else {
            return Fail("unknown command", word);
        }
        return true;
    }

    bool RunNumbered(const std::string& command, const std::string& word, const std::string& argument) {
        int number = 0;
        if (word == "bytes") {
            if (!ParseNumber(argument, 8, &number) || !cv::IsByteCount(static_cast<uint32_t>(number))) {
                return Fail("malformed command", command);
            }
            if (!window_.SelectSize(static_cast<uint32_t>(number))) {
                return Fail("the data type does not allow", command);
            }
            return true;
        }
        if (!ParseNumber(argument, 63, &number)) return Fail("malformed command", command);
        if (word == "toggle") {
            window_.Toggle(number);
        } else {
            PrintEscapedLines(window_.BitInformation(number));
        }
        return true;
    }

    // The current value in the explain FORMAT of the current data type and size.
    static void ExplainCurrentValue() {
        const char* prefix = cv::DataType == IDM_SIGNED     ? "i"
                             : cv::DataType == IDM_UNSIGNED ? "u"
                             : cv::DataType == IDM_REAL     ? "f"
                                                            : "c";
        cv::ExplainBits(prefix + std::to_string(cv::ByteCount * 8), cv::Value64());
    }

    void Show() {
        std::string value;
        std::string hex;
        window_.RenderedTexts(&value, &hex);
        PrintText("value: " + cv::EscapedForMessage(value));
        PrintText("hex: " + cv::EscapedForMessage(hex));
    }

    bool Edited(const std::string& rejectedTitle) {
        if (!rejectedTitle.empty()) PrintText("rejected: " + rejectedTitle);
        return true;
    }

    static bool Fail(const char* what, const std::string& command) {
        std::fflush(stdout);
        std::fprintf(stderr, "corvane-cli: %s \"%s\"\n", what, cv::EscapedForMessage(command).c_str());
        return false;
    }

    cv::CliWindow window_;
};

// Whether everything written to standard output so far has reached it; if not, says so once on
// standard error.
bool OutputWritten() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::fprintf(stderr, "corvane-cli: cannot write to standard output\n");
    return false;
}

// Runs one command; returns the exit status to end with, or -1 to go on.
int Step(Runner& runner, const std::string& command) {
    const bool ran = runner.Run(command);
    if (std::ferror(stdout)) return kExitWriteFailed;
    if (!ran) return kExitBadCommand;
    if (runner.InternalErrorSeen()) {
        std::fflush(stdout);
        std::fprintf(stderr, "corvane-cli: internal error: %s\n", runner.InternalError().c_str());
        return kExitInternalError;
    }
    return -1;
}

int RunCommands(int argc, char** argv) {
    for (const cv::Subcommand& subcommand : cv::kSubcommands) {
        if (argc - 2 >= subcommand.fewestWords && std::strcmp(argv[1], subcommand.name) == 0) {
            return subcommand.run(argc - 2, argv + 2);
        }
    }
    Runner runner;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            const int status = Step(runner, argv[i]);
            if (status >= 0) return status;
        }
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (IsBlankLine(line)) continue;
            const int status = Step(runner, line);
            if (status >= 0) return status;
        }
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const int status = RunCommands(argc, argv);
    // A failed write outranks every other outcome: what was printed is not what was asked for.
    return OutputWritten() ? status : kExitWriteFailed;
}
