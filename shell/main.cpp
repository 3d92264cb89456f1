// Corvane's entry point: start-up, then the message loop until the main window is gone.
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR /*commandLine*/, int showCommand) {
    if (cv::StartCorvane(instance, previous, showCommand) == nullptr) return 1;
    return cv::RunMessageLoop();
}
