#include "cli/cli_window.h"

#include <cstring>

#include "cli/message_text.h"
#include "engine/bit_info.h"
#include "engine/bit_ops.h"
#include "engine/box_edit.h"
#include "engine/value_text.h"

namespace cv {

namespace {

// The owner of every box the engine would open; there is no window.
const WindowRef kNoWindow = nullptr;
constexpr const char* kStartHexText = "00000000";
constexpr int kCaretMask = 0xFFFF;  // EM_GETSEL gives the caret in 16 bits

int CaretAtEnd(const std::string& text) {
    return static_cast<int>(text.size() < static_cast<std::size_t>(kCaretMask) ? text.size() : kCaretMask);
}

}  // namespace

int CapturedAlerts::ShowMessage(WindowRef, const char* text, const char* title, unsigned) {
    if (std::strcmp(title, kInternalErrorTitle) == 0) {
        if (internalError_.empty()) internalError_ = text;
    } else {
        lastTitle_ = title;
    }
    return 1;
}

void CapturedAlerts::Clear() {
    lastTitle_.clear();
}

void CliWindow::Start() {
    SetAlerts(&alerts_);
    ResetState();
    CopyText(LastHexText, kStartHexText);
    SelectType(IDM_SIGNED);
}

void CliWindow::SelectType(uint32_t dataType) {
    if (DataType == dataType) return;
    DataType = dataType;
    const uint32_t size = SizeAfterTypeChange(dataType, ByteCount);
    if (size == ByteCount) {
        RenderValueBox();
    } else {
        SelectSize(size);
    }
}

bool CliWindow::SelectSize(uint32_t byteCount) {
    if (!TypeAllowsSize(DataType, byteCount)) return false;
    if (ByteCount == byteCount) return true;
    ByteCount = byteCount;
    RenderValueBox();
    RenderHexBox();
    return true;
}

void CliWindow::SelectShiftMode(uint32_t mode) {
    ShiftMode = mode;
}

std::string CliWindow::EditValueBox(const std::string& text) {
    alerts_.Clear();
    // The window swallows the echo of each of its own texts, so an edit is always the user's.
    const EditOutcome outcome = ValueBoxEdited(text.c_str(), CaretAtEnd(text), kNoWindow);
    // WM_SYNCBITCELLS has no cells to redraw here; the other box follows the new bits.
    if (outcome.accepted && outcome.bitsChanged) RenderHexBox();
    return outcome.accepted ? std::string() : alerts_.LastTitle();
}

std::string CliWindow::EditHexBox(const std::string& text) {
    alerts_.Clear();
    // The hex box has ES_UPPERCASE: typed letters arrive as capitals.
    std::string typed = text;
    for (char& c : typed) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    const EditOutcome outcome = HexBoxEdited(typed.c_str(), CaretAtEnd(typed), kNoWindow);
    if (outcome.accepted && outcome.bitsChanged) RenderValueBox();
    return outcome.accepted ? std::string() : alerts_.LastTitle();
}

void CliWindow::ShiftLeft() {
    ShiftBitsLeft(kNoWindow);
    RenderValueBox();
    RenderHexBox();
}

void CliWindow::ShiftRight() {
    ShiftBitsRight(kNoWindow);
    RenderValueBox();
    RenderHexBox();
}

void CliWindow::Fill(uint8_t fill) {
    FillBits(fill);
    RenderValueBox();
    RenderHexBox();
}

void CliWindow::Flip() {
    FlipBits();
    RenderValueBox();
    RenderHexBox();
}

void CliWindow::Toggle(int bit) {
    ToggleBit(bit);
    RenderValueBox();
    RenderHexBox();
}

void CliWindow::RenderedTexts(std::string* value, std::string* hex) {
    // Into buffers of the boxes' sizes, so the texts are cut as the boxes' own are.
    char valueText[kLastValueTextSize];
    char hexText[kLastHexTextSize];
    RenderValueText(valueText, sizeof valueText, kNoWindow);
    RenderHexText(hexText, sizeof hexText, kNoWindow);
    *value = valueText;
    *hex = hexText;
}

std::string CliWindow::BitInformation(int n) {
    const uint64_t bit = 1ull << n;
    const unsigned set = (Value64() & bit) != 0 ? 1 : 0;
    const uint32_t cellWord = static_cast<uint32_t>(n) | (set ? kCellSetFlag : 0u);
    InfoBox(kNoWindow, cellWord, set);
    return MessageText;
}

std::string CliWindow::Report() {
    std::string value;
    std::string hex;
    RenderedTexts(&value, &hex);
    const std::string caption = std::string("Corvane") + CaptionSuffix(DataType);
    // Composed without the value, which then goes in escaped, cut as the report cuts it: the
    // report's tabs and line breaks are its layout, the value's bytes may be anything.
    char report[kReportSize];
    ComposeReport(caption.c_str(), "", hex.c_str(), report);
    std::string text = report;
    const std::size_t label = text.find(kReportValueLabel);
    if (label == std::string::npos) return text;
    text.insert(label + std::char_traits<char>::length(kReportValueLabel),
                EscapedForMessage(value.substr(0, kReportValueChars)));
    return text;
}

void CliWindow::RenderValueBox() {
    RenderValueText(LastValueText, sizeof LastValueText, kNoWindow);
}

void CliWindow::RenderHexBox() {
    RenderHexText(LastHexText, sizeof LastHexText, kNoWindow);
}

}  // namespace cv
