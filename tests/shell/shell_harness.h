// In-process harness for the window shell: starts the real main window with cv::StartCorvane,
// drives it with the messages a user's mouse and keyboard would cause, and reads back what the
// user would see. Message boxes and dialogs are captured by a CBT hook and closed at once, so no
// test ever blocks; beeps and boxes of the engine are recorded through a wrapping cv::Alerts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shell/shell.h"
#include "tests/engine/alert_recorder.h"

namespace cvtest {

// Colours of the bit cells.
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);  // LTGRAY_BRUSH

// Cell size and the geometry of a mark inside it.
constexpr int kCellWidth = 14;
constexpr int kCellHeight = 20;

// A message box or dialog seen at its activation.
struct DialogRecord {
    std::string className;  // "#32770" for message boxes and dialogs
    std::string title;
    std::string text;      // static control 0xFFFF (a message box's text)
    std::string infoText;  // control 100 (the information dialog's text)
    HFONT infoFont = nullptr;
    HWND owner = nullptr;
    LONG style = 0;
    bool hasIcon = false;  // a message box's icon control (id 20)
};

// One message sent (SendMessage) within the test thread, with the state at that moment.
struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    uint32_t dataType;
    uint32_t byteCount;
    uint64_t value;  // BitValue as one number
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

public:
    // Starts the main window (state reset first) and installs the recording alerts.
    void Start();
    // Destroys the main window and drains the quit message it posts; returns that message's wParam,
    // or -1 when no quit message arrived.
    int Close();

    // ---- Messages ----
    static LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // WM_COMMAND to the main window as a menu or accelerator sends it.
    static LRESULT Command(UINT id, LPARAM lParam = 0);
    // BN_CLICKED from one of the push buttons (index 0..4).
    static LRESULT ClickButton(int index);
    // Dispatches everything queued, the way the message loop does (accelerators first). Stops at the
    // quit message and leaves it queued.
    static void Pump();
    // Posts a key-down (WM_SYSKEYDOWN when Alt is held) to the window with the given modifier keys
    // held in the thread's keyboard state, then pumps it through the accelerators.
    static void PressKey(HWND target, UINT vk, bool ctrl = false, bool alt = false, bool shift = false);
    // Sets the modifier keys in the thread's keyboard state (what GetKeyState reports).
    static void HoldModifiers(bool ctrl, bool alt, bool shift);

    // ---- Bit cells ----
    static HWND Cell(int bit) { return cv::CellWindows[bit]; }
    static uint32_t CellWord(int bit);
    static bool CellShowsSet(int bit) { return (CellWord(bit) & 0x80000000u) != 0; }
    // A real left click: press with MK_LBUTTON, release.
    static void ClickCell(int bit);
    static void PressCell(int bit) { SendMessageA(Cell(bit), WM_LBUTTONDOWN, MK_LBUTTON, kInside); }
    static void ReleaseCell(int bit) { SendMessageA(Cell(bit), WM_LBUTTONUP, 0, kInside); }
    static void MoveOverCell(int bit, WPARAM keys) { SendMessageA(Cell(bit), WM_MOUSEMOVE, keys, kInside); }
    static void DoubleClickCell(int bit);
    static void RightPressCell(int bit) { SendMessageA(Cell(bit), WM_RBUTTONDOWN, MK_RBUTTON, kInside); }
    static void RightReleaseCell(int bit) { SendMessageA(Cell(bit), WM_RBUTTONUP, 0, kInside); }
    static void RightDoubleClickCell(int bit);

    // ---- Edit boxes ----
    // Gives the box the focus, puts the caret at pos (-1: end) and types the characters one
    // WM_CHAR at a time, as the keyboard does.
    static void TypeAt(HWND box, int pos, const char* chars);
    // Selects everything in the box and types the characters over it.
    static void TypeOver(HWND box, const char* chars);
    // Backspace (WM_CHAR 8) at the caret position pos.
    static void BackspaceAt(HWND box, int pos);
    static std::pair<int, int> Selection(HWND box);

    // ---- Reading the window ----
    static std::string Text(HWND window);
    static bool MenuChecked(UINT id);
    static bool RadioChecked(int index);
    // The window's rectangle in the main window's client coordinates.
    static RECT RectInClient(HWND window);
    static RECT WindowRect(HWND window);
    static RECT ClientRect(HWND window);

    // ---- Painting ----
    // Paints every pending region of the main window and all its children now.
    static void PaintAll();
    // Forgets every pending repaint of the cells (paints them).
    static void ValidateCells() { PaintAll(); }
    static bool RepaintPending(HWND window);
    // Bits whose cells have a pending repaint, ascending.
    static std::vector<int> PendingCells();
    // Paints the cell, then reads a pixel from its window DC.
    static COLORREF CellPixel(int bit, int x, int y);
    // Counts the pixels of a colour in the cell (after painting it).
    static int CountCellPixels(int bit, COLORREF colour);

    // ---- Records ----
    static const std::vector<DialogRecord>& Dialogs();
    static void ClearDialogs();
    // The command posted to the next captured box or dialog (IDOK by default).
    static void SetDialogAnswer(WPARAM command);
    // Recording of sent messages (WH_CALLWNDPROC), off until started.
    static void StartMessageLog();
    static std::vector<SentMessage> StopMessageLog();

    // Measured font metrics of SYSTEM_FIXED_FONT in the main window.
    static void MeasureFont(int* lineHeight, int* averageCharWidth);

    static constexpr LPARAM kInside = MAKELPARAM(7, 10);

protected:
    // The engine's alerts, recorded in order and passed on to the shell's own implementation (so
    // the real message box appears and is caught by the CBT hook).
    cv::AlertRecorder alerts_{false};
    cv::Alerts* shellAlerts_ = nullptr;
    bool started_ = false;
};

// Bits from a set of bit numbers, for expectations on PendingCells.
std::vector<int> Range(int first, int last);

}  // namespace cvtest
