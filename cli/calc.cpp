#include "cli/calc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/explain.h"
#include "cli/explain_report.h"
#include "number/arithmetic.h"
#include "number/binary_float.h"

namespace cv {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kMaxOperands = CalcScratch::kMostOperands;
constexpr const char* kOperandNames[kMaxOperands] = {"A", "B", "C"};

const char kCalcUsage[] =
    "Usage: corvane-cli calc [--json] [--round MODE] [--saturate] [--color=WHEN] FORMAT [OPERATION]\n"
    "Does one IEEE 754 operation in FORMAT exactly: converts each operand to FORMAT, computes the\n"
    "exact result on the stored operands, rounds it once, and shows the exact result, the rounded\n"
    "one, the error and the flags. With no OPERATION, one operation per line is read from standard\n"
    "input (every line is an operation, an empty one too; line n of the output answers line n).\n"
    "Options may stand anywhere before the first operand, before or after FORMAT; after -- every\n"
    "word is FORMAT or the OPERATION's.\n"
    "\n"
    "OPERATION (each word a separate argument, or on a line separated by blanks):\n"
    "  A + B, A - B, A * B (also A x B: no shell quoting), A / B, sqrt A, fma A B C (A x B + C\n"
    "  rounded once)\n"
    "Each operand is a VALUE as `explain FORMAT` reads it (a decimal number, a C99 hexadecimal float,\n"
    "inf, -inf, nan, or the raw bits as 0x... or 0b...), converted to FORMAT by the same MODE and\n"
    "saturation; a decimal operand's conversion is shown with it, and its flags are not the\n"
    "operation's.\n"
    "\n"
    "FORMAT: every float format of explain (see corvane-cli explain --help): f16, bf16, f32, f64,\n"
    "fp:E:M with :fn, :fnuz, :finite, the machine-learning names, tf32; e8m0fnu takes *, / and sqrt\n"
    "only (it has no zero and no negative values).\n"
    "\n"
    "--round MODE: even (to nearest, ties to even; the default), away (to nearest, ties away from\n"
    "zero), zero, up (toward +inf), down (toward -inf). --saturate: a result that would be an\n"
    "infinity (an overflow, or an infinite exact result) or, without infinities, the NaN an overflow\n"
    "gives, is the largest finite value of its sign instead.\n"
    "\n"
    "IEEE 754 rules:\n"
    "  flags      the operation's own, in this order: invalid (inf - inf, 0 x inf, 0 / 0, inf / inf,\n"
    "             sqrt below zero, fma(0, inf, C) and fma(inf, 0, C) whatever C, a signalling NaN\n"
    "             operand), divide-by-zero (a finite non-zero value / 0), overflow, underflow (tiny\n"
    "             after rounding, and inexact), inexact\n"
    "  NaN        the first NaN among A, B, C, made quiet, keeps its sign and payload (a signalling\n"
    "             one raises invalid, as does fma(0, inf, NaN)); an invalid operation gives the\n"
    "             quiet NaN of sign 0 and payload 0; a format with one NaN gives that NaN; in a\n"
    "             finite layout (no NaN) an operation without a numeric result is refused\n"
    "  zeros      an exact zero sum or difference of opposite signs (and x - x) is +0, in mode down\n"
    "             -0; x + x and x - (-x) keep the sign of x; products and quotients take the\n"
    "             exclusive or of the signs; sqrt(-0) is -0; fma follows the sum rule on the exact\n"
    "             product; a fnuz layout has only +0\n"
    "  infinity   x / 0 is an infinity of the quotient's sign (flag divide-by-zero); without\n"
    "             infinities it is what an overflow of that sign gives in the mode (the NaN, or the\n"
    "             largest finite value), with divide-by-zero as its only flag\n"
    "\n"
    "Exact texts: a plain decimal, every digit, when it ends (sums, differences, products and fma\n"
    "always end; a quotient when its reduced denominator is 2^a x 5^b; a square root when it is\n"
    "rational); otherwise the first 40 significant digits of the magnitude, cut (toward zero, not\n"
    "rounded), with its sign before them, zeros for the digits past the 40th before the point, and\n"
    "\"...\" after them; \"inf\", \"-inf\", \"nan\" when the mathematical result is one. An exact zero is\n"
    "\"0\" (the sign is the rounded result's). The error is the rounded result minus the exact one,\n"
    "written the same way (a negative error: \"-\" and its magnitude's digits, cut).\n"
    "\n"
    "Human output: the operation as read; each operand (its input, then its stored hex, exact value\n"
    "and, when it was rounded, its conversion); exact (the exact result); result (the rounded value\n"
    "explained as explain does: hex, binary by fields, class, exact, shortest, ...); error; flags.\n"
    "Long exact values are in exponent form as in explain (JSON keeps the plain form); a cut one\n"
    "shows its digits and \"...\" before the exponent: 3.333...e-11 (40 digits, cut).\n"
    "--color=WHEN: auto (the default) colours the sign, exponent and mantissa bits of the result's\n"
    "binary when standard output is a terminal (TERM not dumb) and NO_COLOR is unset or empty;\n"
    "always, never (--color alone is always). JSON is never coloured.\n"
    "\n"
    "--json: one JSON object per operation, one line each:\n"
    "  format, operation (\"add\", \"subtract\", \"multiply\", \"divide\", \"sqrt\", \"fma\"), input (the\n"
    "  operation's text), rounding (the MODE, when --round or --saturate is given),\n"
    "  operands (a list of {input, hex, exact, and conversion as in explain for a decimal operand}),\n"
    "  exact_result, result (the explain object of the rounded value: hex, binary, class, sign,\n"
    "  exponent, mantissa, exact, shortest, ...), error (absent when the result or the exact result\n"
    "  is not finite), flags (a list, empty when none), saturated (true, only when saturation gave\n"
    "  the result);\n"
    "  a refused operation (malformed, an operand FORMAT refuses, an operation FORMAT cannot give):\n"
    "  {input, error} in its place.\n"
    "\n"
    "A refused operation prints one line naming it and why on standard error (with --json, its\n"
    "object on standard output); the run goes on.\n"
    "Exit status: 0 all operations done, 1 an operation was refused, 2 bad FORMAT or option,\n"
    "4 the output could not be written.\n";

struct OperationName {
    const char* word;  // the operator or the function name
    Operation operation;
    const char* name;  // in JSON
};
constexpr OperationName kOperations[] = {
    {"+", Operation::kAdd, "add"},           {"-", Operation::kSubtract, "subtract"},
    {"*", Operation::kMultiply, "multiply"}, {"x", Operation::kMultiply, "multiply"},
    {"/", Operation::kDivide, "divide"},     {"sqrt", Operation::kSqrt, "sqrt"},
    {"fma", Operation::kFma, "fma"}};

const char kMalformed[] =
    "Malformed operation: expected A + B, A - B, A * B (or A x B), A / B, sqrt A or fma A B C.";

// The blank-separated words of text (views into it); false when there are more than max of them.
bool SplitWords(const std::string& text, std::string_view* words, std::size_t max, std::size_t* count) {
    *count = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    for (auto at = text.begin(); at != text.end();) {
        const auto start = std::find_if_not(at, text.end(), blank);
        at = std::find_if(start, text.end(), blank);
        if (start == at) break;
        if (*count == max) return false;
        words[(*count)++] = std::string_view(&*start, static_cast<std::size_t>(at - start));
    }
    return true;
}

// The operation and its operand words (views into the words); nullptr when the words are none of
// the forms.
const OperationName* ReadOperation(const std::string_view* words, std::size_t count,
                                   std::string_view* operands) {
    for (const OperationName& named : kOperations) {
        const bool function = named.operation == Operation::kSqrt || named.operation == Operation::kFma;
        const std::size_t size = static_cast<std::size_t>(OperandCount(named.operation)) + 1;
        if (count != size) continue;
        if (function && words[0] == named.word) {
            std::copy(words + 1, words + count, operands);
            return &named;
        }
        if (!function && words[1] == named.word) {
            operands[0] = words[0];
            operands[1] = words[2];
            return &named;
        }
    }
    return nullptr;
}

// Appends a plain decimal text, negated when negate ("0" for either zero).
void AppendSignedCopy(const std::string& plain, bool negate, std::string* text) {
    const bool negative = !plain.empty() && plain[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    if (plain.compare(start, std::string::npos, "0") == 0) {
        *text += '0';
        return;
    }
    if (negative != negate) *text += '-';
    text->append(plain, start, std::string::npos);
}

void AppendFlags(const ArithmeticResult& result, bool json, std::string* text) {
    const LayoutConversion& c = result.conversion;
    const char* names[5];
    int count = 0;
    if (c.invalid) names[count++] = "invalid";
    if (result.divideByZero) names[count++] = "divide-by-zero";
    if (c.overflow) names[count++] = "overflow";
    if (c.underflow) names[count++] = "underflow";
    if (c.inexact) names[count++] = "inexact";
    AppendFlagNames(names, count, json, text);
}

// "  label" padded to the values' column, indented.
void Label(int indent, const char* label, std::string* text) {
    constexpr std::size_t kColumn = 12;
    text->append(static_cast<std::size_t>(indent) + 2, ' ');
    *text += label;
    text->append(kColumn - std::strlen(label), ' ');
}

void AppendHumanOperand(const ExplainFormat& format, std::string_view input, const ExplainedValue& value,
                        const std::string& exact, const char* name, std::string* text) {
    Label(0, name, text);
    *text += input;
    *text += '\n';
    Label(2, "hex", text);
    AppendHexBits(value.bits, format.width, text);
    *text += '\n';
    Label(2, "exact", text);
    *text += HumanDecimal(exact);
    *text += '\n';
    if (value.conversion.inexact || value.conversion.saturated || value.conversion.invalid) {
        Label(2, "conversion", text);
        AppendConversion(format, value, false, text);
        *text += '\n';
    }
}

void AppendJsonOperand(const ExplainFormat& format, std::string_view input, const ExplainedValue& value,
                       const std::string& exact, std::string* text) {
    *text += "{\"input\":\"";
    AppendJsonEscaped(input, text);
    *text += "\",\"hex\":\"";
    AppendHexBits(value.bits, format.width, text);
    *text += "\",\"exact\":\"";
    *text += exact;
    *text += '"';
    if (value.converted) {
        *text += ",\"conversion\":";
        AppendConversion(format, value, true, text);
    }
    *text += '}';
}

}  // namespace

bool AppendCalculation(const ExplainFormat& format, const ExplainOptions& options, const std::string& text,
                       bool json, bool colour, std::string* out, std::string* error, CalcScratch* scratch) {
    std::unique_ptr<CalcScratch> ownScratch;
    if (scratch == nullptr) {
        ownScratch.reset(new CalcScratch);
        scratch = ownScratch.get();
    }
    constexpr std::size_t kMostWords = kMaxOperands + 1;
    std::string_view words[kMostWords];
    std::size_t wordCount = 0;
    std::string_view operandTexts[kMaxOperands];
    const OperationName* named = SplitWords(text, words, kMostWords, &wordCount)
                                     ? ReadOperation(words, wordCount, operandTexts)
                                     : nullptr;
    if (named == nullptr) {
        *error = kMalformed;
        return false;
    }
    const Operation operation = named->operation;
    const BinaryFormat& layout = format.layout;
    if (layout.kind == LayoutKind::kPowerOfTwo &&
        (operation == Operation::kAdd || operation == Operation::kSubtract || operation == Operation::kFma)) {
        *error = format.name + " takes *, / and sqrt only.";
        return false;
    }
    ExplainedValue* operands = scratch->operands;
    uint64_t bits[kMaxOperands] = {};
    const int count = OperandCount(operation);
    for (int i = 0; i < count; ++i) {
        const std::string_view word = operandTexts[i];
        if (!ParseExplainValue(format, word.data(), word.size(), &operands[i], options)) {
            *error = std::string("Operand ") + kOperandNames[i] + ": " + operands[i].error;
            return false;
        }
        bits[i] = operands[i].bits;
    }
    const ArithmeticResult result = Calculate(layout, operation, bits, options.rounding);
    if (result.noResult) {
        *error = "No numeric result (an invalid operation), and " + format.name + " has no NaN.";
        return false;
    }
    std::string* operandExact = scratch->operandExact;
    for (int i = 0; i < count; ++i) {
        operandExact[i].clear();
        AppendExactValue(layout, bits[i], &operandExact[i]);
    }
    ExplainedValue& rounded = scratch->rounded;
    rounded.bits = result.conversion.bits;
    rounded.exactText.clear();
    std::string& exact = scratch->exactResult;
    exact.clear();
    std::string& difference = scratch->error;
    difference.clear();
    const bool withError =
        result.exact.kind == ExactValue::Kind::kFinite && IsFinite(DecodeFloat(layout, rounded.bits));
    // A sum far from its smaller term rounds to the larger one: its digits are written already, and
    // the error is the other term, A + B - A = B: -B for a sum, B for a difference.
    const bool roundedToA = withError && rounded.bits == bits[0];
    const bool errorIsB = roundedToA && (operation == Operation::kAdd || operation == Operation::kSubtract);
    if (withError) {
        const uint64_t* same = std::find(bits, bits + count, rounded.bits);
        if (same != bits + count) {
            rounded.exactText = operandExact[same - bits];
        } else {
            AppendExactValue(layout, rounded.bits, &rounded.exactText);
        }
    }
    AppendExactResultAndError(layout, rounded.bits, result.exact, rounded.exactText, &exact,
                              errorIsB ? nullptr : &difference, &scratch->sum);
    if (errorIsB) AppendSignedCopy(operandExact[1], operation == Operation::kAdd, &difference);

    if (json) {
        *out += "{\"format\":\"";
        AppendJsonEscaped(format.name, out);
        *out += "\",\"operation\":\"";
        *out += named->name;
        *out += "\",\"input\":\"";
        AppendJsonEscaped(text, out);
        *out += '"';
        if (options.namesRounding) {
            *out += ",\"rounding\":\"";
            *out += RoundingModeWord(options.rounding.mode);
            *out += '"';
        }
        *out += ",\"operands\":[";
        for (int i = 0; i < count; ++i) {
            if (i > 0) *out += ',';
            AppendJsonOperand(format, operandTexts[i], operands[i], operandExact[i], out);
        }
        *out += "],\"exact_result\":\"";
        *out += exact;
        *out += "\",\"result\":";
        AppendJsonObject(format, rounded, out, &scratch->explanation);
        if (!difference.empty()) {
            *out += ",\"error\":\"";
            *out += difference;
            *out += '"';
        }
        *out += ",\"flags\":";
        AppendFlags(result, true, out);
        if (result.conversion.saturated) *out += ",\"saturated\":true";
        *out += "}\n";
        return true;
    }
    *out += format.name;
    *out += ' ';
    *out += text;
    *out += '\n';
    for (int i = 0; i < count; ++i)
        AppendHumanOperand(format, operandTexts[i], operands[i], operandExact[i], kOperandNames[i], out);
    Label(0, "exact", out);
    *out += HumanDecimal(exact);
    *out += '\n';
    Label(0, "result", out);
    AppendHexBits(rounded.bits, format.width, out);
    if (result.conversion.saturated) *out += " (saturated)";
    *out += '\n';
    AppendHumanLines(format, rounded, 2, out, colour, &scratch->explanation);
    if (!difference.empty()) {
        Label(0, "error", out);
        *out += HumanDecimal(difference);
        *out += '\n';
    }
    Label(0, "flags", out);
    AppendFlags(result, false, out);
    *out += '\n';
    return true;
}

namespace {

class Calculator {
public:
    Calculator(const ExplainFormat& format, const ExplainOptions& options, bool json, bool colour)
        : format_(format),
          options_(options),
          json_(json),
          colour_(colour),
          output_("calc", format.name, json) {}

