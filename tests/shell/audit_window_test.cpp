// The order of the steps that start-up, the size commands, the data-type commands and the markers
// take, read from the messages the window and its controls receive.
#include <algorithm>
#include <vector>

#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

class WindowOrderTest : public ShellTest {};

// Index of the first logged message to the window (any window when null) from position 'from' on,
// or -1.
int FindFrom(const std::vector<SentMessage>& log, int from, HWND window, UINT message) {
    for (int i = from; i < static_cast<int>(log.size()); ++i) {
        if ((window == nullptr || log[i].window == window) && log[i].message == message) return i;
    }
    return -1;
}

int FindCommand(const std::vector<SentMessage>& log, UINT id) {
    for (int i = 0; i < static_cast<int>(log.size()); ++i) {
        if (log[i].window == cv::MainWindow && log[i].message == WM_COMMAND && LOWORD(log[i].wParam) == id)
            return i;
    }
    return -1;
}

// The bits of the cells that received the message, in the order received, with its wParam.
std::vector<std::pair<int, WPARAM>> CellsReceiving(const std::vector<SentMessage>& log, UINT message) {
    std::vector<std::pair<int, WPARAM>> cells;
    for (const SentMessage& m : log) {
        if (m.message != message) continue;
        for (int bit = 0; bit < 64; ++bit) {
            if (cv::CellWindows[bit] == m.window) cells.emplace_back(bit, m.wParam);
        }
    }
    return cells;
}

std::vector<std::pair<int, WPARAM>> Each(int first, int last, WPARAM wParam) {
    std::vector<std::pair<int, WPARAM>> cells;
    for (int bit = first; bit <= last; ++bit) cells.emplace_back(bit, wParam);
    return cells;
}

TEST_F(WindowOrderTest, StartUpCreatesTheCellsColumnByColumnAndSendsItsThreeMessagesInOrder) {
    ASSERT_EQ(Close(), 0);
    StartMessageLog();
    Start();
    const std::vector<SentMessage> log = StopMessageLog();

    // Bit i, then bit 32 + i, for i = 0..31.
    std::vector<int> created;
    for (const auto& cell : CellsReceiving(log, WM_CREATE)) created.push_back(cell.first);
    std::vector<int> expected;
    for (int i = 0; i < 32; ++i) {
        expected.push_back(i);
        expected.push_back(32 + i);
    }
    EXPECT_EQ(created, expected);

    // The edit boxes get the fixed font right after their creation, the hex box its start text
    // (whose echo reaches the main window) before the start command.
    const int valueFont = FindFrom(log, 0, cv::ValueBox, WM_SETFONT);
    const int hexLabel = FindFrom(log, 0, cv::HexLabel, WM_CREATE);
    const int hexText = FindFrom(log, 0, cv::HexBox, WM_SETTEXT);
    const int radio4 = FindFrom(log, 0, cv::RadioButtons[2], BM_SETCHECK);
    const int firstButton = FindFrom(log, 0, cv::PushButtons[0], WM_CREATE);
    const int signedType = FindCommand(log, IDM_SIGNED);
    const int shown = FindFrom(log, 0, cv::MainWindow, WM_SHOWWINDOW);
    const int nibble = FindFrom(log, 0, cv::MainWindow, WM_SELECTNIBBLE);
    const int bitFocus = FindFrom(log, 0, cv::MainWindow, WM_SHOWBITFOCUS);
    ASSERT_GE(valueFont, 0);
    ASSERT_GE(hexText, 0);
    EXPECT_LT(valueFont, hexLabel);
    EXPECT_EQ(log[valueFont].lParam, 0) << "no redraw";
    EXPECT_LT(hexText, radio4);
    EXPECT_EQ(log[radio4].wParam, 1u);
    EXPECT_LT(radio4, firstButton);
    EXPECT_LT(firstButton, signedType);
    EXPECT_LT(signedType, shown);
    EXPECT_LT(shown, nibble);
    EXPECT_LT(nibble, bitFocus);
    EXPECT_EQ(FindFrom(log, nibble + 1, cv::MainWindow, WM_SELECTNIBBLE), -1) << "sent once";
    EXPECT_EQ(cv::FocusIndex, 9u);
    EXPECT_EQ(std::string(cv::LastHexText), "00000000");
}

