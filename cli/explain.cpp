#include "cli/explain.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cli/explain_input.h"
#include "cli/explain_report.h"
#include "cli/message_text.h"
#include "number/binary_float.h"

#ifdef _WIN32
#include <io.h>
#define CORVANE_STDOUT_IS_TERMINAL() (_isatty(_fileno(stdout)) != 0)
#else
#include <unistd.h>
#define CORVANE_STDOUT_IS_TERMINAL() (isatty(STDOUT_FILENO) != 0)
#endif

namespace cv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitValueRefused = 1;
constexpr int kExitBadUsage = 2;
constexpr std::size_t kOutputBufferSize = 1 << 16;
constexpr std::size_t kInputChunk = 1 << 16;

const char kExplainUsage[] =
    "Usage: corvane-cli explain [--json] [--color=WHEN] [--round MODE] [--saturate] [--from SOURCE]\n"
    "                           FORMAT [VALUE]...\n"
    "Explains how each VALUE is stored in FORMAT, bit by bit. With no VALUE, one value per line is\n"
    "read from standard input (every line is a value, an empty one too). Options may stand anywhere\n"
    "before the first VALUE, before or after FORMAT; after -- every word is FORMAT or a VALUE.\n"
    "\n"
    "FORMAT:\n"
    "  f16, bf16, f32, f64   IEEE half, bfloat16, single, double\n"
    "  fp:E:M                sign bit, E exponent bits, M stored mantissa bits, IEEE rules, bias\n"
    "                        2^(E-1)-1 (2 <= E <= 15, 1 <= M, 1+E+M <= 64); fp:4:3 is an 8-bit float\n"
    "  fp:E:M:fn             no infinities; exponent and mantissa all ones is NaN (both signs), every\n"
    "                        other pattern a number; bias 2^(E-1)-1\n"
    "  fp:E:M:fnuz           no infinities, no negative zero; the sign bit alone (1 then zeros) is the\n"
    "                        one NaN, every other pattern a number; bias 2^(E-1)\n"
    "  fp:E:M:finite         no infinities, no NaN: every pattern is a number; bias 2^(E-1)-1\n"
    "  e4m3fn e4m3fnuz       fp:4:3:fn (largest 448), fp:4:3:fnuz (largest 240)\n"
    "  e5m2 e5m2fnuz         fp:5:2 (IEEE rules, largest 57344), fp:5:2:fnuz (largest 57344)\n"
    "  e2m3fn e3m2fn e2m1fn  fp:2:3:finite (largest 7.5), fp:3:2:finite (largest 28), fp:2:1:finite\n"
    "                        (0, 0.5, 1, 1.5, 2, 3, 4, 6 and their negatives)\n"
    "  e8m0fnu               8 bits, no sign, no mantissa: 2^(raw-127) for raw 0..254, 255 is NaN,\n"
    "                        no zero\n"
    "                        (each of these also with the prefix of its width: float8_e4m3fn,\n"
    "                        float6_e2m3fn, float4_e2m1fn, float8_e8m0fnu, ...)\n"
    "  tf32                  fp:8:10, the 19 meaningful bits (hardware stores it in 32 bits, the low\n"
    "                        13 zero)\n"
    "  i8 i16 i32 i64        two's complement integers\n"
    "  u8 u16 u32 u64        unsigned integers\n"
    "  c8 c16 c32 c64        1, 2, 4 or 8 bytes as characters, byte 0 first\n"
    "\n"
    "VALUE:\n"
    "  a decimal number      -1.5e-3, 65504, 1e400 (floats are rounded to nearest, ties to even, or\n"
    "                        by --round; integers must be whole and in range: 1e3 is 1000, nothing\n"
    "                        wraps; see --round and --saturate)\n"
    "  inf, -inf, nan, -nan  floats only (-nan: the NaN with the sign bit set, where there is one)\n"
    "                        Without infinities, an overflow (a rounded magnitude above the largest\n"
    "                        finite value) and inf give the NaN (of the value's sign where there are\n"
    "                        two), or in a finite layout the largest finite value of that sign; nan\n"
    "                        in a finite layout is an error; a negative value of a fnuz layout that\n"
    "                        rounds to zero gives +0. e8m0fnu rounds among its powers of two by the\n"
    "                        mode (to nearest by value, 1.5 x 2^k going up), gives 2^-127 below\n"
    "                        2^-127 in every mode (underflow), NaN for zero and negative values\n"
    "                        (flag invalid), for inf (2^127 with --saturate), -inf and nan\n"
    "  0x1.8p3, -0x1p-1074   a C99 hexadecimal float (0x, hex digits on at least one side of the\n"
    "                        point, p and a power of two): converted exactly, then rounded like\n"
    "                        a decimal number (and for integers, must be whole and in range); at\n"
    "                        most 20000 significant hex digits\n"
    "  0x... or 0b...        the raw bits in hex or binary, right-aligned to the width; more\n"
    "                        digits than the width holds are an error\n"
    "  any other text        characters only: the bytes themselves, byte 0 first; a shorter text\n"
    "                        is filled with zero bytes, a longer one is an error\n"
    "Blanks around a number are ignored; a character text is taken as it is.\n"
    "\n"
    "Output (one block per value):\n"
    "  every format   hex (most significant digit first, 2 digits per byte), binary\n"
    "  floats         binary split into sign | exponent | mantissa; sign; exponent field (raw,\n"
    "                 bias, power of two); mantissa field (raw; significand with its hidden bit,\n"
    "                 exact and as a fraction over 2^M); class (zero, subnormal, normal, infinity,\n"
    "                 qnan, snan with its payload, nan for a NaN without quiet bit: fn, fnuz,\n"
    "                 e8m0fnu); exact (every digit of the stored value);\n"
    "                 shortest (the shortest decimal text that reads back to the same bits, the\n"
    "                 closest of equals; in a finite layout every number past the largest reads\n"
    "                 back to it, so e2m3fn's 7.5 is 8; 0x bits for a NaN no text gives);\n"
    "                 hexfloat (the stored value as C's %a writes it: 0x1.999999999999ap-4,\n"
    "                 0x1p+0; subnormals 0x0.\n"
    "                 and the mantissa bits left-aligned in hex digits, with the smallest normal\n"
    "                 exponent; 0x0p+0, -0x0p+0; none for infinities and NaN); bytes (memory\n"
    "                 order, for widths of whole bytes); previous and next values\n"
    "                 (exact; none beyond the ends of a format without infinities); ulp (2^power\n"
    "                 of the last mantissa bit); for a decimal VALUE the conversion: exact,\n"
    "                 rounded or invalid, error (stored minus given, exact; nan when a NaN is\n"
    "                 stored), and the flags inexact, overflow, underflow (tiny after rounding\n"
    "                 and inexact), invalid (no representation: e8m0fnu's zero and negatives, a\n"
    "                 signalling NaN, an integer saturated); with --from, the source (its format,\n"
    "                 hex and exact value) and the conversion of its stored value\n"
    "                 e8m0fnu has no sign and no mantissa field; its binary is one group of 8\n"
    "  integers       binary by bytes, signed and unsigned readings, bytes in memory order\n"
    "                 (little-endian, byte 0 first); with --round, --saturate or --from, the\n"
    "                 conversion as for floats\n"
    "  characters     binary by bytes, bytes in memory order, each byte's character (control\n"
    "                 characters by name: NUL, LF, ...; SP for a space; <80>..<A0> for those\n"
    "                 bytes; Latin-1 above)\n"
    "\n"
    "--json: one JSON object per value, one line each. Keys, where they apply:\n"
    "  format, input, hex, binary (floats split by spaces into sign, exponent, mantissa; integers\n"
    "  and characters into bytes);\n"
    "  floats: class (\"zero\", \"subnormal\", \"normal\", \"infinity\", \"qnan\", \"snan\", \"nan\"),\n"
    "  sign (0, 1; absent for e8m0fnu),\n"
    "  exponent {raw, bias, power} (numbers; power is the unbiased power of two, 1 - bias for zero\n"
    "  and subnormals, absent for infinity and NaN), mantissa {raw, significand} (strings; absent\n"
    "  for e8m0fnu), exact,\n"
    "  shortest, hexfloat, bytes, previous, next, ulp (strings:\n"
    "  plain decimals, \"-0\", \"inf\", \"-inf\", \"nan\"),\n"
    "  payload (qnan and snan only), conversion {result (\"exact\", \"rounded\", \"invalid\"), error,\n"
    "  flags (a list of \"inexact\", \"overflow\", \"underflow\", \"invalid\"), rounding (the MODE\n"
    "  word, when --round or --saturate is given), saturated (true, when saturation changed the\n"
    "  result)} for a decimal VALUE and with --from (error absent when the given value is not\n"
    "  finite); from {format, hex, exact} with --from;\n"
    "  integers: signed, unsigned (strings), bytes (hex, memory order, space separated);\n"
    "  characters: bytes, text (byte 0 first, a zero byte as a space; control characters and bytes\n"
    "  from 0x80 up as \\u00XX);\n"
    "  a refused value: input and error only, in its place (line n answers value n).\n"
    "\n"
    "In the human text, an exact value (exact, previous, next, ulp, the conversion error) whose\n"
    "plain form begins with more than six zeros after the point or has more than 40 digits before\n"
    "it is written in exponent form with every significant digit, then their count:\n"
    "5.9604644775390625e-8 (17 digits). JSON keeps the plain form.\n"
    "\n"
    "--round MODE: how a value that does not fit is rounded, once, to the format's precision with an\n"
    "unbounded exponent range and then to its subnormals: even (to nearest, ties to even: the\n"
    "default), away (to nearest, ties away from zero), zero, up (toward +inf), down (toward -inf).\n"
    "The human text names it (\"rounded toward zero\"). An overflow (a rounded magnitude above the\n"
    "largest finite value) gives what IEEE 754 gives for the mode: infinity to nearest; toward zero\n"
    "the largest finite value; up and down infinity on one side, the largest finite value on the\n"
    "other; where that is an infinity, a format without one gives its NaN (a finite layout its\n"
    "largest finite value). An integer FORMAT rounds a value that is not whole by the mode (flag\n"
    "inexact); without --round such a value is refused.\n"
    "\n"
    "--saturate: every result that would be an infinity (an overflow, or inf and -inf) is the\n"
    "largest finite value of that sign instead, in every format; an integer FORMAT takes the nearest\n"
    "end of its range for a value out of range or an infinity (flags invalid, and inexact where\n"
    "the value was not whole). A NaN is still refused by an integer FORMAT.\n"
    "\n"
    "--from SOURCE: each VALUE is read in SOURCE (any float or integer format, in every syntax it\n"
    "takes, by the same --round and --saturate) and its stored value converted to FORMAT by the\n"
    "mode: explain bf16 --from f32 0x3DCCCCCD, explain e4m3fn --from f32 500, explain i32 --from f64\n"
    "--round zero -2.9. The conversion's error is the stored value minus the source's exact value.\n"
    "A NaN gives a quiet NaN of the same sign whose payload bits are the source's, aligned at the\n"
    "top of the mantissa (cut or padded with zeros at the bottom); a signalling NaN also raises\n"
    "invalid; a format with one NaN gives that NaN; a finite layout and an integer FORMAT refuse it.\n"
    "Character formats take neither --round, --saturate nor --from.\n"
    "\n"
    "--color=WHEN: auto (the default) colours the sign, exponent and mantissa bits of a float's\n"
    "binary when standard output is a terminal (TERM not dumb) and NO_COLOR is unset or empty;\n"
    "always, never (--color alone is always). JSON is never coloured.\n"
    "\n"
    "A refused value (out of range, wider than the format, malformed) prints one line naming it\n"
    "and why on standard error (with --json, its object on standard output); the run goes on.\n"
    "Exit status: 0 all values explained, 1 a value was refused, 2 bad FORMAT or option,\n"
    "4 the output could not be written.\n"
    "\n"
    "In a command script, `explain` alone explains the current value in the current type and size\n"
    "(signed: iN, unsigned: uN, real: f32 or f64, ansi and oem: c8..c64).\n";

