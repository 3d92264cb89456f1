#include "cli/inspect.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/explain.h"
#include "cli/explain_report.h"
#include "cli/message_text.h"
#include "number/binary_float.h"
#include "number/digits.h"
#include "number/write_decimal.h"

namespace cv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitValueRefused = 1;
constexpr std::size_t kMaxRunBytes = 64;
constexpr int kMaxCharacterBytes = 8;  // as c64 names them
constexpr int kByteBits = 8;

const char kInspectUsage[] =
    "Usage: corvane-cli inspect [--json] [--color=WHEN] [BYTES]...\n"
    "Reads a run of bytes as they lie in memory (byte 0 first) in every type whose width fits it,\n"
    "from byte 0, in little-endian and in big-endian order. BYTES are hex digit pairs, blanks\n"
    "between the pairs allowed; all the words together are one run of 1 to 64 bytes:\n"
    "`inspect 9a 99 99 99 99 99 b9 3f` is `inspect 9A9999999999B93F`. With no BYTES, one run per\n"
    "line is read from standard input (every line is a run, an empty one too). Options may stand\n"
    "anywhere before the first BYTES; after -- every word is BYTES.\n"
    "\n"
    "Readings (those the run is wide enough for):\n"
    "  i8 u8 i16 u16 i32 u32 i64 u64   two's complement and unsigned integers, in decimal\n"
    "  f16 bf16 f32 f64 e4m3fn e5m2    the float's shortest text, as `explain` writes it: the\n"
    "                                  shortest decimal that reads back to the same bits; inf,\n"
    "                                  -inf; nan, -nan for the default NaN, else the 0x bits\n"
    "  characters                      the first 8 bytes at most, as `explain c64` names them\n"
    "                                  (NUL, LF, ...; SP for a space; <80>..<A0>; Latin-1 above)\n"
    "Human output: the bytes, then a table, a row per type, columns little-endian and big-endian.\n"
    "--color=auto|always|never is accepted as by explain; the table shows no bits, so nothing in\n"
    "it is coloured.\n"
    "\n"
    "--json: one JSON object per run, one line each:\n"
    "  {\"bytes\": \"9A 99 ...\", \"little\": {\"i8\": \"-102\", ...}, \"big\": {...}, \"text\": \"...\"}\n"
    "  (readings as strings; text byte 0 first, a zero byte as a space, control characters and\n"
    "  bytes from 0x80 up as \\u00XX); a refused run: {\"input\", \"error\"} in its place.\n"
    "\n"
    "A refused run (an odd number of digits, a character that is no hex digit, more than 64\n"
    "bytes, none) prints one line naming it and why on standard error (with --json, its object\n"
    "on standard output); the run goes on.\n"
    "Exit status: 0 all runs read, 1 a run was refused, 2 bad option, 4 the output could not be\n"
    "written.\n";

enum class ReadingKind { kSigned, kUnsigned, kFloat };

struct Reading {
    const char* name;
    int bytes;
    ReadingKind kind;
    BinaryFormat layout;  // floats only
};

const Reading kReadings[] = {
    {"i8", 1, ReadingKind::kSigned, {0, 0}},           {"u8", 1, ReadingKind::kUnsigned, {0, 0}},
    {"i16", 2, ReadingKind::kSigned, {0, 0}},          {"u16", 2, ReadingKind::kUnsigned, {0, 0}},
    {"i32", 4, ReadingKind::kSigned, {0, 0}},          {"u32", 4, ReadingKind::kUnsigned, {0, 0}},
    {"i64", 8, ReadingKind::kSigned, {0, 0}},          {"u64", 8, ReadingKind::kUnsigned, {0, 0}},
    {"f16", 2, ReadingKind::kFloat, kHalfFormat},      {"bf16", 2, ReadingKind::kFloat, kBrainFormat},
    {"f32", 4, ReadingKind::kFloat, kSingleFormat},    {"f64", 8, ReadingKind::kFloat, kDoubleFormat},
    {"e4m3fn", 1, ReadingKind::kFloat, kE4M3FnFormat}, {"e5m2", 1, ReadingKind::kFloat, kE5M2Format}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Hex digit pairs with blanks between them; false with the reason.
bool ParseByteRun(const std::string& text, std::vector<unsigned char>* bytes, std::string* error) {
    bytes->clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end])) {
            if (HexDigitValue(text[end]) < 0) {
                *error = "Not hex digits: only 0-9, a-f, A-F and blanks between pairs.";
                return false;
            }
            ++end;
        }
        if ((end - i) % 2 != 0) {
            std::size_t digits = 0;
            for (char c : text) digits += IsBlank(c) ? 0 : 1;
            *error = digits % 2 != 0 ? "An odd number of hex digits: bytes are digit pairs."
                                     : "A blank inside a byte: blanks may stand only between digit pairs.";
            return false;
        }
        for (; i < end; i += 2) {
            bytes->push_back(
                static_cast<unsigned char>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1])));
        }
    }
    if (bytes->empty()) {
        *error = "No bytes.";
        return false;
    }
    if (bytes->size() > kMaxRunBytes) {
        *error = "More than " + std::to_string(kMaxRunBytes) + " bytes.";
        return false;
    }
    return true;
}

uint64_t ReadBits(const std::vector<unsigned char>& bytes, int count, bool bigEndian) {
    uint64_t bits = 0;
    for (int i = 0; i < count; ++i) {
        const int place = bigEndian ? count - 1 - i : i;
        bits |= static_cast<uint64_t>(bytes[static_cast<std::size_t>(i)]) << (kByteBits * place);
    }
    return bits;
}