TEST_F(WindowOrderTest, SizeCommandChecksRendersSelectsShowsAndResizesInThatOrder) {
    Command(IDM_ANSI);
    StartMessageLog();
    Command(IDM_BYTES1);
    std::vector<SentMessage> log = StopMessageLog();

    std::vector<int> checks;
    int lastCheck = -1;
    for (int i = 0; i < static_cast<int>(log.size()); ++i) {
        if (log[i].message != BM_SETCHECK) continue;
        for (int j = 0; j < 4; ++j) {
            if (log[i].window == cv::RadioButtons[j])
                checks.push_back(10 * j + static_cast<int>(log[i].wParam));
        }
        lastCheck = i;
    }
    EXPECT_EQ(checks, (std::vector<int>{1, 10, 20, 30}))
        << "\"1\" checked, then \"2\", \"4\", \"8\" unchecked";
    const int value = FindFrom(log, 0, cv::MainWindow, WM_RECALCVALUEBOX);
    const int hex = FindFrom(log, 0, cv::MainWindow, WM_RECALCHEXBOX);
    const int rightUp = FindFrom(log, 0, Cell(0), WM_RBUTTONUP);
    const int rightDown = FindFrom(log, 0, Cell(0), WM_RBUTTONDOWN);
    const int firstHidden = FindFrom(log, 0, Cell(8), WM_SHOWWINDOW);
    const int resized = FindFrom(log, 0, cv::MainWindow, WM_WINDOWPOSCHANGING);
    EXPECT_LT(lastCheck, value);
    EXPECT_LT(value, hex);
    EXPECT_LT(hex, rightUp);
    EXPECT_LT(rightUp, rightDown);
    EXPECT_LT(rightDown, firstHidden);
    EXPECT_LT(FindFrom(log, 0, Cell(31), WM_SHOWWINDOW), resized);
    EXPECT_EQ(CellsReceiving(log, WM_SHOWWINDOW), Each(8, 31, FALSE)) << "hidden in ascending order";
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(1, 2));

    // From 1 byte to 2: 16..31 stay hidden, 8..15 come back in ascending order.
    StartMessageLog();
    Command(IDM_BYTES2);
    log = StopMessageLog();
    EXPECT_EQ(CellsReceiving(log, WM_SHOWWINDOW), Each(8, 15, TRUE));
    // From 2 bytes to 8: 16..31 come back, the window grows to uncover the lower row.
    StartMessageLog();
    Command(IDM_BYTES8);
    log = StopMessageLog();
    // (Whether a cell already in view hears of its showing again is up to the system.)
    std::vector<std::pair<int, WPARAM>> shown = CellsReceiving(log, WM_SHOWWINDOW);
    shown.erase(shown.begin(), std::find(shown.begin(), shown.end(), std::make_pair(16, WPARAM{TRUE})));
    EXPECT_EQ(shown, Each(16, 31, TRUE));
    EXPECT_EQ(WindowRect(cv::MainWindow).bottom - WindowRect(cv::MainWindow).top, cv::TallHeight);
    EXPECT_EQ(WindowRect(cv::MainWindow).left, 20) << "the window does not move";
    for (int bit = 0; bit < 64; ++bit) EXPECT_TRUE(IsWindowVisible(Cell(bit))) << bit;
}

TEST_F(WindowOrderTest, LeavingARealRepaintsItsExponentBeforeTheTypeAndEnablesInOrder) {
    struct Case {
        UINT from_size;
        UINT to_type;
        LPARAM shade;  // lParam of the IDM_SHADE sent first, 0 for none
        std::vector<int> enabled;
        bool sizeChanges;
    };
    const Case cases[] = {
        {IDM_BYTES4, IDM_ANSI, 4, {0, 1}, false},
        {IDM_BYTES8, IDM_OEM, 8, {0, 1}, false},
        {IDM_BYTES4, IDM_SIGNED, 4, {0, 1}, false},
        {IDM_BYTES8, IDM_UNSIGNED, 0, {0, 1}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to_type);
        Command(IDM_REAL);
        Command(c.from_size);
        PaintAll();
        StartMessageLog();
        Command(c.to_type);
        const std::vector<SentMessage> log = StopMessageLog();

        const int shade = FindCommand(log, IDM_SHADE);
        const int caption = FindFrom(log, 0, cv::MainWindow, WM_SETTEXT);
        if (c.shade == 0) {
            EXPECT_EQ(shade, -1) << "cells 52..62 leave the client area unrepainted";
        } else {
            ASSERT_GE(shade, 0);
            EXPECT_EQ(log[shade].lParam, c.shade);
            EXPECT_EQ(log[shade].dataType, static_cast<uint32_t>(IDM_REAL)) << "before the type changes";
            EXPECT_LT(shade, caption);
        }
        std::vector<int> enabled;
        int lastEnabled = -1;
        for (int i = 0; i < static_cast<int>(log.size()); ++i) {
            if (log[i].message != WM_ENABLE || log[i].wParam != TRUE) continue;
            for (int j = 0; j < 4; ++j) {
                if (log[i].window == cv::RadioButtons[j]) enabled.push_back(j);
            }
            lastEnabled = i;
        }
        EXPECT_EQ(enabled, c.enabled);
        const int next = c.sizeChanges ? FindCommand(log, IDM_BYTES4)
                                       : FindFrom(log, 0, cv::MainWindow, WM_RECALCVALUEBOX);
        ASSERT_GE(next, 0);
        EXPECT_LT(caption, lastEnabled);
        EXPECT_LT(lastEnabled, next);
        const bool integer = c.to_type == IDM_SIGNED || c.to_type == IDM_UNSIGNED;
        const int disable8 = FindFrom(log, 0, cv::RadioButtons[3], WM_ENABLE);
        if (integer) {
            ASSERT_GE(disable8, 0);
            EXPECT_EQ(log[disable8].wParam, static_cast<WPARAM>(FALSE));
            EXPECT_LT(next, disable8) << "\"8\" is disabled last";
        } else {
            EXPECT_EQ(disable8, -1) << "\"8\" stays enabled";
        }
        EXPECT_TRUE(IsWindowEnabled(cv::RadioButtons[2]));
    }
}