class Explainer {
public:
    Explainer(const ExplainFormat& format, bool json, bool colour, const ExplainOptions& options)
        : format_(format),
          json_(json),
          colour_(colour),
          options_(options),
          output_("explain", format.name, json) {}

    void Explain(const char* text, std::size_t length) {
        input_.assign(text, length);
        if (!ParseExplainValue(format_, text, length, &value_, options_)) {
            output_.Refuse(input_, value_.error);
        } else if (json_) {
            AppendJsonReport(format_, input_, value_, &output_.Text(), &scratch_);
        } else {
            if (explained_) output_.Text() += '\n';
            AppendHumanReport(format_, input_, value_, &output_.Text(), colour_, &scratch_);
            explained_ = true;
        }
        output_.Answered();
    }

    AnswerOutput& Output() { return output_; }

private:
    const ExplainFormat& format_;
    bool json_;
    bool colour_;
    const ExplainOptions& options_;
    AnswerOutput output_;
    bool explained_ = false;
    std::string input_;
    ExplainedValue value_;
    ExplainScratch scratch_;
};

}  // namespace

AnswerOutput::AnswerOutput(const char* command, const std::string& formatName, bool json)
    : command_(command), formatName_(formatName), json_(json) {
    out_.reserve(kOutputBufferSize);
}

