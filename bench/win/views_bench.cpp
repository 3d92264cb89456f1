// How fast the real main window answers, against its floor: in-process timings of one keystroke (a
// character reaching an edit box, the EN_UPDATE round and the repaint of everything it changed) and
// of every command, with the median and the 99th percentile of each.
//
//   views_bench [KEYSTROKES]     KEYSTROKES per typing series (default 5000); commands scale with it
//
// The floor (bench/win/floor_window.h) is a second main window tree of the same classes, styles,
// places, menu and fonts, a top-level window of its own on the same thread. For each round it is first
// made to show what Corvane showed before the action, then given what Corvane shows after it, and
// the same message is sent to it (the character to its box, the command, the cell press);
// it then makes only the window calls that differ - the same text into the same box, the cells
// whose drawing changed invalidated, the same check, radio, font, marker, focus or height - and is
// repainted the same way. It parses, validates, renders and keeps nothing of the value, and skips
// Corvane's subclassing and its repeated calls. So the ratio of the medians is what Corvane's own
// steps add to the window work each action needs under this window system; goal: at most 1.3.
// Corvane's and the floor's rounds alternate (Corvane, floor, Corvane, floor, ...), so both meet
// the same machine load; before its round (outside the clock) each is made the active window with
// its own focus, as the user would work it, so that no round pays for a change of activation.
//
// After every measured round (outside the clock) the hex box and all 64 cells are checked against
// BitValue, and the floor's whole window tree against what Corvane's shows, so a figure can never
// come from a round that left the views behind or a floor that did less than the action asks.
// Exit code 1 when a check fails or an unexpected alert (beep, message box) was raised.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/win/floor_window.h"
#include "engine/bit_info.h"
#include "shell/shell.h"
#include "tests/engine/alert_recorder.h"

