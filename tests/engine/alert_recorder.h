// Records what the engine beeps and shows, in order, as one text:
// "beep;" for a beep and "box[title|text|style];" for a message box.
#pragma once

#include <string>

#include "engine/value_state.h"

namespace cv {

class AlertRecorder : public Alerts {
public:
    AlertRecorder() { SetAlerts(this); }
    ~AlertRecorder() override { SetAlerts(nullptr); }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    void Beep() override { log_ += "beep;"; }
    int ShowMessage(WindowRef owner, const char* text, const char* title, unsigned style) override {
        lastOwner_ = owner;
        log_ += "box[" + std::string(title) + "|" + text + "|" + std::to_string(style) + "];";
        return 1;
    }

    const std::string& Log() const { return log_; }
    WindowRef LastOwner() const { return lastOwner_; }
    void Clear() { log_.clear(); }

private:
    std::string log_;
    WindowRef lastOwner_ = nullptr;
};

}  // namespace cv