void AnswerOutput::Refuse(const std::string& input, const std::string& error) {
    refused_ = true;
    if (json_) {
        AppendJsonError(input, error, &out_);
        return;
    }
    Flush();
    std::fprintf(stderr, "corvane-cli: %s %s \"%s\": %s\n", command_, formatName_.c_str(),
                 EscapedForMessage(input).c_str(), error.c_str());
}

void AnswerOutput::Answered() {
    if (out_.size() >= kOutputBufferSize) Flush();
}

void AnswerOutput::Flush() {
    if (!out_.empty()) std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
}

int UsageError(const char* command, const char* what, const char* word) {
    std::fflush(stdout);
    std::fprintf(stderr, "corvane-cli: %s: %s \"%s\" (see corvane-cli %s --help)\n", command, what,
                 EscapedForMessage(word).c_str(), command);
    return kExitBadUsage;
}

namespace {

// The option's word: after "=" in the same argument, else the next argument (nullptr when none).
const char* OptionWord(const char* option, int count, const char* const* args, int* i) {
    const char* arg = args[*i];
    const std::size_t length = std::strlen(option);
    if (arg[length] == '=') return arg + length + 1;
    if (*i + 1 >= count) return nullptr;
    return args[++*i];
}

// Whether arg is the option itself or the option followed by "=".
bool IsOption(const char* arg, const char* option) {
    const std::size_t length = std::strlen(option);
    return std::strncmp(arg, option, length) == 0 && (arg[length] == '\0' || arg[length] == '=');
}

}  // namespace

