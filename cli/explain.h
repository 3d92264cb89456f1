// `corvane-cli explain`: any integer, character or IEEE binary format explained bit by bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace cv {

// `corvane-cli explain [--json] FORMAT [VALUE]...` with args the words after "explain". Returns the
// exit status: 0, 1 when a value was refused, 2 for a bad FORMAT or option, 4 when writing failed.
int RunExplain(int count, const char* const* args);

// Hands each line of standard input (LF or CR LF, the last one with or without its line break,
// an empty one too) to take, without its line break.
void ReadInputLines(const std::function<void(const char*, std::size_t)>& take);

// --color, --color=auto, --color=always, --color=never into *choice; false for any other word.
enum class ColourChoice { kAuto, kAlways, kNever };
bool ParseColourOption(const char* arg, ColourChoice* choice);
// Whether human output is coloured: always, never, or (auto) when standard output is a terminal
// and NO_COLOR is unset or empty.
bool UseColour(ColourChoice choice);

// The human explanation of bits (right-aligned) in the named FORMAT, as for a 0x VALUE; nothing
// when the name is no FORMAT.
void ExplainBits(const std::string& formatName, uint64_t bits);

}  // namespace cv
