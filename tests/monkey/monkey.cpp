// Random use of the real main window: thousands of actions a user could take (typing into both
// boxes, every command and accelerator, clicks and drags on the visible cells, size and type
// changes, Tab and the other keys on whatever has the focus), with the views checked against the
// value after every one of them.
//
//   corvane_monkey [--seed N] [--actions N] [--quiet]
//
// Message boxes and dialogs are caught by a CBT hook as they activate and answered at once. An
// internal-error box, an input-error box while Error Boxes is off, a broken invariant, a hang or a
// crash ends the run with the seed, the action number and the last actions, so that the same
// seed repeats the same run.
#include <windows.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/bit_info.h"
#include "engine/box_edit.h"
#include "engine/value_text.h"
#include "shell/shell.h"
#include "tests/engine/alert_recorder.h"

namespace {

constexpr int kPumpLimit = 20000;
constexpr DWORD kHangLimitMs = 120000;  // one action taking longer than this is a hang
constexpr size_t kHistory = 24;

constexpr char kInternalErrorTitle[] = "Corvane Internal Error";
constexpr char kInputErrorPrefix[] = "Corvane Input Error";

std::mt19937 Random;
uint64_t Seed = 1;
long ActionNumber = 0;
std::vector<std::string> History;  // the last actions, oldest first
int Faults = 0;
bool Quiet = false;
volatile LONG Progress = 0;  // bumped by every action; watched for hangs

// ---- Counters and the record of one action ----

struct Counters {
    long inputBoxes = 0;
    long dialogs = 0;
    long exitRequests = 0;
    long realBoxes = 0;
};
Counters Count;

// What happened inside the current action, seen by the hooks.
bool SawValueRender = false;
bool SawHexRender = false;

void Remember(const std::string& action) {
    History.push_back(action);
    if (History.size() > kHistory) History.erase(History.begin());
}

void PrintHistory() {
    fprintf(stderr, "seed %" PRIu64 ", action %ld; the last actions:\n", Seed, ActionNumber);
    for (const std::string& action : History) fprintf(stderr, "  %s\n", action.c_str());
}

void Fault(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    fprintf(stderr, "FAULT: %s\n", text);
    ++Faults;
}

unsigned Pick(unsigned n) {
    return n == 0 ? 0 : static_cast<unsigned>(Random() % n);
}

bool Chance(unsigned percent) {
    return Pick(100) < percent;
}

// ---- Alerts, boxes and dialogs ----

// Every beep and box the engine raises is counted and judged here. Under Wine each box that is
// really shown costs two seconds when it goes away, so only a few of them are passed on to the real
// MessageBoxA (and caught by the CBT hook like every dialog); the beeps are only counted.
constexpr unsigned kRealBoxPercent = 1;
// The same for the dialogs and the help viewer: their openers are picked this often (percent).
constexpr unsigned kDialogPercent = 3;

// The tests' recorder, judging each box as it is raised.
class JudgingAlerts : public cv::AlertRecorder {
public:
    JudgingAlerts() : cv::AlertRecorder(false) {}
    int ShowMessage(cv::WindowRef owner, const char* text, const char* title, unsigned style) override {
        Record(owner, text, title, style);
        const std::string name = title;
        if (name == kInternalErrorTitle) {
            Fault("internal-error box: \"%s\"", text);
        } else if (name.compare(0, sizeof kInputErrorPrefix - 1, kInputErrorPrefix) == 0) {
            ++Count.inputBoxes;
            if (cv::ErrorBoxes == 0) Fault("input-error box \"%s\" while Error Boxes is off", title);
        } else {
            Fault("unexpected box \"%s\": \"%s\"", title, text);
        }
        if (!Chance(kRealBoxPercent)) return IDOK;
        ++Count.realBoxes;
        return real->ShowMessage(owner, text, title, style);
    }
    cv::Alerts* real = nullptr;  // the shell's MessageBoxA
};
JudgingAlerts Alerts;

std::string TextOf(HWND window) {
    char text[256] = "";
    if (window != nullptr) GetWindowTextA(window, text, sizeof text);
    return text;
}

bool IsDialogWindow(HWND window) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
}

HHOOK CbtHook = nullptr;
HHOOK CallHook = nullptr;