TEST_F(WindowOrderTest, MarkersComeToTheTopOfTheirSiblingsWithTheirSizeKept) {
    Send(WM_SELECTNIBBLE, 9);
    EXPECT_EQ(GetWindow(cv::MainWindow, GW_CHILD), cv::NibbleMarker);
    RECT marker = RectInClient(cv::NibbleMarker);
    EXPECT_EQ(marker.left, 377 - 52);
    EXPECT_EQ(marker.top, cv::ClientBottom + 31);
    EXPECT_EQ(marker.right - marker.left, 52);
    EXPECT_EQ(marker.bottom - marker.top, 1);
    cv::FocusBit = 40;
    Send(WM_SHOWBITFOCUS);
    EXPECT_EQ(GetWindow(cv::MainWindow, GW_CHILD), cv::BitMarker);
    marker = RectInClient(cv::BitMarker);
    EXPECT_EQ(marker.left, 833 - 13 * 40);
    EXPECT_EQ(marker.top, cv::ClientBottom + 3);
    EXPECT_EQ(marker.right - marker.left, 13);
    EXPECT_EQ(marker.bottom - marker.top, 1);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_TRUE(IsWindowVisible(cv::NibbleMarker)) << "the nibble marker stays at the last digit";
}

TEST_F(WindowOrderTest, OnlyTheBoxesUpdateNotificationIsTakenAsTyping) {
    // Any other notification of the two boxes goes to the default procedure: nothing is parsed,
    // nothing beeps, the armed flag stays as it was.
    for (UINT id : {IDM_VALUEBOX, IDM_HEXBOX}) {
        for (WORD code : {EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS, EN_MAXTEXT}) {
            cv::EditArmed = 1;
            EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(id, code), 0), 0);
            EXPECT_EQ(cv::EditArmed, 1u) << id << " " << code;
        }
    }
    EXPECT_EQ(alerts_.Beeps(), 0);
    EXPECT_EQ(cv::Value64(), 0u);
}

TEST_F(WindowOrderTest, SelectingADigitReadsNoMoreThanTheHexWidth) {
    Command(IDM_ANSI);
    Command(IDM_BYTES1);
    // A text longer than two digits (put in as the program's own, so not parsed): only "AB" counts.
    cv::EditArmed = 0;
    SetWindowTextA(cv::HexBox, "ABC");
    struct {
        WPARAM nibble;
        std::pair<int, int> selection;
    } const cases[] = {{0, {1, 2}}, {1, {0, 1}}, {2, {0, 0}}};
    for (const auto& c : cases) {
        Send(WM_SELECTNIBBLE, c.nibble);
        EXPECT_EQ(Selection(cv::HexBox), c.selection) << c.nibble;
        EXPECT_EQ(std::string(cv::WorkText), "AB");
    }
}

TEST_F(WindowOrderTest, OnlyPushButtonTypesKeepTheSystemButtonColours) {
    struct {
        DWORD type;
        bool windowColours;
    } const cases[] = {{BS_PUSHBUTTON, false},     {BS_DEFPUSHBUTTON, false}, {BS_OWNERDRAW, false},
                       {BS_CHECKBOX, true},        {BS_AUTOCHECKBOX, true},   {BS_RADIOBUTTON, true},
                       {BS_AUTORADIOBUTTON, true}, {BS_GROUPBOX, true}};
    for (const auto& c : cases) {
        HWND button = CreateWindowExA(0, "button", "", WS_CHILD | c.type, 0, 0, 10, 10, cv::MainWindow,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(button, nullptr);
        HDC dc = GetDC(button);
        const LRESULT brush =
            Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button));
        EXPECT_EQ(brush == reinterpret_cast<LRESULT>(cv::WindowBrush), c.windowColours) << c.type;
        ReleaseDC(button, dc);
        DestroyWindow(button);
    }
}

}  // namespace
}  // namespace cvtest
