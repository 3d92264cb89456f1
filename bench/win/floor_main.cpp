// cv_floor.exe: the floor of Corvane's start-up and memory figures. It builds Corvane's main window
// tree (the same classes, styles, places, menu, icon and accelerators; see floor_window.h), shows
// Corvane's start-up view and runs the same message loop, and does nothing else: no engine, no
// state, no help path, no subclassing.
#include <windows.h>

#include "bench/win/floor_window.h"
#include "shell/layout.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    floorbench::Floor floor;
    if (!floorbench::CreateFloor(floor, instance, cv::kMainWindowX, cv::kMainWindowY, showCommand)) return 1;
    MSG message = {};
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return 1;
        if (!TranslateAcceleratorA(floor.windows.main, floor.accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
