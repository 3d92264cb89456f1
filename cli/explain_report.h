// The answers of `corvane-cli explain`: one value's explanation as human text or as one JSON line.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cli/explain_input.h"

namespace cv {

// Scratch space for writing explanations, kept by the caller from one explanation to the next so
// that their texts reuse its buffers. The functions below take nullptr for a scratch of the call's
// own.
class ExplainScratch {
public:
    struct Fields;
    ExplainScratch();
    ~ExplainScratch();
    ExplainScratch(const ExplainScratch&) = delete;
    ExplainScratch& operator=(const ExplainScratch&) = delete;
    Fields& fields() { return *fields_; }

private:
    std::unique_ptr<Fields> fields_;
};

// Append the explanation of an accepted value (input is the VALUE text as given); colour: the
// float fields' bits in `binary` in ANSI colours (for a terminal).
void AppendHumanReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                       std::string* text, bool colour = false, ExplainScratch* scratch = nullptr);
void AppendJsonReport(const ExplainFormat& format, const std::string& input, const ExplainedValue& value,
                      std::string* text, ExplainScratch* scratch = nullptr);
// The explanation's lines alone (no heading line), each indented by `indent` more spaces.
void AppendHumanLines(const ExplainFormat& format, const ExplainedValue& value, int indent, std::string* text,
                      bool colour = false, ExplainScratch* scratch = nullptr);
// The explanation as one JSON object without format and input: {"hex":...,...}, no line break.
void AppendJsonObject(const ExplainFormat& format, const ExplainedValue& value, std::string* text,
                      ExplainScratch* scratch = nullptr);
// A float value's conversion as its explanation writes it (the human text after the label, or the
// JSON object); false, appending nothing, when the value was not converted.
bool AppendConversion(const ExplainFormat& format, const ExplainedValue& value, bool json, std::string* text);
// An exact plain decimal as the human text writes it: exponent form with the digit count when its
// plain form begins with more than six zeros after the point or has more than 40 digits before it;
// any other text as it is.
std::string HumanDecimal(const std::string& plain);

// {"input":...,"error":...} for a refused value.
void AppendJsonError(const std::string& input, const std::string& error, std::string* text);

// IEEE flag names as JSON (["inexact","overflow"], [] for none) or human text ("inexact, overflow",
// "none" for none).
void AppendFlagNames(const char* const* names, int count, bool json, std::string* text);

// A byte as the human text shows it: printable ASCII itself, controls by name (NUL, LF, ...), SP for
// a space, <80>..<A0> for those bytes, Latin-1 above in UTF-8.
void AppendCharacterName(unsigned byte, std::string* text);

// A JSON string's contents: quotes and backslashes escaped, control characters as \u00XX, and every
// byte from 0x80 up as the Latin-1 character \u00XX, so that the output is always valid UTF-8.
void AppendJsonEscaped(std::string_view raw, std::string* text);

}  // namespace cv