    void Calculate(const char* text, std::size_t length) {
        input_.assign(text, length);
        std::string& out = output_.Text();
        const std::size_t before = out.size();
        if (!json_ && answered_) out += '\n';
        if (AppendCalculation(format_, options_, input_, json_, colour_, &out, &error_, &scratch_)) {
            answered_ = true;
        } else {
            out.resize(before);
            output_.Refuse(input_, error_);
        }
        output_.Answered();
    }

    AnswerOutput& Output() { return output_; }

private:
    const ExplainFormat& format_;
    const ExplainOptions& options_;
    bool json_;
    bool colour_;
    AnswerOutput output_;
    bool answered_ = false;
    std::string input_;
    std::string error_;
    CalcScratch scratch_;
};

}  // namespace

int RunCalc(int count, const char* const* args) {
    CommandWords command;
    const int status = ReadCommandWords("calc", kCalcUsage, kTakesRounding, count, args, &command);
    if (status >= 0) return status;
    const std::vector<const char*>& words = command.words;
    if (words.empty()) return UsageError("calc", "missing FORMAT", "");
    ExplainFormat format;
    if (!ParseExplainFormat(words[0], &format)) return UsageError("calc", "unknown FORMAT", words[0]);
    if (format.kind != ExplainKind::kFloat) return UsageError("calc", "not a float FORMAT", words[0]);

    ExplainOptions options;
    options.rounding = Rounding(command.rounding, command.saturate);
    options.namesRounding = command.roundGiven || command.saturate;
    Calculator calculator(format, options, command.json, !command.json && UseColour(command.colour));
    if (words.size() == 1) {
        ReadInputLines(
            [&calculator](const char* text, std::size_t length) { calculator.Calculate(text, length); });
    } else {
        std::string line;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (i > 1) line += ' ';
            line += words[i];
        }
        calculator.Calculate(line.data(), line.size());
    }
    calculator.Output().Flush();
    return calculator.Output().Refused() ? kExitRefused : kExitOk;
}

}  // namespace cv
