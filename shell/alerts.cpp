// The engine's beep and message box, made real with MessageBeep(0) and MessageBoxA.
#include "shell/shell.h"

namespace cv {
namespace {

class Win32Alerts : public Alerts {
public:
    void Beep() override { MessageBeep(0); }
    int ShowMessage(WindowRef owner, const char* text, const char* title, unsigned style) override {
        return MessageBoxA(static_cast<HWND>(owner), text, title, style);
    }
};

Win32Alerts TheWin32Alerts;

}  // namespace

void InstallWin32Alerts() {
    SetAlerts(&TheWin32Alerts);
}

}  // namespace cv