std::string ReadingText(const Reading& reading, uint64_t bits) {
    std::string text;
    const int shift = 64 - kByteBits * reading.bytes;
    switch (reading.kind) {
        case ReadingKind::kSigned: {
            const int64_t value = static_cast<int64_t>(bits << shift) >> shift;
            if (value < 0) text += '-';
            AppendDecimal(value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value), &text);
            break;
        }
        case ReadingKind::kUnsigned: AppendDecimal(bits, &text); break;
        case ReadingKind::kFloat: AppendShortest(reading.layout, bits, &text); break;
    }
    return text;
}

struct RunReadings {
    std::string hex;  // "9A 99 ..."
    std::vector<const Reading*> readings;
    std::vector<std::string> little;
    std::vector<std::string> big;
    std::string characterNames;  // the human row
    std::string characters;      // the JSON text, raw
};

void ReadRun(const std::vector<unsigned char>& bytes, RunReadings* run) {
    *run = RunReadings();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) run->hex += ' ';
        AppendHexBits(bytes[i], kByteBits, &run->hex);
    }
    for (const Reading& reading : kReadings) {
        if (static_cast<std::size_t>(reading.bytes) > bytes.size()) continue;
        run->readings.push_back(&reading);
        run->little.push_back(ReadingText(reading, ReadBits(bytes, reading.bytes, false)));
        run->big.push_back(ReadingText(reading, ReadBits(bytes, reading.bytes, true)));
    }
    const std::size_t shown = std::min<std::size_t>(bytes.size(), kMaxCharacterBytes);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) run->characterNames += ' ';
        AppendCharacterName(bytes[i], &run->characterNames);
        run->characters += bytes[i] == 0 ? ' ' : static_cast<char>(bytes[i]);
    }
}

void Pad(const std::string& cell, std::size_t width, std::string* text) {
    *text += cell;
    if (cell.size() < width) text->append(width - cell.size(), ' ');
}

void AppendHumanRun(const RunReadings& run, std::string* text) {
    constexpr std::size_t kLabelColumn = 12;
    const std::string littleHeader = "little-endian";
    std::size_t littleColumn = littleHeader.size();
    for (const std::string& cell : run.little) littleColumn = std::max(littleColumn, cell.size());
    littleColumn += 2;
    Pad("bytes", kLabelColumn, text);
    *text += run.hex + '\n';
    text->append(kLabelColumn, ' ');
    Pad(littleHeader, littleColumn, text);
    *text += "big-endian\n";
    for (std::size_t i = 0; i < run.readings.size(); ++i) {
        Pad(run.readings[i]->name, kLabelColumn, text);
        Pad(run.little[i], littleColumn, text);
        *text += run.big[i] + '\n';
    }
    Pad("characters", kLabelColumn, text);
    *text += run.characterNames + '\n';
}

void AppendJsonOrder(const RunReadings& run, const std::vector<std::string>& cells, std::string* text) {
    *text += '{';
    for (std::size_t i = 0; i < run.readings.size(); ++i) {
        if (i > 0) *text += ',';
        *text += '"';
        *text += run.readings[i]->name;
        *text += "\":\"";
        AppendJsonEscaped(cells[i], text);
        *text += '"';
    }
    *text += '}';
}

void AppendJsonRun(const RunReadings& run, std::string* text) {
    *text += "{\"bytes\":\"" + run.hex + "\",\"little\":";
    AppendJsonOrder(run, run.little, text);
    *text += ",\"big\":";
    AppendJsonOrder(run, run.big, text);
    *text += ",\"text\":\"";
    AppendJsonEscaped(run.characters, text);
    *text += "\"}\n";
}

}  // namespace

bool AppendInspection(const std::string& input, bool json, std::string* out, std::string* error) {
    std::vector<unsigned char> bytes;
    if (!ParseByteRun(input, &bytes, error)) {
        if (json) AppendJsonError(input, *error, out);
        return false;
    }
    RunReadings run;
    ReadRun(bytes, &run);
    if (json) {
        AppendJsonRun(run, out);
    } else {
        AppendHumanRun(run, out);
    }
    return true;
}

namespace {

class Inspector {
public:
    explicit Inspector(bool json) : json_(json) {}

    void Inspect(const char* text, std::size_t length) {
        input_.assign(text, length);
        out_.clear();
        if (!json_ && inspected_) out_ += '\n';
        if (!AppendInspection(input_, json_, &out_, &error_)) {
            refused_ = true;
            if (!json_) {
                std::fflush(stdout);
                std::fprintf(stderr, "corvane-cli: inspect \"%s\": %s\n", EscapedForMessage(input_).c_str(),
                             error_.c_str());
                return;
            }
        } else {
            inspected_ = true;
        }
        std::fwrite(out_.data(), 1, out_.size(), stdout);
    }

    bool Refused() const { return refused_; }

private:
    bool json_;
    bool refused_ = false;
    bool inspected_ = false;
    std::string input_;
    std::string error_;
    std::string out_;
};

}  // namespace

int RunInspect(int count, const char* const* args) {
    CommandWords command;
    const int status = ReadCommandWords("inspect", kInspectUsage, 0, count, args, &command);
    if (status >= 0) return status;
    const bool json = command.json;
    const std::vector<const char*>& words = command.words;
    Inspector inspector(json);
    if (words.empty()) {
        ReadInputLines(
            [&inspector](const char* text, std::size_t length) { inspector.Inspect(text, length); });
    } else {
        std::string run;
        for (const char* word : words) {
            if (!run.empty()) run += ' ';
            run += word;
        }
        inspector.Inspect(run.data(), run.size());
    }
    return inspector.Refused() ? kExitValueRefused : kExitOk;
}

}  // namespace cv
