#include "tests/shell/shell_harness.h"

#include <cstring>
#include <set>

namespace cvtest {
namespace {

// Control ids inside a message box.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0014;
constexpr int kInfoTextId = 100;

// Bound on the messages one Pump dispatches, so a window that never validates cannot hang a test.
constexpr int kPumpLimit = 20000;

HHOOK cbtHook = nullptr;
HHOOK callHook = nullptr;
std::vector<DialogRecord> dialogs;
std::set<HWND> closedDialogs;  // captured and asked to close, not yet destroyed
WPARAM dialogAnswer = IDOK;
bool logging = false;
std::vector<SentMessage> messageLog;

std::string ReadText(HWND window) {
    char text[1024] = "";
    if (window != nullptr) GetWindowTextA(window, text, sizeof text);
    return text;
}

bool IsDialogWindow(HWND window) {
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, "#32770") == 0;
}

// Records a message box or dialog once and posts the chosen answer to it.
void CaptureDialog(HWND window) {
    if (!IsDialogWindow(window) || !closedDialogs.insert(window).second) return;
    DialogRecord record;
    record.className = "#32770";
    record.title = ReadText(window);
    record.text = ReadText(GetDlgItem(window, kMessageBoxTextId));
    HWND info = GetDlgItem(window, kInfoTextId);
    record.infoText = ReadText(info);
    if (info != nullptr) record.infoFont = reinterpret_cast<HFONT>(SendMessageA(info, WM_GETFONT, 0, 0));
    record.owner = GetWindow(window, GW_OWNER);
    record.style = GetWindowLongA(window, GWL_STYLE);
    record.hasIcon = GetDlgItem(window, kMessageBoxIconId) != nullptr;
    dialogs.push_back(record);
    PostMessageA(window, WM_COMMAND, dialogAnswer, 0);
    dialogAnswer = IDOK;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        CaptureDialog(reinterpret_cast<HWND>(wParam));
    } else if (code == HCBT_DESTROYWND) {
        closedDialogs.erase(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        // A modal loop that idles names its dialog: the fallback for a box whose activation the
        // CBT hook did not see.
        if (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_DIALOGBOX) {
            CaptureDialog(reinterpret_cast<HWND>(sent->lParam));
        }
        if (logging) {
            messageLog.push_back({sent->hwnd, sent->message, sent->wParam, sent->lParam, cv::DataType,
                                  cv::ByteCount, cv::Value64()});
        }
    }
    return CallNextHookEx(callHook, code, wParam, lParam);
}

void SetModifierKeys(bool ctrl, bool alt, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE ctrlState = ctrl ? 0x80 : 0;
    const BYTE altState = alt ? 0x80 : 0;
    const BYTE shiftState = shift ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrlState;
    keys[VK_MENU] = keys[VK_LMENU] = altState;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shiftState;
    SetKeyboardState(keys);
}

}  // namespace

std::vector<int> Range(int first, int last) {
    std::vector<int> bits;
    for (int bit = first; bit <= last; ++bit) bits.push_back(bit);
    return bits;
}

void ShellTest::SetUp() {
    ClearDialogs();
    messageLog.clear();
    logging = false;
    cbtHook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    callHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, nullptr, GetCurrentThreadId());
    ASSERT_NE(cbtHook, nullptr);
    ASSERT_NE(callHook, nullptr);
    Start();
}

void ShellTest::TearDown() {
    if (started_) {
        const bool alive = IsWindow(cv::MainWindow) != FALSE;
        const int code = Close();
        if (alive) {
            EXPECT_EQ(code, 0) << "the quit message carries the exit code";
        }
    }
    SetModifierKeys(false, false, false);
    logging = false;
    if (callHook != nullptr) UnhookWindowsHookEx(callHook);
    if (cbtHook != nullptr) UnhookWindowsHookEx(cbtHook);
    callHook = cbtHook = nullptr;
}

void ShellTest::Start() {
    cv::ResetState();
    HWND window = cv::StartCorvane(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window, cv::MainWindow);
    started_ = true;
    Pump();
    PaintAll();
    // Wrap whatever the shell installed for its beeps and boxes.
    cv::InstallWin32Alerts();
    shellAlerts_ = &cv::CurrentAlerts();
    alerts_.PassTo(shellAlerts_);
    cv::SetAlerts(&alerts_);
    alerts_.Clear();
}

int ShellTest::Close() {
    started_ = false;
    if (IsWindow(cv::MainWindow)) DestroyWindow(cv::MainWindow);
    cv::SetAlerts(nullptr);
    int code = -1;
    MSG msg;
    for (int i = 0; i < kPumpLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            code = static_cast<int>(msg.wParam);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return code;
}

LRESULT ShellTest::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(cv::MainWindow, message, wParam, lParam);
}

LRESULT ShellTest::Command(UINT id, LPARAM lParam) {
    return SendMessageA(cv::MainWindow, WM_COMMAND, id, lParam);
}