int ReadCommandWords(const char* command, const char* usage, unsigned options, int count,
                     const char* const* args, CommandWords* out) {
    bool optionsOver = false;
    for (int i = 0; i < count; ++i) {
        const char* arg = args[i];
        if (optionsOver || std::strncmp(arg, "--", 2) != 0) {
            out->words.push_back(arg);
        } else if (std::strcmp(arg, "--help") == 0) {
            std::fputs(usage, stdout);
            return kExitOk;
        } else if (std::strcmp(arg, "--json") == 0) {
            out->json = true;
        } else if (ParseColourOption(arg, &out->colour)) {
        } else if (std::strcmp(arg, "--") == 0) {
            optionsOver = true;
        } else if ((options & kTakesRounding) != 0 && std::strcmp(arg, "--saturate") == 0) {
            out->saturate = true;
        } else if ((options & kTakesRounding) != 0 && IsOption(arg, "--round")) {
            const char* word = OptionWord("--round", count, args, &i);
            if (word == nullptr) return UsageError(command, "--round needs a MODE", "");
            if (!ParseRoundingMode(word, &out->rounding)) {
                return UsageError(command, "unknown rounding MODE", word);
            }
            out->roundGiven = true;
        } else if ((options & kTakesSource) != 0 && IsOption(arg, "--from")) {
            out->from = OptionWord("--from", count, args, &i);
            if (out->from == nullptr) return UsageError(command, "--from needs a FORMAT", "");
        } else {
            return UsageError(command, "unknown option", arg);
        }
    }
    return -1;
}

