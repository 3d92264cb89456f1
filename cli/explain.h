// `corvane-cli explain`: any integer, character or IEEE binary format explained bit by bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cv {

// `corvane-cli explain [--json] FORMAT [VALUE]...` with args the words after "explain". Returns the
// exit status: 0, 1 when a value was refused, 2 for a bad FORMAT or option, 4 when writing failed.
int RunExplain(int count, const char* const* args);

// The words after a subcommand's name (explain, inspect): its options (--json; --help, which
// prints usage; --, after which no word is an option) and the other words in order.
struct CommandWords {
    bool json = false;
    std::vector<const char*> words;
};
// -1 to go on, else the exit status to end with (0 after --help, 2 for an unknown option).
int ReadCommandWords(const char* command, const char* usage, int count, const char* const* args,
                     CommandWords* out);
// Says on standard error what is wrong with the subcommand's words; returns the exit status 2.
int UsageError(const char* command, const char* what, const char* word);

// Hands each line of standard input (LF or CR LF, the last one with or without its line break,
// an empty one too) to take, without its line break.
void ReadInputLines(const std::function<void(const char*, std::size_t)>& take);

// The human explanation of bits (right-aligned) in the named FORMAT, as for a 0x VALUE; nothing
// when the name is no FORMAT.
void ExplainBits(const std::string& formatName, uint64_t bits);

}  // namespace cv