LRESULT ShellTest::ClickButton(int index) {
    HWND button = cv::PushButtons[index];
    const int id = GetDlgCtrlID(button);
    return SendMessageA(cv::MainWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
}

void ShellTest::Pump() {
    MSG msg;
    for (int i = 0; i < kPumpLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (cv::Accelerators != nullptr && TranslateAcceleratorA(cv::MainWindow, cv::Accelerators, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ShellTest::PressKey(HWND target, UINT vk, bool ctrl, bool alt, bool shift) {
    SetModifierKeys(ctrl, alt, shift);
    const LPARAM keyData = 1 | (alt ? (1 << 29) : 0);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyData);
    Pump();
    SetModifierKeys(false, false, false);
}

void ShellTest::HoldModifiers(bool ctrl, bool alt, bool shift) {
    SetModifierKeys(ctrl, alt, shift);
}

uint32_t ShellTest::CellWord(int bit) {
    return static_cast<uint32_t>(GetWindowLongA(Cell(bit), 0));
}

void ShellTest::ClickCell(int bit) {
    PressCell(bit);
    ReleaseCell(bit);
}

void ShellTest::DoubleClickCell(int bit) {
    PressCell(bit);
    ReleaseCell(bit);
    SendMessageA(Cell(bit), WM_LBUTTONDBLCLK, MK_LBUTTON, kInside);
    ReleaseCell(bit);
}

void ShellTest::RightDoubleClickCell(int bit) {
    RightPressCell(bit);
    RightReleaseCell(bit);
    SendMessageA(Cell(bit), WM_RBUTTONDBLCLK, MK_RBUTTON, kInside);
    RightReleaseCell(bit);
}

void ShellTest::TypeAt(HWND box, int pos, const char* chars) {
    SetFocus(box);
    if (pos < 0) pos = GetWindowTextLengthA(box);
    SendMessageA(box, EM_SETSEL, pos, pos);
    for (const char* c = chars; *c != '\0'; ++c) {
        SendMessageA(box, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
}

void ShellTest::TypeOver(HWND box, const char* chars) {
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
    for (const char* c = chars; *c != '\0'; ++c) {
        SendMessageA(box, WM_CHAR, static_cast<unsigned char>(*c), 1);
    }
}

void ShellTest::BackspaceAt(HWND box, int pos) {
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, pos, pos);
    SendMessageA(box, WM_CHAR, VK_BACK, 1);
}

std::pair<int, int> ShellTest::Selection(HWND box) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

std::string ShellTest::Text(HWND window) {
    return ReadText(window);
}

bool ShellTest::MenuChecked(UINT id) {
    const UINT state = GetMenuState(GetMenu(cv::MainWindow), id, MF_BYCOMMAND);
    return state != 0xFFFFFFFFu && (state & MF_CHECKED) != 0;
}

bool ShellTest::RadioChecked(int index) {
    return SendMessageA(cv::RadioButtons[index], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

RECT ShellTest::RectInClient(HWND window) {
    RECT rect = WindowRect(window);
    MapWindowPoints(HWND_DESKTOP, cv::MainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ShellTest::WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ShellTest::ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

void ShellTest::PaintAll() {
    RedrawWindow(cv::MainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // A cell outside the client area keeps an update region no painting reaches; forget it.
    for (HWND cell : cv::CellWindows) ValidateRect(cell, nullptr);
}

bool ShellTest::RepaintPending(HWND window) {
    return GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

std::vector<int> ShellTest::PendingCells() {
    std::vector<int> bits;
    for (int bit = 0; bit < 64; ++bit) {
        if (RepaintPending(Cell(bit))) bits.push_back(bit);
    }
    return bits;
}

COLORREF ShellTest::CellPixel(int bit, int x, int y) {
    UpdateWindow(Cell(bit));
    HDC dc = GetDC(Cell(bit));
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(Cell(bit), dc);
    return colour;
}

int ShellTest::CountCellPixels(int bit, COLORREF colour) {
    UpdateWindow(Cell(bit));
    HDC dc = GetDC(Cell(bit));
    int count = 0;
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) count += GetPixel(dc, x, y) == colour ? 1 : 0;
    }
    ReleaseDC(Cell(bit), dc);
    return count;
}

const std::vector<DialogRecord>& ShellTest::Dialogs() {
    return dialogs;
}

void ShellTest::ClearDialogs() {
    dialogs.clear();
}

void ShellTest::SetDialogAnswer(WPARAM command) {
    dialogAnswer = command;
}

void ShellTest::StartMessageLog() {
    messageLog.clear();
    logging = true;
}

std::vector<SentMessage> ShellTest::StopMessageLog() {
    logging = false;
    std::vector<SentMessage> log;
    log.swap(messageLog);
    return log;
}

void ShellTest::MeasureFont(int* lineHeight, int* averageCharWidth) {
    HDC dc = GetDC(cv::MainWindow);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(cv::MainWindow, dc);
    *lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    *averageCharWidth = metrics.tmAveCharWidth;
}

}  // namespace cvtest
