// How fast the real main window answers: in-process timings of one keystroke (a character reaching
// an edit box, the EN_UPDATE round and the repaint of everything it changed) and of every command,
// with the median and the 99th percentile of each.
//
//   views_bench [KEYSTROKES]     KEYSTROKES per typing series (default 5000); commands scale with it
//
// After every measured round (outside the clock) the hex box and all 64 cells are checked against
// BitValue, so a figure can never come from a round that left the views behind. Exit code 1 when a
// check fails or an unexpected alert (beep, message box) was raised.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/bit_info.h"
#include "shell/shell.h"
#include "tests/engine/alert_recorder.h"

namespace {

constexpr double kGoalMedianMicroseconds = 50.0;
constexpr int kDefaultKeystrokes = 5000;
constexpr WPARAM kBackspace = 8;

// What the engine reports instead of beeping and showing boxes: the bench types only accepted
// text, so every alert is a fault.
cv::AlertRecorder Alerts(false);
int Failures = 0;

double TicksToMicroseconds(LONGLONG ticks) {
    static const double kMicrosecondsPerTick = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1e6 / static_cast<double>(frequency.QuadPart);
    }();
    return static_cast<double>(ticks) * kMicrosecondsPerTick;
}

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Delivers whatever the window system queued (outside the clock), so that no round pays for the
// previous one's posted messages.
void DrainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The repaint that a round includes: every window of the main window that was invalidated.
void PaintNow() {
    RedrawWindow(cv::MainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string TextOf(HWND window) {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ExpectedHex() {
    const uint64_t value = cv::Value64();
    char text[24];
    const int digits = static_cast<int>(2 * cv::ByteCount);
    const uint64_t mask = digits >= 16 ? ~0ull : (1ull << (4 * digits)) - 1;
    snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value & mask));
    return text;
}

// The hex box (unless the user is typing in it) and every cell agree with BitValue.
bool ViewsAgree(const char* what, bool hexIsTyped) {
    const uint64_t value = cv::Value64();
    for (int bit = 0; bit < 64; ++bit) {
        const bool shown =
            (static_cast<uint32_t>(GetWindowLongA(cv::CellWindows[bit], 0)) & cv::kCellSetFlag) != 0;
        if (shown != (((value >> bit) & 1) != 0)) {
            fprintf(stderr, "%s: cell %d shows %d, value %016llX\n", what, bit, shown,
                    static_cast<unsigned long long>(value));
            return false;
        }
    }
    const std::string hex = TextOf(cv::HexBox);
    if (hexIsTyped) {
        if (hex != cv::LastHexText) {
            fprintf(stderr, "%s: hex box \"%s\", last accepted \"%s\"\n", what, hex.c_str(), cv::LastHexText);
            return false;
        }
    } else if (hex != ExpectedHex()) {
        fprintf(stderr, "%s: hex box \"%s\", expected \"%s\"\n", what, hex.c_str(), ExpectedHex().c_str());
        return false;
    }
    if (GetUpdateRect(cv::MainWindow, nullptr, FALSE)) {
        fprintf(stderr, "%s: main window still waits for a repaint\n", what);
        return false;
    }
    return true;
}

struct Series {
    std::string name;
    std::vector<double> microseconds;  // the whole round
    std::vector<double> handling;      // the part before the repaint
};

std::vector<Series> Results;

double MedianOf(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const Series& series, bool keystroke) {
    std::vector<double> values = series.microseconds;
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    const double median = values[values.size() / 2];
    const size_t p99Index = std::min(values.size() - 1, (values.size() * 99 + 99) / 100 - 1);
    printf("  %-34s %7zu  %9.1f  %9.1f  %9.1f", series.name.c_str(), values.size(), median, values[p99Index],
           MedianOf(series.handling));
    if (keystroke) printf("  %s", median < kGoalMedianMicroseconds ? "met" : "MISSED");
    printf("\n");
}

// One measured round: the action, then the repaint it caused.
template <typename Action>
void Measure(Series& series, Action action) {
    const LONGLONG start = Ticks();
    action();
    const LONGLONG handled = Ticks();
    PaintNow();
    const LONGLONG painted = Ticks();
    series.microseconds.push_back(TicksToMicroseconds(painted - start));
    series.handling.push_back(TicksToMicroseconds(handled - start));
}

// What one call into the window server costs here (a cell invalidated and validated again, no
// painting): the unit that the rounds above are made of under Wine, and the one most sensitive to
// the machine's load.
void ReportServerRoundTrip(int rounds) {
    std::vector<double> values;
    for (int round = 0; round < rounds; ++round) {
        const LONGLONG start = Ticks();
        InvalidateRect(cv::CellWindows[0], nullptr, FALSE);
        ValidateRect(cv::CellWindows[0], nullptr);
        values.push_back(TicksToMicroseconds(Ticks() - start) / 2);
    }
    printf("one window-server call (reference): median %.1f us over %d\n", MedianOf(values), rounds);
}

void Command(WPARAM id) {
    SendMessageA(cv::MainWindow, WM_COMMAND, id, 0);
}

// ---- Typing ----

enum class Grammar { kDigits, kSignedDigits, kReal, kCharacters, kHex };

struct TypingSeries {
    const char* name;
    UINT dataType;
    UINT sizeCommand;
    Grammar grammar;
    bool hexBox;
    size_t maxLength;  // longest text the series builds (always within the type's range)
};

// Whether the text is one that the box accepts, for the shapes this generator makes.
bool Acceptable(Grammar grammar, const std::string& text) {
    switch (grammar) {
        case Grammar::kSignedDigits: return text.find('-', 1) == std::string::npos;
        case Grammar::kReal: {
            const size_t point = text.find('.');
            if (point == std::string::npos) return true;
            if (text.find('.', point + 1) != std::string::npos) return false;
            return text.find_first_of("0123456789") != std::string::npos;
        }
        default: return true;
    }
}

char RandomCharacter(Grammar grammar, std::mt19937& random, const std::string& text) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    switch (grammar) {
        case Grammar::kDigits: return static_cast<char>('0' + random() % 10);
        case Grammar::kSignedDigits:
            return random() % 8 == 0 && text.empty() ? '-' : static_cast<char>('0' + random() % 10);
        case Grammar::kReal: return random() % 6 == 0 ? '.' : static_cast<char>('0' + random() % 10);
        case Grammar::kCharacters: return static_cast<char>('A' + random() % 26);
        case Grammar::kHex: return kHexDigits[random() % 16];
    }
    return '0';
}