// A box or dialog as it becomes active: judge it, then answer it so that its modal loop ends.
void Capture(HWND window) {
    if (!IsDialogWindow(window)) return;
    const std::string title = TextOf(window);
    ++Count.dialogs;
    // The engine's boxes are judged as they are raised (JudgingAlerts); this is the last line for
    // any box that bypasses it.
    if (title == kInternalErrorTitle) {
        Fault("internal-error box: \"%s\"", TextOf(GetDlgItem(window, 0xFFFF)).c_str());
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) Capture(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(CbtHook, code, wParam, lParam);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent->hwnd == cv::MainWindow) {
            if (sent->message == WM_RECALCVALUEBOX) SawValueRender = true;
            if (sent->message == WM_RECALCHEXBOX) SawHexRender = true;
        }
        // A modal loop that idles names its dialog: the fallback for a box whose activation the
        // CBT hook did not see.
        if (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_DIALOGBOX) {
            Capture(reinterpret_cast<HWND>(sent->lParam));
        }
    }
    return CallNextHookEx(CallHook, code, wParam, lParam);
}

// ---- The message loop, as corvane.exe runs it ----

// Dispatches everything queued the way the program's loop does. Exit (F12, IDM_EXIT) posts
// WM_CLOSE to the main window: it is counted and dropped here, so the run goes on.
void Pump() {
    MSG message;
    for (int n = 0; n < kPumpLimit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (message.message == WM_QUIT) {
            Fault("the message loop received WM_QUIT");
            return;
        }
        if (message.message == WM_CLOSE && message.hwnd == cv::MainWindow) {
            ++Count.exitRequests;
            continue;
        }
        if (cv::HelpViewerTakesMessage(&message)) continue;
        if (!TranslateAcceleratorA(cv::MainWindow, cv::Accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// Closes whatever top-level window the action left open besides the main window (the help
// viewer, which is modeless).
BOOL CALLBACK CloseExtraWindow(HWND window, LPARAM) {
    if (window != cv::MainWindow && IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void CloseExtraWindows() {
    EnumThreadWindows(GetCurrentThreadId(), CloseExtraWindow, 0);
    Pump();
}

void SetModifiers(bool ctrl, bool alt, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_MENU] = keys[VK_LMENU] = alt ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

HWND FocusTarget() {
    HWND focus = GetFocus();
    return focus != nullptr && (focus == cv::MainWindow || GetParent(focus) == cv::MainWindow)
               ? focus
               : cv::MainWindow;
}

const char* NameOf(HWND window) {
    if (window == cv::MainWindow) return "main";
    if (window == cv::ValueBox) return "value box";
    if (window == cv::HexBox) return "hex box";
    for (int j = 0; j < 4; ++j) {
        static const char* const kRadio[4] = {"radio 1", "radio 2", "radio 4", "radio 8"};
        if (window == cv::RadioButtons[j]) return kRadio[j];
    }
    for (int k = 0; k < 5; ++k) {
        static const char* const kPush[5] = {"button <", "button >", "button 0's", "button 1's",
                                             "button Flip"};
        if (window == cv::PushButtons[k]) return kPush[k];
    }
    return "other";
}

// ---- Actions ----

std::string Describe(const char* format, ...) {
    char text[200];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// Texts at the edges of what the boxes accept, typed as a paste would put them in.
const char* const kEdgeTexts[] = {"",
                                  "-",
                                  "+",
                                  ".",
                                  "-.",
                                  "0",
                                  "-0",
                                  "007",
                                  "-128",
                                  "127",
                                  "128",
                                  "-129",
                                  "255",
                                  "256",
                                  "-32768",
                                  "32767",
                                  "65535",
                                  "65536",
                                  "2147483647",
                                  "-2147483648",
                                  "2147483648",
                                  "4294967295",
                                  "4294967296",
                                  "99999999999999999999",
                                  "1e3",
                                  "1.e5",
                                  "1.5e",
                                  "1.5e+",
                                  "1.5d3",
                                  "1.0e999",
                                  "-1.0e999",
                                  "1.0e-999",
                                  "3.40282346639e+038",
                                  "3.4028234664e38",
                                  "-3.40282346639e38",
                                  "1.17549435e-38",
                                  "4.9406564584124654e-324",
                                  "-1.7976931348623157e+308",
                                  "1.7976931348623159e+308",
                                  "0.1",
                                  ".5",
                                  "5.",
                                  "12a",
                                  " 5",
                                  "--5",
                                  "+-1",
                                  "AB",
                                  "ABCDEFGH",
                                  "abcdef",
                                  "FFFFFFFFFFFFFFFF",
                                  "7FF0000000000001",
                                  "80000000",
                                  "7F800000",
                                  "G",
                                  "12345678901234567890123",
                                  "\x01\x7F\x80\xFF",
                                  "\xA0\xE9\xFC"};

char RandomCharacter() {
    static const char kInteresting[] = "0123456789+-.eEdDxX ABCDEFabcdefG";
    switch (Pick(4)) {
        case 0:
        case 1: return kInteresting[Pick(sizeof kInteresting - 1)];
        case 2: return static_cast<char>(32 + Pick(95));  // printable ASCII
        default: return static_cast<char>(128 + Pick(128));
    }
}

std::string TypeIntoBox(HWND box) {
    const char* name = box == cv::ValueBox ? "value box" : "hex box";
    // Typing reaches only the box with the focus: a click into the box gives it the focus first.
    if (GetFocus() != box) SetFocus(box);
    const int length = GetWindowTextLengthA(box);
    const int caret = static_cast<int>(Pick(static_cast<unsigned>(length) + 1));
    const unsigned kind = Pick(10);
    switch (kind) {
        case 0: {  // a whole edge text over everything, as a paste would
            const char* text = kEdgeTexts[Pick(sizeof kEdgeTexts / sizeof kEdgeTexts[0])];
            SendMessageA(box, EM_SETSEL, 0, -1);
            SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
            return Describe("%s: paste \"%s\" over all", name, text);
        }
        case 1: {  // Backspace
            SendMessageA(box, EM_SETSEL, caret, caret);
            SendMessageA(box, WM_CHAR, 8, 1);
            return Describe("%s: backspace at %d", name, caret);
        }
        case 2: {  // Delete, through the key-down the edit control acts on
            SendMessageA(box, EM_SETSEL, caret, caret);
            SendMessageA(box, WM_KEYDOWN, VK_DELETE, 1);
            return Describe("%s: delete at %d", name, caret);
        }
        case 3: {  // a character over a selection
            const int end = caret + static_cast<int>(Pick(static_cast<unsigned>(length - caret) + 1));
            const char c = RandomCharacter();
            SendMessageA(box, EM_SETSEL, caret, end);
            SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
            return Describe("%s: type 0x%02X over %d..%d", name, static_cast<unsigned char>(c), caret, end);
        }
        case 4: {  // undo (Ctrl+Z) or select-all (Ctrl+A) control characters
            const WPARAM c = Chance(50) ? 26 : 1;
            SendMessageA(box, WM_CHAR, c, 1);
            return Describe("%s: control character %u", name, static_cast<unsigned>(c));
        }
        default: {
            const char c = RandomCharacter();
            SendMessageA(box, EM_SETSEL, caret, caret);
            SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
            return Describe("%s: type 0x%02X at %d", name, static_cast<unsigned char>(c), caret);
        }
    }
}

// Every command the menu, the accelerators and the program itself send, and a few that no one
// handles. Sizes that the type does not allow are left to the disabled radio buttons: no user
// can choose them.
std::string SendCommand() {
    static const WPARAM kCommands[] = {IDM_COLOR,
                                       IDM_SHADE,
                                       IDM_SHIFT0,
                                       IDM_SHIFT1,
                                       IDM_ROTATE,
                                       IDM_ERRORBOXES,
                                       IDM_REPORT,
                                       IDM_EXIT,
                                       IDM_ANSI,
                                       IDM_OEM,
                                       IDM_SIGNED,
                                       IDM_UNSIGNED,
                                       IDM_REAL,
                                       IDM_HELPCONTENTS,
                                       IDM_HELPSEARCH,
                                       IDM_HELPONHELP,
                                       IDM_ABOUT,
                                       IDM_BYTES1,
                                       IDM_BYTES2,
                                       IDM_BYTES4,
                                       IDM_BYTES8,
                                       IDM_BITSHIFTL,
                                       IDM_BITSHIFTR,
                                       IDM_ZEROS,
                                       IDM_ONES,
                                       IDM_FLIP,
                                       IDM_FOCUSVALUE,
                                       IDM_FOCUSHEX,
                                       IDM_FOCUSBYTES,
                                       IDM_KEYSHIFTL,
                                       IDM_KEYSHIFTR,
                                       IDM_KEYZEROS,
                                       IDM_KEYONES,
                                       IDM_KEYFLIP,
                                       IDM_FOCUSBITS,
                                       IDM_VALUELABEL,
                                       IDM_BYTESGROUP,
                                       IDM_NIBBLEMARK,
                                       0,
                                       109,
                                       206,
                                       305,
                                       915,
                                       939};
    static const unsigned kSlowCommands[] = {IDM_REPORT, IDM_HELPCONTENTS, IDM_HELPSEARCH, IDM_HELPONHELP,
                                             IDM_ABOUT};
    WPARAM id = kCommands[Pick(sizeof kCommands / sizeof kCommands[0])];
    // Dialogs and the help viewer are slow under Wine: open them less often.
    for (unsigned slow : kSlowCommands) {
        if (id == slow && !Chance(kDialogPercent)) id = IDM_FLIP;
    }
    if (id >= IDM_BYTES1 && id <= IDM_BYTES8) {
        static const uint32_t kSizes[4] = {1, 2, 4, 8};
        if (!cv::TypeAllowsSize(cv::DataType, kSizes[id - IDM_BYTES1])) id = IDM_BYTES4;
    }
    // The bit operations come from their push buttons, which a click has given the focus (the
    // commands set FocusIndex to the button's place without moving the focus themselves).
    if (id >= IDM_BITSHIFTL && id <= IDM_FLIP) SetFocus(cv::PushButtons[id - IDM_BITSHIFTL]);
    LPARAM lParam = 0;
    if (id == IDM_SHADE && Chance(50)) lParam = Chance(50) ? 4 : 8;  // the program's repaint-only form
    SendMessageA(cv::MainWindow, WM_COMMAND, id, lParam);
    return Describe("command %u (lParam %d)", static_cast<unsigned>(id), static_cast<int>(lParam));
}

int VisibleBitCount() {
    return static_cast<int>(8 * cv::ByteCount);
}

std::string MouseOnCells() {
    const int bits = VisibleBitCount();
    const int bit = static_cast<int>(Pick(static_cast<unsigned>(bits)));
    HWND cell = cv::CellWindows[bit];
    switch (Pick(9)) {
        case 0:
        case 1:
        case 2:
            SendMessageA(cell, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(cell, WM_LBUTTONUP, 0, 0);
            return Describe("click bit %d", bit);
        case 3:
            SendMessageA(cell, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(cell, WM_LBUTTONUP, 0, 0);
            SendMessageA(cell, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
            SendMessageA(cell, WM_LBUTTONUP, 0, 0);
            return Describe("double-click bit %d", bit);
        case 4:
        case 5: {  // drag with either button across neighbours in the same row, maybe back again
            const bool right = Pick(2) == 1;
            const WPARAM keys = right ? MK_RBUTTON : MK_LBUTTON;
            SendMessageA(cell, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, keys, 0);
            const int steps = 1 + static_cast<int>(Pick(8));
            int at = bit;
            for (int step = 0; step < steps; ++step) {
                const int next = at + (Chance(70) ? 1 : -1);
                if (next < 0 || next >= bits || (next / 32) != (bit / 32)) continue;
                at = next;
                SendMessageA(cv::CellWindows[at], WM_MOUSEMOVE, keys, 0);
            }
            // The release may land outside every cell: then no cell hears of it.
            if (Chance(80)) SendMessageA(cv::CellWindows[at], right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, 0);
            return Describe("%s drag from bit %d to %d", right ? "right" : "left", bit, at);
        }
        case 6:
            SendMessageA(cell, WM_RBUTTONDOWN, MK_RBUTTON, 0);
            if (Chance(70)) SendMessageA(cell, WM_RBUTTONUP, 0, 0);
            return Describe("right click bit %d", bit);
        case 7:
            if (Chance(kDialogPercent)) {
                SendMessageA(cell, WM_RBUTTONDOWN, MK_RBUTTON, 0);
                SendMessageA(cell, WM_RBUTTONUP, 0, 0);
                SendMessageA(cell, WM_RBUTTONDBLCLK, MK_RBUTTON, 0);
                SendMessageA(cell, WM_RBUTTONUP, 0, 0);
                return Describe("right double-click bit %d", bit);
            }
            SendMessageA(cell, WM_MOUSEMOVE, 0, 0);
            return Describe("move over bit %d", bit);
        default:
            SendMessageA(cv::MainWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            SendMessageA(cv::MainWindow, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            return "click on the main window itself";
    }
}

// A key pressed on whatever has the focus, through the queue and the accelerator table.
std::string PressKey() {
    static const WPARAM kKeys[] = {VK_TAB,  VK_TAB,    VK_TAB,   VK_LEFT,  VK_RIGHT,  VK_UP,
                                   VK_DOWN, VK_HOME,   VK_END,   VK_SPACE, VK_ESCAPE, VK_RETURN,
                                   VK_BACK, VK_DELETE, VK_PRIOR, 'A',      '5'};
    WPARAM key = kKeys[Pick(sizeof kKeys / sizeof kKeys[0])];
    if (key == VK_RETURN && !Chance(kDialogPercent)) key = VK_SPACE;  // the information dialog is slow
    const bool shift = Chance(30);
    HWND target = FocusTarget();
    SetModifiers(false, false, shift);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    Pump();
    SetModifiers(false, false, false);
    return Describe("key 0x%02X%s on %s", static_cast<unsigned>(key), shift ? " with Shift" : "",
                    NameOf(target));
}

// An accelerator pressed as the keyboard would, on whatever has the focus.
std::string PressAccelerator() {
    struct Accelerator {
        WPARAM key;
        bool ctrl;
        bool alt;
        bool character;  // matched as the character typed with Alt (WM_SYSCHAR)
    };
    static const Accelerator kAccelerators[] = {
        {'C', true, false, false},    {'S', true, false, false},    {'0', true, false, false},
        {'1', true, false, false},    {'L', true, false, false},    {'E', true, false, false},
        {'R', true, false, false},    {'V', false, true, false},    {'X', false, true, false},
        {'B', false, true, false},    {'<', false, true, true},     {'>', false, true, true},
        {',', false, true, true},     {'.', false, true, true},     {'0', false, true, false},
        {'1', false, true, false},    {'F', false, true, false},    {VK_RETURN, false, true, false},
        {VK_F1, false, false, false}, {VK_F5, false, false, false}, {VK_F6, false, false, false},
        {VK_F7, false, false, false}, {VK_F8, false, false, false}, {VK_F9, false, false, false},
        {VK_F12, false, false, false}};
    Accelerator accelerator = kAccelerators[Pick(sizeof kAccelerators / sizeof kAccelerators[0])];
    if ((accelerator.key == 'R' && accelerator.ctrl) || accelerator.key == VK_F1) {
        if (!Chance(kDialogPercent)) accelerator = {'F', false, true, false};  // dialogs are slow
    }
    HWND target = FocusTarget();
    SetModifiers(accelerator.ctrl, accelerator.alt, false);
    const UINT message = accelerator.character ? WM_SYSCHAR : accelerator.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    PostMessageA(target, message, accelerator.key, accelerator.alt ? 0x20000001 : 1);
    Pump();
    SetModifiers(false, false, false);
    return Describe("accelerator %s%s0x%02X on %s", accelerator.ctrl ? "Ctrl+" : "",
                    accelerator.alt ? "Alt+" : "", static_cast<unsigned>(accelerator.key), NameOf(target));
}

std::string ClickButton() {
    if (Chance(50)) {
        const int j = static_cast<int>(Pick(4));
        HWND radio = cv::RadioButtons[j];
        // A disabled button takes no click.
        if (!IsWindowEnabled(radio)) return Describe("radio %d is disabled: no click", j);
        SendMessageA(radio, BM_CLICK, 0, 0);
        return Describe("click radio %d", j);
    }
    const int k = static_cast<int>(Pick(5));
    SendMessageA(cv::PushButtons[k], BM_CLICK, 0, 0);
    return Describe("click push button %d", k);
}

std::string OneAction() {
    const unsigned roll = Pick(100);
    if (roll < 25) return TypeIntoBox(cv::ValueBox);
    if (roll < 40) return TypeIntoBox(cv::HexBox);
    if (roll < 55) return SendCommand();
    if (roll < 72) return MouseOnCells();
    if (roll < 87) return PressKey();
    if (roll < 94) return PressAccelerator();
    return ClickButton();
}

// ---- Invariants ----

bool ValueBoxUserText = false;  // the value box shows what the user typed, not a rendering
bool HexBoxUserText = false;

uint64_t ViewMask() {
    return cv::ByteCount >= 8 ? ~0ull : (1ull << (8 * cv::ByteCount)) - 1;
}

// The texts the program would render now, computed without disturbing its state.
std::string RenderedValueText() {
    char work[cv::kWorkTextSize];
    char last[cv::kLastValueTextSize];
    std::memcpy(work, cv::WorkText, sizeof work);
    std::memcpy(last, cv::LastValueText, sizeof last);
    cv::RenderValueText(cv::LastValueText, sizeof cv::LastValueText, nullptr);
    std::string text = cv::LastValueText;
    std::memcpy(cv::WorkText, work, sizeof work);
    std::memcpy(cv::LastValueText, last, sizeof last);
    return text;
}

std::string RenderedHexText() {
    char text[24];
    const int digits = static_cast<int>(2 * cv::ByteCount);
    snprintf(text, sizeof text, "%0*" PRIX64, digits, cv::Value64() & ViewMask());
    return text;
}

// Whether storing the text (as an accepted entry of the value box is stored) gives the bits of
// the value: what the value box shows after the user typed must mean the value.
bool ValueTextMeansValue(const std::string& text) {
    const uint32_t saved[2] = {cv::BitValue[0], cv::BitValue[1]};
    char work[cv::kWorkTextSize];
    std::memcpy(work, cv::WorkText, sizeof work);
    cv::CopyText(cv::WorkText, text.c_str());
    cv::StoreValueText(nullptr);
    const bool same = cv::BitValue[0] == saved[0] && cv::BitValue[1] == saved[1];
    cv::BitValue[0] = saved[0];
    cv::BitValue[1] = saved[1];
    std::memcpy(cv::WorkText, work, sizeof work);
    return same;
}

// The hex text read right-aligned, as the hex box reads it.
bool HexTextMeansValue(const std::string& text) {
    if (text.empty()) return cv::ByteCount != 8 || cv::Value64() == 0;
    if (text.size() > 2 * cv::ByteCount) return false;
    uint64_t number = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0) return false;
        number = number << 4 | static_cast<uint64_t>(digit);
    }
    return number == (cv::Value64() & ViewMask());
}

bool MenuChecked(UINT id) {
    return (GetMenuState(GetMenu(cv::MainWindow), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void CheckMenu() {
    const struct {
        UINT id;
        bool expected;
    } items[] = {{IDM_COLOR, cv::ColorBits != 0},
                 {IDM_SHADE, cv::ShadeExponent != 0},
                 {IDM_SHIFT0, cv::ShiftMode == 0 || cv::ShiftMode == IDM_SHIFT0},
                 {IDM_SHIFT1, cv::ShiftMode == IDM_SHIFT1},
                 {IDM_ROTATE, cv::ShiftMode == IDM_ROTATE},
                 {IDM_ERRORBOXES, cv::ErrorBoxes != 0},
                 {IDM_ANSI, cv::DataType == IDM_ANSI},
                 {IDM_OEM, cv::DataType == IDM_OEM},
                 {IDM_SIGNED, cv::DataType == IDM_SIGNED},
                 {IDM_UNSIGNED, cv::DataType == IDM_UNSIGNED},
                 {IDM_REAL, cv::DataType == IDM_REAL}};
    for (const auto& item : items) {
        if (MenuChecked(item.id) != item.expected) {
            Fault("menu item %u is %s", item.id, item.expected ? "not checked" : "checked");
        }
    }
}

void CheckSizes() {
    static const uint32_t kSizes[4] = {1, 2, 4, 8};
    if (!cv::TypeAllowsSize(cv::DataType, cv::ByteCount)) {
        Fault("data type %u at %u bytes", cv::DataType, cv::ByteCount);
    }
    for (int j = 0; j < 4; ++j) {
        const bool allowed = cv::TypeAllowsSize(cv::DataType, kSizes[j]);
        if ((IsWindowEnabled(cv::RadioButtons[j]) != FALSE) != allowed) {
            Fault("radio button %u is %s for type %u", kSizes[j], allowed ? "disabled" : "enabled",
                  cv::DataType);
        }
        const bool checked = SendMessageA(cv::RadioButtons[j], BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != (kSizes[j] == cv::ByteCount)) {
            Fault("radio button %u is %s at %u bytes", kSizes[j], checked ? "checked" : "unchecked",
                  cv::ByteCount);
        }
    }
    RECT frame;
    GetWindowRect(cv::MainWindow, &frame);
    const int height = frame.bottom - frame.top;
    const int expected = cv::ByteCount == 8 ? cv::TallHeight : cv::NormalHeight;
    if (height != expected)
        Fault("window height %d at %u bytes, expected %d", height, cv::ByteCount, expected);
    const int firstHidden = cv::ByteCount == 1 ? 8 : cv::ByteCount == 2 ? 16 : 32;
    for (int bit = 8; bit < 32; ++bit) {
        if ((IsWindowVisible(cv::CellWindows[bit]) != FALSE) != (bit < firstHidden)) {
            Fault("cell %d is %s at %u bytes", bit, bit < firstHidden ? "hidden" : "shown", cv::ByteCount);
            break;
        }
    }
}

void CheckViews() {
    const uint64_t value = cv::Value64();
    for (int bit = 0; bit < 64; ++bit) {
        const bool shown =
            (static_cast<uint32_t>(GetWindowLongA(cv::CellWindows[bit], 0)) & cv::kCellSetFlag) != 0;
        const bool set = ((value >> bit) & 1) != 0;
        const int number = GetWindowLongA(cv::CellWindows[bit], 0) & 0x7FFFFFFF;
        if (shown != set || number != bit) {
            Fault("cell %d shows %s (word number %d), value %016" PRIX64, bit, shown ? "set" : "clear",
                  number, value);
            break;
        }
    }
    const std::string hex = TextOf(cv::HexBox);
    if (hex != cv::LastHexText) Fault("hex box \"%s\", last accepted \"%s\"", hex.c_str(), cv::LastHexText);
    if (HexBoxUserText ? !HexTextMeansValue(hex) : hex != RenderedHexText()) {
        Fault("hex box \"%s\" for value %016" PRIX64 " at %u bytes", hex.c_str(), value, cv::ByteCount);
    }
    const std::string shownValue = TextOf(cv::ValueBox);
    if (shownValue != cv::LastValueText) {
        Fault("value box \"%s\", last accepted \"%s\"", shownValue.c_str(), cv::LastValueText);
    }
    if (ValueBoxUserText ? !ValueTextMeansValue(shownValue) : shownValue != RenderedValueText()) {
        Fault("value box \"%s\" for value %016" PRIX64 " (type %u, %u bytes; rendering \"%s\")",
              shownValue.c_str(), value, cv::DataType, cv::ByteCount, RenderedValueText().c_str());
    }
    char caption[64];
    snprintf(caption, sizeof caption, "Corvane%s", cv::CaptionSuffix(cv::DataType));
    if (TextOf(cv::MainWindow) != caption) Fault("caption \"%s\"", TextOf(cv::MainWindow).c_str());
    if (cv::FocusIndex < 1 || cv::FocusIndex > 9) Fault("FocusIndex %u", cv::FocusIndex);
    if (cv::FocusBit < 0 || cv::FocusBit > 63) Fault("FocusBit %d", cv::FocusBit);
}

void CheckAll() {
    CheckViews();
    CheckMenu();
    CheckSizes();
}

// ---- The run ----

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
    fprintf(stderr, "CRASH: exception 0x%08lX at %p\n", exception->ExceptionRecord->ExceptionCode,
            exception->ExceptionRecord->ExceptionAddress);
    PrintHistory();
    fflush(stderr);
    ExitProcess(3);
}

DWORD WINAPI Watchdog(LPVOID) {
    LONG last = -1;
    for (;;) {
        Sleep(kHangLimitMs);
        const LONG now = Progress;
        if (now == last) {
            fprintf(stderr, "HANG: no action finished for %lu s\n", kHangLimitMs / 1000);
            PrintHistory();
            fflush(stderr);
            ExitProcess(4);
        }
        last = now;
    }
}

}  // namespace

int main(int argc, char** argv) {
    long actions = 3000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            Seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--actions") == 0 && i + 1 < argc) {
            actions = std::strtol(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            Quiet = true;
        } else {
            fprintf(stderr, "usage: corvane_monkey [--seed N] [--actions N] [--quiet]\n");
            return 2;
        }
    }
    Random.seed(static_cast<std::mt19937::result_type>(Seed ^ (Seed >> 32)));
    SetUnhandledExceptionFilter(OnCrash);
    CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);

    CbtHook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    CallHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
    if (cv::StartCorvane(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL) == nullptr) {
        fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    // Start-up installs the real beeps and boxes; the counting ones go in front of them.
    Alerts.real = &cv::CurrentAlerts();
    cv::SetAlerts(&Alerts);
    Pump();
    CheckAll();

    const DWORD start = GetTickCount();
    std::map<std::string, std::pair<long, double>> timeByKind;  // first words of the action: count, ms
    for (ActionNumber = 1; ActionNumber <= actions && Faults == 0; ++ActionNumber) {
        SawValueRender = SawHexRender = false;
        const std::string valueBefore = cv::LastValueText;
        const std::string hexBefore = cv::LastHexText;
        const DWORD actionStart = GetTickCount();
        const std::string action = OneAction();
        // The history shows each action with the texts of both boxes before it.
        Remember(action + "   [value \"" + valueBefore + "\", hex \"" + hexBefore + "\", type " +
                 std::to_string(cv::DataType) + ", " + std::to_string(cv::ByteCount) + " bytes]");
        Pump();
        CloseExtraWindows();
        auto& kind = timeByKind[action.substr(0, action.find_first_of(":0123456789"))];
        ++kind.first;
        kind.second += GetTickCount() - actionStart;
        // A box shows a rendering once the program rendered it, and the user's text once an
        // entry changed it since.
        const bool typedValue =
            action.compare(0, 9, "value box") == 0 || action.rfind("on value box") != std::string::npos;
        const bool typedHex =
            action.compare(0, 7, "hex box") == 0 || action.rfind("on hex box") != std::string::npos;
        if (SawValueRender) {
            ValueBoxUserText = false;
        } else if (typedValue && valueBefore != cv::LastValueText) {
            ValueBoxUserText = true;
        }
        if (SawHexRender) {
            HexBoxUserText = false;
        } else if (typedHex && hexBefore != cv::LastHexText) {
            HexBoxUserText = true;
        }
        CheckAll();
        InterlockedIncrement(&Progress);
        if (!Quiet && ActionNumber % 10000 == 0) {
            printf("%ld actions, %.0f s\n", ActionNumber, (GetTickCount() - start) / 1000.0);
            fflush(stdout);
        }
    }
    const double seconds = (GetTickCount() - start) / 1000.0;
    if (!Quiet) {
        for (const auto& kind : timeByKind) {
            printf("  %-40s %7ld  %9.0f ms\n", kind.first.c_str(), kind.second.first, kind.second.second);
        }
    }
    if (Faults != 0) {
        --ActionNumber;
        PrintHistory();
    }

    // The end of the run is a real exit: F12's command closes the window and ends the loop with 0.
    SendMessageA(cv::MainWindow, WM_COMMAND, IDM_EXIT, 0);
    MSG message;
    int exitCode = -1;
    for (int n = 0; n < kPumpLimit && GetMessageA(&message, nullptr, 0, 0) > 0; ++n)
        DispatchMessageA(&message);
    if (message.message == WM_QUIT) exitCode = static_cast<int>(message.wParam);
    if (exitCode != 0) Fault("exit ended the loop with %d", exitCode);
    UnhookWindowsHookEx(CbtHook);
    UnhookWindowsHookEx(CallHook);

    printf("monkey: seed %" PRIu64 ", %ld actions in %.1f s (%.2f ms each): %s\n", Seed,
           Faults ? ActionNumber : actions, seconds, seconds * 1000.0 / static_cast<double>(actions),
           Faults ? "FAULTS" : "clean");
    printf(
        "  beeps %ld, input errors %ld (%ld shown as boxes), boxes and dialogs shown %ld, exit requests "
        "%ld\n",
        static_cast<long>(Alerts.Beeps()), Count.inputBoxes, Count.realBoxes, Count.dialogs,
        Count.exitRequests);
    return Faults == 0 ? 0 : 1;
}