namespace {

constexpr double kGoalRatio = 1.3;  // Corvane's median over the floor's
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

// ---- The floor: a second top-level window on this thread ----

floorbench::Floor Floor;
// Where Corvane's focus was when its window was last active, given back before its next round.
HWND CorvaneFocus = nullptr;

// Makes main the active window with the focus on focus, and delivers what that queued (outside
// the clock): each program is measured as the active window, as the user would work it.
void Activate(HWND main, HWND focus) {
    if (GetActiveWindow() != main) {
        SetForegroundWindow(main);
        SetActiveWindow(main);
    }
    if (GetFocus() != focus) SetFocus(focus);
    DrainQueue();
}

void ActivateCorvane() {
    Activate(cv::MainWindow, CorvaneFocus);
}

void ActivateFloor() {
    const int focus = Floor.shown.focus;
    HWND window = focus == floorbench::kFocusMain   ? Floor.windows.main
                  : focus == floorbench::kFocusNone ? nullptr
                                                    : GetDlgItem(Floor.windows.main, focus);
    Activate(Floor.windows.main, window);
}

// Remembers Corvane's focus after its round, while its window is the active one.
void KeepCorvaneFocus() {
    CorvaneFocus = GetFocus();
}

floorbench::WindowTree CorvaneTree() {
    floorbench::WindowTree tree = {};
    tree.main = cv::MainWindow;
    for (int bit = 0; bit < 64; ++bit) tree.cells[bit] = cv::CellWindows[bit];
    tree.nibbleMarker = cv::NibbleMarker;
    tree.bitMarker = cv::BitMarker;
    tree.valueLabel = cv::ValueLabel;
    tree.valueBox = cv::ValueBox;
    tree.hexLabel = cv::HexLabel;
    tree.hexBox = cv::HexBox;
    tree.bytesGroup = cv::BytesGroup;
    for (int j = 0; j < floorbench::kRadios; ++j) tree.radios[j] = cv::RadioButtons[j];
    for (int k = 0; k < 5; ++k) tree.pushes[k] = cv::PushButtons[k];
    return tree;
}

// The cells Corvane draws shaded: the exponent of a real, while the option is on.
uint64_t ShadedCells() {
    if (cv::DataType != IDM_REAL || cv::ShadeExponent != 1) return 0;
    const cv::BinaryFormat* format = cv::RealFormat(cv::ByteCount);
    if (format == nullptr) return 0;
    uint64_t cells = 0;
    for (int bit = format->LowestExponentBit(); bit <= format->HighestExponentBit(); ++bit)
        cells |= 1ull << bit;
    return cells;
}

// What Corvane's window shows: its windows, and the cells as their words and the options draw them.
floorbench::FloorView CorvaneView() {
    floorbench::FloorView view = floorbench::ReadWindows(CorvaneTree());
    for (int bit = 0; bit < 64; ++bit) {
        if (static_cast<uint32_t>(GetWindowLongA(cv::CellWindows[bit], 0)) & cv::kCellSetFlag)
            view.bits |= 1ull << bit;
    }
    view.shaded = ShadedCells();
    view.colorBits = cv::ColorBits != 0;
    return view;
}

// The floor shows view (outside the clock, repainted) and becomes the active window.
void FloorShows(const floorbench::FloorView& view) {
    floorbench::ShowView(Floor, view);
    ActivateFloor();
    RedrawWindow(Floor.windows.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The floor's windows show what Corvane's do.
bool FloorAgrees(const char* what, const floorbench::FloorView& expected) {
    char difference[160] = "";
    floorbench::FloorView seen = floorbench::ReadWindows(Floor.windows);
    seen.bits = Floor.shown.bits;
    seen.shaded = Floor.shown.shaded;
    seen.colorBits = Floor.shown.colorBits;
    bool same = floorbench::SameView(expected, seen, difference, sizeof difference);
    if (same && GetUpdateRect(Floor.windows.main, nullptr, FALSE)) {
        same = false;
        snprintf(difference, sizeof difference, "main window still waits for a repaint");
    }
    if (!same) fprintf(stderr, "%s: the floor differs from Corvane: %s\n", what, difference);
    return same;
}

struct Series {
    std::string name;
    std::vector<double> corvane;  // microseconds of each whole round
    std::vector<double> floor;
};

std::vector<Series> Results;

double MedianOf(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double P99Of(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, (values.size() * 99 + 99) / 100 - 1)];
}

void PrintHeading(const char* first) {
    printf("  %-34s %6s %9s %9s %9s %9s %6s  goal: at most %.1f x floor\n", first, "count", "median", "p99",
           "floor med", "floor p99", "ratio", kGoalRatio);
}

void Report(const Series& series) {
    if (series.corvane.empty()) return;
    const double median = MedianOf(series.corvane);
    const double floorMedian = MedianOf(series.floor);
    const double ratio = floorMedian > 0 ? median / floorMedian : 0.0;
    printf("  %-34s %6zu %9.1f %9.1f %9.1f %9.1f %6.2f  %s\n", series.name.c_str(), series.corvane.size(),
           median, P99Of(series.corvane), floorMedian, P99Of(series.floor), ratio,
           ratio <= kGoalRatio ? "met" : "MISSED");
}

// One measured round of Corvane: the action, then the repaint it caused.
template <typename Action>
void Measure(std::vector<double>& times, Action action) {
    const LONGLONG start = Ticks();
    action();
    PaintNow();
    times.push_back(TicksToMicroseconds(Ticks() - start));
}

// One measured round of the floor: after the queue is drained, the action and the repaint of the
// floor's window.
template <typename Action>
void MeasureFloor(std::vector<double>& times, Action action) {
    DrainQueue();
    const LONGLONG start = Ticks();
    action();
    RedrawWindow(Floor.windows.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    times.push_back(TicksToMicroseconds(Ticks() - start));
}

// The floor's round of a command or cell press that brought Corvane's window from before to after:
// the floor is made to show before, then sent the same message, which it answers by showing after.
template <typename Action>
void FloorRound(Series& series, const char* what, const floorbench::FloorView& before,
                const floorbench::FloorView& after, Action action) {
    FloorShows(before);
    Floor.pending = &after;
    MeasureFloor(series.floor, action);
    if (!FloorAgrees(what, after)) ++Failures;
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
    CorvaneFocus = box;
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
        ActivateCorvane();
        SendMessageA(box, EM_SETSEL, caret, caret);
        const floorbench::FloorView before = CorvaneView();
        Measure(series.corvane, [&] { SendMessageA(box, WM_CHAR, key, 1); });
        if (!ViewsAgree(plan.name, plan.hexBox)) ++Failures;
        KeepCorvaneFocus();
        const floorbench::FloorView after = CorvaneView();
        FloorShows(before);
        HWND floorBox = plan.hexBox ? Floor.windows.hexBox : Floor.windows.valueBox;
        Floor.pending = &after;
        Floor.typedBox = floorBox;
        Floor.typedText = next.c_str();
        Floor.typedCaret = static_cast<DWORD>(key == kBackspace ? caret - 1 : caret + 1);
        SendMessageA(floorBox, EM_SETSEL, caret, caret);
        if (plan.hexBox) Floor.shown.hexSelection = MAKELONG(caret, caret);
        MeasureFloor(series.floor, [&] { SendMessageA(floorBox, WM_CHAR, key, 1); });
        if (!FloorAgrees(plan.name, after)) ++Failures;
    }
    if (Alerts.Beeps() != beepsBefore) {
        fprintf(stderr, "%s: %d keystrokes were rejected\n", plan.name, Alerts.Beeps() - beepsBefore);
        ++Failures;
    }
    Results.push_back(series);
    Report(series);
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
        ActivateCorvane();
        for (WPARAM prepare : step.prepare) Command(prepare);
        if (randomValue) {
            cv::SetValue64((static_cast<uint64_t>(random()) << 32) | random());
            SendMessageA(cv::MainWindow, WM_SYNCBITCELLS, 0, 0);
            SendMessageA(cv::MainWindow, WM_RECALCVALUEBOX, 0, 0);
            SendMessageA(cv::MainWindow, WM_RECALCHEXBOX, 0, 0);
            PaintNow();
        }
        DrainQueue();
        KeepCorvaneFocus();
        const floorbench::FloorView before = CorvaneView();
        Measure(series.corvane, [&] { Command(step.id); });
        if (!ViewsAgree(name, false)) ++Failures;
        KeepCorvaneFocus();
        const floorbench::FloorView after = CorvaneView();
        FloorRound(series, name, before, after,
                   [&] { SendMessageA(Floor.windows.main, WM_COMMAND, step.id, 0); });
    }
    Results.push_back(series);
    Report(series);
}

void ClickSeries(int rounds, std::mt19937& random) {
    Series series{"cell click (toggle)", {}, {}};
    for (int round = 0; round < rounds && Failures == 0; ++round) {
        const int bit = static_cast<int>(random() % (8 * cv::ByteCount));
        HWND cell = cv::CellWindows[bit];
        ActivateCorvane();
        const floorbench::FloorView before = CorvaneView();
        Measure(series.corvane, [&] {
            SendMessageA(cell, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(cell, WM_LBUTTONUP, 0, 0);
        });
        if (!ViewsAgree("cell click", false)) ++Failures;
        KeepCorvaneFocus();
        const floorbench::FloorView after = CorvaneView();
        HWND floorCell = Floor.windows.cells[bit];
        FloorRound(series, "cell click", before, after, [&] {
            SendMessageA(floorCell, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(floorCell, WM_LBUTTONUP, 0, 0);
        });
    }
    Results.push_back(series);
    Report(series);
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
    KeepCorvaneFocus();
    // Beside Corvane's window, so that neither covers the other.
    if (!floorbench::CreateFloor(Floor, GetModuleHandleA(nullptr),
                                 cv::kMainWindowX + cv::kMainWindowWidth + 20, cv::kMainWindowY,
                                 SW_SHOWNORMAL)) {
        fprintf(stderr, "the floor's window could not be created\n");
        return 1;
    }
    // Once started, both windows show the same.
    ActivateCorvane();
    const floorbench::FloorView started = CorvaneView();
    ActivateFloor();
    if (!FloorAgrees("start-up", started)) ++Failures;
    std::mt19937 random(20261208);

    ReportServerRoundTrip(1000);
    printf("keystroke to views (EN_UPDATE round with the repaint), microseconds, against the floor:\n");
    PrintHeading("series");
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
    printf("commands (WM_COMMAND round with the repaint), microseconds, against the floor:\n");
    PrintHeading("command");
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
    floorbench::DestroyFloor(Floor);
    if (Failures != 0) {
        fprintf(stderr, "views_bench: %d check(s) failed\n", Failures);
        return 1;
    }
    return 0;
}