void TypeSeries(const TypingSeries& plan, int keystrokes, std::mt19937& random) {
    Command(plan.dataType);
    Command(plan.sizeCommand);
    HWND box = plan.hexBox ? cv::HexBox : cv::ValueBox;
    SetFocus(box);
    DrainQueue();
    Series series{plan.name, {}, {}};
    const int beepsBefore = Alerts.Beeps();
    for (int round = 0; round < keystrokes && Failures == 0; ++round) {
        const std::string text = TextOf(box);
        // Pick an accepted edit: insert a character somewhere, or delete one with Backspace.
        std::string next;
        size_t caret = 0;
        WPARAM key = 0;
        for (int attempt = 0; attempt < 50; ++attempt) {
            const bool full = text.size() >= plan.maxLength;
            const bool erase = !text.empty() && (full || random() % 3 == 0) &&
                               plan.grammar != Grammar::kCharacters && plan.grammar != Grammar::kHex;
            if (erase) {
                caret = 1 + random() % text.size();
                next = text.substr(0, caret - 1) + text.substr(caret);
                key = kBackspace;
            } else {
                // A full character or hex box is typed into before its last character, which
                // the box then drops: the value still changes.
                caret = random() % (full ? text.size() : text.size() + 1);
                key = static_cast<unsigned char>(RandomCharacter(plan.grammar, random, text));
                next = text.substr(0, caret) + static_cast<char>(key) + text.substr(caret);
            }
            if (Acceptable(plan.grammar, next)) break;
            key = 0;
        }
        if (key == 0) continue;
        SendMessageA(box, EM_SETSEL, caret, caret);
        Measure(series, [&] { SendMessageA(box, WM_CHAR, key, 1); });
        if (!ViewsAgree(plan.name, plan.hexBox)) ++Failures;
    }
    if (Alerts.Beeps() != beepsBefore) {
        fprintf(stderr, "%s: %d keystrokes were rejected\n", plan.name, Alerts.Beeps() - beepsBefore);
        ++Failures;
    }
    Results.push_back(series);
    Report(series, true);
}