bool ParseColourOption(const char* arg, ColourChoice* choice) {
    if (std::strcmp(arg, "--color") == 0 || std::strcmp(arg, "--color=always") == 0) {
        *choice = ColourChoice::kAlways;
    } else if (std::strcmp(arg, "--color=auto") == 0) {
        *choice = ColourChoice::kAuto;
    } else if (std::strcmp(arg, "--color=never") == 0) {
        *choice = ColourChoice::kNever;
    } else {
        return false;
    }
    return true;
}

bool UseColour(ColourChoice choice) {
    if (choice != ColourChoice::kAuto) return choice == ColourChoice::kAlways;
    const char* noColour = std::getenv("NO_COLOR");
    const char* terminal = std::getenv("TERM");
    const bool dumb = terminal != nullptr && std::strcmp(terminal, "dumb") == 0;
    return (noColour == nullptr || noColour[0] == '\0') && !dumb && CORVANE_STDOUT_IS_TERMINAL();
}

void ReadInputLines(const std::function<void(const char*, std::size_t)>& take) {
    std::string pending;
    char chunk[kInputChunk];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        std::size_t start = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (chunk[i] != '\n') continue;
            pending.append(chunk + start, i - start);
            if (!pending.empty() && pending.back() == '\r') pending.pop_back();
            take(pending.data(), pending.size());
            pending.clear();
            start = i + 1;
        }
        pending.append(chunk + start, count - start);
    }
    if (!pending.empty()) {
        if (pending.back() == '\r') pending.pop_back();
        take(pending.data(), pending.size());
    }
}

int RunExplain(int count, const char* const* args) {
    CommandWords command;
    const int status =
        ReadCommandWords("explain", kExplainUsage, kTakesRounding | kTakesSource, count, args, &command);
    if (status >= 0) return status;
    const bool json = command.json;
    const std::vector<const char*>& words = command.words;
    if (words.empty()) return UsageError("explain", "missing FORMAT", "");
    ExplainFormat format;
    if (!ParseExplainFormat(words[0], &format)) return UsageError("explain", "unknown FORMAT", words[0]);

    ExplainOptions options;
    options.rounding = Rounding(command.rounding, command.saturate);
    options.roundIntegers = command.roundGiven;
    options.namesRounding = command.roundGiven || command.saturate;
    ExplainFormat source;
    if (command.from != nullptr) {
        if (!ParseExplainFormat(command.from, &source))
            return UsageError("explain", "unknown --from FORMAT", command.from);
        options.source = &source;
    }
    if ((format.kind == ExplainKind::kCharacters || source.kind == ExplainKind::kCharacters) &&
        (options.source != nullptr || options.namesRounding)) {
        const std::string& characters = format.kind == ExplainKind::kCharacters ? format.name : source.name;
        return UsageError("explain", "characters take no --round, --saturate or --from", characters.c_str());
    }

    Explainer explainer(format, json, !json && UseColour(command.colour), options);
    if (words.size() == 1) {
        ReadInputLines(
            [&explainer](const char* text, std::size_t length) { explainer.Explain(text, length); });
    } else {
        for (std::size_t i = 1; i < words.size(); ++i) explainer.Explain(words[i], std::strlen(words[i]));
    }
    explainer.Output().Flush();
    return explainer.Output().Refused() ? kExitValueRefused : kExitOk;
}

void ExplainBits(const std::string& formatName, uint64_t bits) {
    ExplainFormat format;
    if (!ParseExplainFormat(formatName, &format)) return;
    ExplainedValue value;
    value.rawBits = true;
    std::string input = "0x";
    value.bits = format.width >= 64 ? bits : bits & ((uint64_t{1} << format.width) - 1);
    AppendHexBits(value.bits, format.width, &input);
    std::string text;
    AppendHumanReport(format, input, value, &text);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace cv
