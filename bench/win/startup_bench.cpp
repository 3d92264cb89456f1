// Start-up and memory of Corvane against its floor, cv_floor.exe, started alternately in one run so
// that both meet the same machine load:
//
//   startup_bench CORVANE.EXE FLOOR.EXE [ROUNDS]
//
// The floor creates the same window tree as Corvane (classes, styles, places, menu, icon,
// accelerators), shows Corvane's start-up view and runs the same message loop; it has no engine,
// state, help path or subclassing (bench/win/floor_window.h). So the ratio is what Corvane's own
// start-up work adds to what its window tree costs. Goal: at most 1.3 times the floor.
//
// One start: the clock runs from just before CreateProcess until WaitForInputIdle has returned and
// the program's top-level window is found visible. The peak working set is read once the window is
// idle; then the window is closed and the process awaited.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr DWORD kIdleTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;
constexpr int kDefaultRounds = 20;
constexpr double kGoalRatio = 1.3;

struct Program {
    const char* path;
    const char* className;
    std::vector<double> startMs;
    std::vector<double> peakKiB;
};

struct FindRequest {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* request = reinterpret_cast<FindRequest*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != request->processId || !IsWindowVisible(window)) return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, request->className) != 0) return TRUE;
    request->found = window;
    return FALSE;
}

HWND FindVisibleWindow(DWORD processId, const char* className) {
    FindRequest request = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Starts the program once and records its figures; false when it did not come up.
bool MeasureOnce(Program& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH + 2];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", program.path);

    const double start = NowMs();
    if (!CreateProcessA(program.path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fprintf(stderr, "cannot start %s (error %lu)\n", program.path, GetLastError());
        return false;
    }
    bool ok = WaitForInputIdle(process.hProcess, kIdleTimeoutMs) == 0;
    HWND window = nullptr;
    while (ok && (window = FindVisibleWindow(process.dwProcessId, program.className)) == nullptr) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || NowMs() - start > kIdleTimeoutMs) {
            ok = false;
        } else {
            Sleep(0);
        }
    }
    const double elapsed = NowMs() - start;
    if (ok) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
            program.peakKiB.push_back(static_cast<double>(counters.PeakWorkingSetSize) / 1024.0);
        }
        program.startMs.push_back(elapsed);
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else {
        fprintf(stderr, "%s: no visible \"%s\" window\n", program.path, program.className);
    }
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 3);
        WaitForSingleObject(process.hProcess, kExitTimeoutMs);
        ok = false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Percentile99(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, (values.size() * 99 + 99) / 100 - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: startup_bench CORVANE.EXE FLOOR.EXE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : kDefaultRounds;
    Program corvane = {argv[1], "Corvane", {}, {}};
    Program floor = {argv[2], "CvFloor", {}, {}};

    // One unmeasured start of each fills the file cache and starts Wine's services.
    if (!MeasureOnce(corvane) || !MeasureOnce(floor)) return 1;
    corvane = {argv[1], "Corvane", {}, {}};
    floor = {argv[2], "CvFloor", {}, {}};
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first, so neither always follows the other's exit.
        Program& first = round % 2 ? floor : corvane;
        Program& second = round % 2 ? corvane : floor;
        if (!MeasureOnce(first) || !MeasureOnce(second)) return 1;
    }

    const double corvaneMs = Median(corvane.startMs);
    const double floorMs = Median(floor.startMs);
    const double ratio = floorMs > 0 ? corvaneMs / floorMs : 0.0;
    printf(
        "start-up to idle window, %d alternating starts each, ms (floor: cv_floor.exe, the same window "
        "tree):\n",
        rounds);
    printf("  %-26s %9s %9s %9s %9s %7s  goal: at most %.1f x floor\n", "program", "median", "p99",
           "floor med", "floor p99", "ratio", kGoalRatio);
    printf("  %-26s %9.1f %9.1f %9.1f %9.1f %7.2f  %s\n", "corvane.exe", corvaneMs,
           Percentile99(corvane.startMs), floorMs, Percentile99(floor.startMs), ratio,
           ratio <= kGoalRatio ? "met" : "MISSED");
    const double corvaneKiB = Median(corvane.peakKiB);
    const double floorKiB = Median(floor.peakKiB);
    printf("peak working set once idle (median):\n");
    printf("  corvane.exe   %8.0f KiB\n", corvaneKiB);
    printf("  cv_floor.exe  %8.0f KiB\n", floorKiB);
    if (floorKiB > 0) printf("  ratio         %8.3f\n", corvaneKiB / floorKiB);
    return 0;
}