// ---- Commands ----

// A command to measure, and the commands to run unmeasured before it.
struct Step {
    std::vector<WPARAM> prepare;
    WPARAM id;
};

std::vector<Step> Plain(std::initializer_list<WPARAM> ids) {
    std::vector<Step> steps;
    for (WPARAM id : ids) steps.push_back({{}, id});
    return steps;
}

void CommandSeries(const char* name, int rounds, const std::vector<Step>& cycle, std::mt19937& random,
                   bool randomValue) {
    Series series{name, {}, {}};
    for (int round = 0; round < rounds && Failures == 0; ++round) {
        const Step& step = cycle[round % cycle.size()];
        for (WPARAM prepare : step.prepare) Command(prepare);
        if (randomValue) {
            cv::SetValue64((static_cast<uint64_t>(random()) << 32) | random());
            SendMessageA(cv::MainWindow, WM_SYNCBITCELLS, 0, 0);
            SendMessageA(cv::MainWindow, WM_RECALCVALUEBOX, 0, 0);
            SendMessageA(cv::MainWindow, WM_RECALCHEXBOX, 0, 0);
            PaintNow();
        }
        DrainQueue();
        Measure(series, [&] { Command(step.id); });
        if (!ViewsAgree(name, false)) ++Failures;
    }
    Results.push_back(series);
    Report(series, false);
}

void ClickSeries(int rounds, std::mt19937& random) {
    Series series{"cell click (toggle)", {}, {}};
    for (int round = 0; round < rounds && Failures == 0; ++round) {
        const int bit = static_cast<int>(random() % (8 * cv::ByteCount));
        HWND cell = cv::CellWindows[bit];
        DrainQueue();
        Measure(series, [&] {
            SendMessageA(cell, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(cell, WM_LBUTTONUP, 0, 0);
        });
        if (!ViewsAgree("cell click", false)) ++Failures;
    }
    Results.push_back(series);
    Report(series, false);
}

}  // namespace

