// A stand-in for Corvane's main window without a display: the same engine calls, in the same order,
// that the window's commands, edit boxes and dialogs make, so scripts see what a user would see.
#pragma once

#include <cstdint>
#include <string>

#include "engine/value_state.h"

namespace cv {

// Captures what the engine would beep and show: the title of the last input-error box, and the
// text of any internal error (which the commands cannot cause).
class CapturedAlerts : public Alerts {
public:
    void Beep() override {}
    int ShowMessage(WindowRef owner, const char* text, const char* title, unsigned style) override;

    void Clear();
    const std::string& LastTitle() const { return lastTitle_; }
    const std::string& InternalError() const { return internalError_; }

private:
    std::string lastTitle_;
    std::string internalError_;
};

class CliWindow {
public:
    // Start-up: the shared state, the hex box's start text, then the data type signed as the
    // menu sets it.
    void Start();

    // The Data Type menu: a type that does not allow the current size switches to 4 bytes.
    void SelectType(uint32_t dataType);
    // The byte-count buttons; false (and nothing changes) when the type does not allow the size.
    bool SelectSize(uint32_t byteCount);
    void SelectShiftMode(uint32_t mode);

    // One edit of the value box or the hex box: its whole text becomes text. Returns the title of
    // the input-error box when the text is rejected, an empty text when it is accepted.
    std::string EditValueBox(const std::string& text);
    std::string EditHexBox(const std::string& text);

    // The push buttons and a cell's toggle.
    void ShiftLeft();
    void ShiftRight();
    void Fill(uint8_t fill);
    void Flip();
    void Toggle(int bit);

    // The value and hex texts rendered from the bits; the boxes' own texts are not touched.
    void RenderedTexts(std::string* value, std::string* hex);
    // The bit information of bit n (0..63) as the information dialog would show it.
    std::string BitInformation(int n);
    // The datatype report, from the caption and the rendered texts, with the value's text in it
    // escaped for a terminal (EscapedForMessage); its line breaks are still the engine's CR LF.
    std::string Report();

    const CapturedAlerts& Alerts() const { return alerts_; }

private:
    void RenderValueBox();
    void RenderHexBox();

    CapturedAlerts alerts_;
};

}  // namespace cv
