// `corvane-cli explain`: any integer, character or IEEE binary format explained bit by bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "number/float_parse.h"

namespace cv {

// `corvane-cli explain [--json] FORMAT [VALUE]...` with args the words after "explain". Returns the
// exit status: 0, 1 when a value was refused, 2 for a bad FORMAT or option, 4 when writing failed.
int RunExplain(int count, const char* const* args);

// --color, --color=auto, --color=always, --color=never into *choice; false for any other word.
enum class ColourChoice { kAuto, kAlways, kNever };
bool ParseColourOption(const char* arg, ColourChoice* choice);

// The options a subcommand takes beyond --help, --json, --color and --.
enum CommandOptions : unsigned {
    kTakesRounding = 1u,  // --round MODE, --saturate
    kTakesSource = 2u,    // --from FORMAT
};

// The words after a subcommand's name (explain, inspect, calc): its options and the other words
// in order. An option that takes a word takes the next one or the one after "=".
struct CommandWords {
    bool json = false;
    ColourChoice colour = ColourChoice::kAuto;
    bool roundGiven = false;  // --round
    RoundingMode rounding = RoundingMode::kEven;
    bool saturate = false;
    const char* from = nullptr;  // --from's FORMAT, as given
    std::vector<const char*> words;
};
// -1 to go on, else the exit status to end with (0 after --help, 2 for an unknown option or MODE,
// or an option without its word).
int ReadCommandWords(const char* command, const char* usage, unsigned options, int count,
                     const char* const* args, CommandWords* out);
// Says on standard error what is wrong with the subcommand's words; returns the exit status 2.
int UsageError(const char* command, const char* what, const char* word);

// The answers of a run of values or operations, buffered on standard output: an answer is written
// to Text(); a refused one is its {"input","error"} line in its place with --json, else one line
// on standard error ("corvane-cli: COMMAND FORMAT "INPUT": ERROR") after what came before.
class AnswerOutput {
public:
    AnswerOutput(const char* command, const std::string& formatName, bool json);
    std::string& Text() { return out_; }
    void Refuse(const std::string& input, const std::string& error);
    // After each answer: writes the buffer out once it is large.
    void Answered();
    void Flush();
    bool Refused() const { return refused_; }

private:
    const char* command_;
    const std::string& formatName_;
    bool json_;
    bool refused_ = false;
    std::string out_;
};

// Hands each line of standard input (LF or CR LF, the last one with or without its line break,
// an empty one too) to take, without its line break.
void ReadInputLines(const std::function<void(const char*, std::size_t)>& take);

// Whether human output is coloured: always, never, or (auto) when standard output is a terminal
// and NO_COLOR is unset or empty.
bool UseColour(ColourChoice choice);

// The human explanation of bits (right-aligned) in the named FORMAT, as for a 0x VALUE; nothing
// when the name is no FORMAT.
void ExplainBits(const std::string& formatName, uint64_t bits);

}  // namespace cv
