// The one test stand-in of the engine's alert interface, for every test program: records what the
// engine beeps and shows, in order, and passes it on to an inner implementation when one is given
// (the shell's own, so that a real message box appears).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "engine/value_state.h"

namespace cv {

class AlertRecorder : public Alerts {
public:
    // Installed at once (SetAlerts) unless install is false; uninstalled when destroyed.
    explicit AlertRecorder(bool install = true) : installed_(install) {
        if (install) SetAlerts(this);
    }
    ~AlertRecorder() override {
        if (installed_) SetAlerts(nullptr);
    }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    void Beep() override {
        ++beeps_;
        log_ += "beep;";
        if (inner_ != nullptr) inner_->Beep();
    }
    int ShowMessage(WindowRef owner, const char* text, const char* title, unsigned style) override {
        Record(owner, text, title, style);
        return inner_ != nullptr ? inner_->ShowMessage(owner, text, title, style) : 1;
    }

    // Where beeps and boxes are passed on (nullptr: nowhere, every box answers 1).
    void PassTo(Alerts* inner) { inner_ = inner; }
    Alerts* Inner() const { return inner_; }

    // "beep;" per beep and "box[title|text|style];" per box.
    const std::string& Log() const { return log_; }
    int Beeps() const { return beeps_; }
    int Boxes() const { return static_cast<int>(owners_.size()); }
    // The owners of the boxes, in order, and the last one.
    const std::vector<WindowRef>& Owners() const { return owners_; }
    WindowRef LastOwner() const { return owners_.empty() ? nullptr : owners_.back(); }
    const std::string& LastTitle() const { return lastTitle_; }
    // The text of the last internal-error box, empty when there was none.
    const std::string& InternalError() const { return internalError_; }

    void Clear() {
        beeps_ = 0;
        log_.clear();
        owners_.clear();
        lastTitle_.clear();
        internalError_.clear();
    }

protected:
    // Notes one box without passing it on.
    void Record(WindowRef owner, const char* text, const char* title, unsigned style) {
        owners_.push_back(owner);
        lastTitle_ = title;
        if (std::strcmp(title, "Corvane Internal Error") == 0) internalError_ = text;
        log_ += "box[" + std::string(title) + "|" + text + "|" + std::to_string(style) + "];";
    }

private:
    bool installed_;
    Alerts* inner_ = nullptr;
    int beeps_ = 0;
    std::string log_;
    std::vector<WindowRef> owners_;
    std::string lastTitle_;
    std::string internalError_;
};

}  // namespace cv