int main(int argc, char** argv) {
    const int keystrokes = argc > 1 ? std::max(10, atoi(argv[1])) : kDefaultKeystrokes;
    const LONGLONG startupTicks = Ticks();
    if (cv::StartCorvane(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL) == nullptr) {
        fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    cv::SetAlerts(&Alerts);  // after start-up, which installs the real beeps and boxes
    DrainQueue();
    printf("start-up inside the process (StartCorvane and the first paint): %.1f ms\n",
           TicksToMicroseconds(Ticks() - startupTicks) / 1000.0);
    std::mt19937 random(20261208);

    ReportServerRoundTrip(1000);
    printf("keystroke to views (EN_UPDATE round with the repaint), microseconds:\n");
    printf("  %-34s %7s  %9s  %9s  %9s  goal: median < %.0f\n", "series", "count", "median", "p99",
           "unpainted", kGoalMedianMicroseconds);
    const TypingSeries typing[] = {
        {"value box, signed, 4 bytes", IDM_SIGNED, IDM_BYTES4, Grammar::kSignedDigits, false, 9},
        {"value box, signed, 1 byte", IDM_SIGNED, IDM_BYTES1, Grammar::kDigits, false, 2},
        {"value box, unsigned, 2 bytes", IDM_UNSIGNED, IDM_BYTES2, Grammar::kDigits, false, 4},
        {"value box, unsigned, 4 bytes", IDM_UNSIGNED, IDM_BYTES4, Grammar::kDigits, false, 9},
        {"value box, real, 4 bytes", IDM_REAL, IDM_BYTES4, Grammar::kReal, false, 10},
        {"value box, real, 8 bytes", IDM_REAL, IDM_BYTES8, Grammar::kReal, false, 18},
        {"value box, ANSI, 8 bytes", IDM_ANSI, IDM_BYTES8, Grammar::kCharacters, false, 8},
        {"value box, OEM, 4 bytes", IDM_OEM, IDM_BYTES4, Grammar::kCharacters, false, 4},
        {"hex box, 4 bytes", IDM_UNSIGNED, IDM_BYTES4, Grammar::kHex, true, 8},
        {"hex box, 8 bytes", IDM_REAL, IDM_BYTES8, Grammar::kHex, true, 16},
    };
    for (const TypingSeries& plan : typing) {
        // Each series starts from a clean box, so its text builds up from the start.
        Command(plan.dataType);
        Command(plan.sizeCommand);
        Command(IDM_ZEROS);
        if (!plan.hexBox) {
            cv::EditArmed = 0;
            SetWindowTextA(cv::ValueBox, "");
            cv::CopyText(cv::LastValueText, "");
        }
        TypeSeries(plan, keystrokes, random);
    }

    const int commandRounds = std::max(10, keystrokes / 2);
    printf("commands (WM_COMMAND round with the repaint), microseconds:\n");
    printf("  %-34s %7s  %9s  %9s  %9s\n", "command", "count", "median", "p99", "unpainted");
    Command(IDM_SIGNED);
    Command(IDM_BYTES4);
    const struct {
        const char* name;
        WPARAM id;
    } operations[] = {{"shift left (IDM_BITSHIFTL)", IDM_BITSHIFTL},
                      {"shift right (IDM_BITSHIFTR)", IDM_BITSHIFTR},
                      {"fill 0's (IDM_ZEROS)", IDM_ZEROS},
                      {"fill 1's (IDM_ONES)", IDM_ONES},
                      {"flip (IDM_FLIP)", IDM_FLIP}};
    for (const auto& operation : operations) {
        CommandSeries(operation.name, commandRounds, Plain({operation.id}), random, true);
    }
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    CommandSeries("shift left, real 8 bytes", commandRounds, Plain({IDM_BITSHIFTL}), random, true);
    CommandSeries("flip, real 8 bytes", commandRounds, Plain({IDM_FLIP}), random, true);
    Command(IDM_SIGNED);
    ClickSeries(commandRounds, random);
    // Type changes at 4 bytes keep the size; the others force it (real <-> 1 byte, 8 -> integer).
    Command(IDM_BYTES4);
    CommandSeries("type change, same size", commandRounds,
                  Plain({IDM_ANSI, IDM_OEM, IDM_SIGNED, IDM_UNSIGNED, IDM_REAL}), random, false);
    const int resizeRounds = std::max(10, keystrokes / 20);
    // ANSI at 1 byte to real, and real at 8 bytes to signed: both switch to 4 bytes on the way.
    CommandSeries("type change, forcing 4 bytes", resizeRounds,
                  {{{IDM_ANSI, IDM_BYTES1}, IDM_REAL}, {{IDM_BYTES8}, IDM_SIGNED}}, random, false);
    Command(IDM_OEM);
    CommandSeries("size change (1, 2, 4, 8 bytes)", resizeRounds,
                  Plain({IDM_BYTES1, IDM_BYTES2, IDM_BYTES4, IDM_BYTES8}), random, false);
    CommandSeries("option (color, shade, shift mode)", commandRounds,
                  Plain({IDM_COLOR, IDM_SHADE, IDM_SHIFT1, IDM_ROTATE}), random, false);

    if (Alerts.Boxes() != 0) {
        fprintf(stderr, "unexpected message boxes: %s\n", Alerts.Log().c_str());
        ++Failures;
    }
    DestroyWindow(cv::MainWindow);
    if (Failures != 0) {
        fprintf(stderr, "views_bench: %d check(s) failed\n", Failures);
        return 1;
    }
    return 0;
}
