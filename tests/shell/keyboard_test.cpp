// The keyboard: the focus cycle with Tab and Shift+Tab, the radio buttons' arrows and the keys over
// the bit cells, pressed as key-downs through the message loop with the modifier keys held.
#include <cstring>
#include <vector>

#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

using KeyboardTest = ShellTest;

// The six movement keys over the bit cells and what they move; any other key moves nothing.
TEST(KeyboardKeys, FocusMoveOfKeyMapsTheMovementKeys) {
    using M = cv::FocusMove;
    const struct {
        WPARAM key;
        bool moves;
        M move;
    } cases[] = {
        {VK_LEFT, true, M::kLeft}, {VK_RIGHT, true, M::kRight},  {VK_UP, true, M::kUp},
        {VK_DOWN, true, M::kDown}, {VK_HOME, true, M::kFirst},   {VK_END, true, M::kLast},
        {0x41, false, M::kFirst},  {VK_SPACE, false, M::kFirst}, {VK_PRIOR, false, M::kFirst},
    };
    for (const auto& c : cases) {
        M move = M::kFirst;
        EXPECT_EQ(cv::FocusMoveOfKey(c.key, &move), c.moves) << c.key;
        if (c.moves) {
            EXPECT_EQ(move, c.move) << c.key;
        }
    }
}

// The window that has the focus at each position of the cycle (3: the radio button of the size).
HWND FocusWindowAt(uint32_t index) {
    switch (index) {
        case 1: return cv::ValueBox;
        case 2: return cv::HexBox;
        case 3: return cv::RadioButtons[cv::RadioOfSize[cv::ByteCount]];
        case 4:
        case 5:
        case 6:
        case 7:
        case 8: return cv::PushButtons[index - 4];
        case 9: return cv::MainWindow;
        default: return nullptr;
    }
}

// Puts the focus on a position the way the user's moves do: a control by taking the focus (its
// subclass procedure sets FocusIndex), the bit cells through WM_SHOWBITFOCUS.
void FocusPosition(uint32_t index) {
    if (index == 9) {
        ShellTest::Send(WM_SHOWBITFOCUS);
    } else {
        SetFocus(FocusWindowAt(index));
    }
}

bool BitMarkerVisible() {
    return IsWindowVisible(cv::BitMarker) != FALSE;
}

// Where the bit marker stands for a bit: under its cell in the upper row, over it in the lower.
POINT BitMarkerSpot(int bit) {
    const int bottom = cv::ClientBottom;
    return bit < 32 ? POINT{417 - 13 * bit, bottom - 9} : POINT{833 - 13 * bit, bottom + 3};
}

void ExpectBitMarkerAt(int bit) {
    const RECT marker = ShellTest::RectInClient(cv::BitMarker);
    const POINT spot = BitMarkerSpot(bit);
    EXPECT_TRUE(BitMarkerVisible()) << "bit " << bit;
    EXPECT_EQ(marker.left, spot.x) << "bit " << bit;
    EXPECT_EQ(marker.top, spot.y) << "bit " << bit;
}

TEST_F(KeyboardTest, TabAndShiftTabGoRoundTheCycleFromEveryPosition) {
    struct Step {
        uint32_t from, tab, shiftTab;
    };
    const Step cycle[] = {{1, 2, 9}, {2, 3, 1}, {3, 4, 2}, {4, 5, 3}, {5, 6, 4},
                          {6, 7, 5}, {7, 8, 6}, {8, 9, 7}, {9, 1, 8}};
    for (const Step& step : cycle) {
        for (bool shift : {false, true}) {
            const uint32_t to = shift ? step.shiftTab : step.tab;
            SCOPED_TRACE(std::to_string(step.from) + (shift ? " Shift+Tab" : " Tab"));
            FocusPosition(step.from);
            ASSERT_EQ(cv::FocusIndex, step.from);
            ASSERT_EQ(GetFocus(), FocusWindowAt(step.from));
            PressKey(GetFocus(), VK_TAB, false, false, shift);
            EXPECT_EQ(cv::FocusIndex, to);
            EXPECT_EQ(GetFocus(), FocusWindowAt(to));
            // The marker shows only while the bit cells have the focus.
            EXPECT_EQ(BitMarkerVisible(), to == 9);
        }
    }
    EXPECT_EQ(alerts_.Beeps(), 0);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(KeyboardTest, ArrivingAtTheBitCellsShowsTheMarkerAtTheFocusBit) {
    cv::FocusBit = 12;
    SetFocus(cv::ValueBox);
    EXPECT_FALSE(BitMarkerVisible());
    PressKey(cv::ValueBox, VK_TAB, false, false, true);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    ExpectBitMarkerAt(12);
    cv::FocusBit = 30;
    SetFocus(cv::PushButtons[4]);
    EXPECT_FALSE(BitMarkerVisible());
    PressKey(cv::PushButtons[4], VK_TAB);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    ExpectBitMarkerAt(30);
}

TEST_F(KeyboardTest, TabFromTheHexBoxReachesTheRadioButtonOfTheCurrentSize) {
    struct Case {
        UINT type, size;
        int radio;
    };
    const Case cases[] = {{IDM_ANSI, IDM_BYTES1, 0}, {IDM_ANSI, IDM_BYTES2, 1}, {IDM_ANSI, IDM_BYTES8, 3},
                          {IDM_REAL, IDM_BYTES8, 3}, {IDM_REAL, IDM_BYTES4, 2}, {IDM_SIGNED, IDM_BYTES1, 0}};
    for (const Case& c : cases) {
        Command(c.type);
        Command(c.size);
        SetFocus(cv::HexBox);
        PressKey(cv::HexBox, VK_TAB);
        EXPECT_EQ(GetFocus(), cv::RadioButtons[c.radio]) << c.type << " " << c.size;
        EXPECT_EQ(cv::FocusIndex, 3u);
        PressKey(GetFocus(), VK_TAB, false, false, true);
        EXPECT_EQ(GetFocus(), cv::HexBox);
    }
}

TEST_F(KeyboardTest, TheMainWindowGoesOnFromThePositionThatFocusIndexHolds) {
    // As after a dialog has closed: the main window has the focus, FocusIndex names a button.
    SetFocus(cv::PushButtons[1]);
    SetFocus(cv::MainWindow);
    ASSERT_EQ(cv::FocusIndex, 5u);
    PressKey(cv::MainWindow, VK_TAB);
    EXPECT_EQ(GetFocus(), cv::PushButtons[2]);
    SetFocus(cv::MainWindow);
    PressKey(cv::MainWindow, VK_TAB, false, false, true);
    EXPECT_EQ(GetFocus(), cv::PushButtons[1]);
    // From the value box's position, Shift+Tab steps to 0 and wraps to the bit cells.
    SetFocus(cv::ValueBox);
    SetFocus(cv::MainWindow);
    PressKey(cv::MainWindow, VK_TAB, false, false, true);
    EXPECT_EQ(cv::FocusIndex, 9u);
    ExpectBitMarkerAt(0);
}

TEST_F(KeyboardTest, ATabIsNeverTypedIntoEitherBox) {
    for (HWND box : {cv::ValueBox, cv::HexBox}) {
        for (bool shift : {false, true}) {
            SetFocus(box);
            const std::string before = Text(box);
            PressKey(box, VK_TAB, false, false, shift);
            EXPECT_EQ(Text(box), before);
            // A tab character that reaches the box by itself is swallowed too.
            SetFocus(box);
            EXPECT_EQ(SendMessageA(box, WM_CHAR, '\t', 1), 0);
            EXPECT_EQ(Text(box), before);
            EXPECT_EQ(GetFocus(), box);
        }
    }
    EXPECT_EQ(alerts_.Beeps(), 0) << "a swallowed tab is no rejected input";
}

TEST_F(KeyboardTest, KeysAndCharactersInABoxNameItsPositionAndHideTheMarker) {
    struct Case {
        HWND box;
        UINT message;
        WPARAM key;
        uint32_t index;
    };
    const Case cases[] = {{cv::ValueBox, WM_KEYDOWN, VK_END, 1},
                          {cv::HexBox, WM_KEYDOWN, VK_HOME, 2},
                          {cv::ValueBox, WM_CHAR, '1', 1},
                          {cv::HexBox, WM_CHAR, '1', 2}};
    for (const Case& c : cases) {
        // A character replaces the whole text, so that it is accepted input.
        SendMessageA(c.box, EM_SETSEL, 0, -1);
        Send(WM_SHOWBITFOCUS);
        ASSERT_TRUE(BitMarkerVisible());
        SendMessageA(c.box, c.message, c.key, 1);
        EXPECT_EQ(cv::FocusIndex, c.index);
        EXPECT_FALSE(BitMarkerVisible());
    }
}

TEST_F(KeyboardTest, AnUnexpectedFocusValueIsAnInternalErrorAndTheFocusStays) {
    struct Case {
        HWND window;
        uint32_t index;  // FocusIndex before the key
        bool shift;
        uint32_t after;
        const char* text;
    };
    const Case cases[] = {
        {cv::ValueBox, 3, false, 4, "Unexpected Focus Value in EditProc"},
        {cv::HexBox, 5, true, 4, "Unexpected Focus Value in EditProc"},
        {cv::RadioButtons[2], 1, false, 2 + 0, nullptr},  // 1 + 1 = 2: the hex box, no error
        {cv::RadioButtons[2], 6, false, 7, "Unexpected Focus Value in RBtnProc"},
        {cv::RadioButtons[2], 3, false, 4, nullptr},
        {cv::PushButtons[0], 1, false, 2, "Unexpected Focus Value in PBtnProc"},
        {cv::PushButtons[4], 9, false, 10, "Unexpected Focus Value in PBtnProc"},
        {cv::MainWindow, 10, false, 11, "Unexpected Focus Value in WndProc"},
        {cv::MainWindow, 0xFFFFFFFFu, false, 0, nullptr},  // wraps to 0, which means the bit cells
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "no error");
        alerts_.Clear();
        ClearDialogs();
        SetFocus(c.window);
        cv::FocusIndex = c.index;
        PressKey(c.window, VK_TAB, false, false, c.shift);
        if (c.text == nullptr) {
            EXPECT_EQ(alerts_.Beeps(), 0);
            continue;
        }
        // The box takes the focus while it is open; no control of the cycle is given it.
        EXPECT_EQ(cv::FocusIndex, c.after) << "the new value stays";
        EXPECT_EQ(alerts_.Beeps(), 3);
        ASSERT_EQ(Dialogs().size(), 1u);
        EXPECT_EQ(Dialogs()[0].title, "Corvane Internal Error");
        EXPECT_EQ(Dialogs()[0].text, c.text);
        // The procedure's own window owns the box, not the main window behind it.
        EXPECT_EQ(alerts_.Owners(), std::vector<cv::WindowRef>{c.window});
    }
}

TEST_F(KeyboardTest, ARadioArrowSendsTheSizeCommandBeforeTheFocusReturnsToTheRadio) {
    Command(IDM_SIGNED);
    SetFocus(cv::RadioButtons[2]);
    StartMessageLog();
    PressKey(cv::RadioButtons[2], VK_RIGHT);
    const std::vector<SentMessage> log = StopMessageLog();
    // The size command (911 + position 0, lParam 0) goes first and moves the focus to the hex box on
    // its way; the radio button of the new size takes the focus only after it.
    size_t command = log.size();
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].window == cv::MainWindow && log[i].message == WM_COMMAND) {
            EXPECT_EQ(log[i].wParam, static_cast<WPARAM>(IDM_BYTES1));
            EXPECT_EQ(log[i].lParam, 0);
            EXPECT_EQ(log[i].byteCount, 4u) << "sent before the size changes";
            command = i;
            break;
        }
    }
    ASSERT_LT(command, log.size());
    std::vector<HWND> focused;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].message != WM_SETFOCUS) continue;
        EXPECT_GT(i, command);
        focused.push_back(log[i].window);
    }
    const std::vector<HWND> expected = {cv::HexBox, cv::RadioButtons[0]};
    EXPECT_EQ(focused, expected);
    EXPECT_EQ(cv::FocusIndex, 3u);
}

TEST_F(KeyboardTest, TabKeyDownsReturnZeroToTheirSenders) {
    SetFocus(cv::ValueBox);
    HoldModifiers(false, false, false);
    EXPECT_EQ(SendMessageA(cv::ValueBox, WM_KEYDOWN, VK_TAB, 1), 0);
    EXPECT_EQ(GetFocus(), cv::HexBox);
    Send(WM_SHOWBITFOCUS);
    EXPECT_EQ(SendMessageA(cv::MainWindow, WM_KEYDOWN, VK_TAB, 1), 0);
    EXPECT_EQ(GetFocus(), cv::ValueBox);
}

TEST_F(KeyboardTest, RadioArrowsCycleThroughTheSizesTheTypeAllows) {
    struct Case {
        UINT type;
        uint32_t from, back, forward;
    };
    const Case cases[] = {
        {IDM_ANSI, 1, 8, 2},   {IDM_ANSI, 2, 1, 4},     {IDM_ANSI, 4, 2, 8},     {IDM_ANSI, 8, 4, 1},
        {IDM_OEM, 1, 8, 2},    {IDM_OEM, 8, 4, 1},      {IDM_SIGNED, 1, 4, 2},   {IDM_SIGNED, 2, 1, 4},
        {IDM_SIGNED, 4, 2, 1}, {IDM_UNSIGNED, 1, 4, 2}, {IDM_UNSIGNED, 4, 2, 1}, {IDM_REAL, 4, 8, 8},
        {IDM_REAL, 8, 4, 4},
    };
    auto sizeCommand = [](uint32_t size) { return IDM_BYTES1 + cv::RadioOfSize[size]; };
    for (const Case& c : cases) {
        for (WPARAM key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN}) {
            const bool forward = key == VK_RIGHT || key == VK_DOWN;
            const uint32_t to = forward ? c.forward : c.back;
            SCOPED_TRACE(std::to_string(c.type) + ": " + std::to_string(c.from) + " key " +
                         std::to_string(key));
            Command(c.type);
            Command(sizeCommand(c.from));
            ASSERT_EQ(cv::ByteCount, c.from);
            HWND radio = cv::RadioButtons[cv::RadioOfSize[c.from]];
            SetFocus(radio);
            PressKey(radio, static_cast<UINT>(key));
            EXPECT_EQ(cv::ByteCount, to);
            EXPECT_TRUE(RadioChecked(cv::RadioOfSize[to]));
            EXPECT_EQ(GetFocus(), cv::RadioButtons[cv::RadioOfSize[to]]);
            EXPECT_EQ(cv::FocusIndex, 3u);
            EXPECT_FALSE(BitMarkerVisible());
        }
    }
}

TEST_F(KeyboardTest, ARealGrowsTheWindowWhenAnArrowChoosesEightBytes) {
    Command(IDM_REAL);
    const RECT before = WindowRect(cv::MainWindow);
    SetFocus(cv::RadioButtons[2]);
    PressKey(cv::RadioButtons[2], VK_RIGHT);
    const RECT after = WindowRect(cv::MainWindow);
    EXPECT_EQ(after.bottom - after.top, cv::TallHeight);
    EXPECT_EQ(before.bottom - before.top, cv::NormalHeight);
}

TEST_F(KeyboardTest, ArrowsHomeAndEndMoveTheFocusBitWithinTheView) {
    struct Case {
        UINT size;
        int from;
        UINT key;
        int to;
    };
    const Case cases[] = {
        {IDM_BYTES1, 0, VK_RIGHT, 7},  {IDM_BYTES1, 7, VK_LEFT, 0},    {IDM_BYTES1, 3, VK_UP, 4},
        {IDM_BYTES1, 3, VK_DOWN, 2},   {IDM_BYTES1, 5, VK_HOME, 0},    {IDM_BYTES1, 0, VK_END, 7},
        {IDM_BYTES2, 15, VK_LEFT, 0},  {IDM_BYTES2, 0, VK_END, 15},    {IDM_BYTES2, 0, VK_DOWN, 15},
        {IDM_BYTES4, 31, VK_LEFT, 0},  {IDM_BYTES4, 0, VK_RIGHT, 31},  {IDM_BYTES4, 9, VK_END, 31},
        {IDM_BYTES8, 31, VK_LEFT, 32}, {IDM_BYTES8, 32, VK_RIGHT, 31}, {IDM_BYTES8, 5, VK_UP, 37},
        {IDM_BYTES8, 37, VK_DOWN, 5},  {IDM_BYTES8, 40, VK_UP, 8},     {IDM_BYTES8, 0, VK_END, 63},
        {IDM_BYTES8, 63, VK_LEFT, 0},  {IDM_BYTES8, 63, VK_HOME, 0},
    };
    Command(IDM_ANSI);  // every size
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + ": " + std::to_string(c.from) + " key " +
                     std::to_string(c.key));
        Command(c.size);
        cv::FocusBit = c.from;
        Send(WM_SHOWBITFOCUS);
        PressKey(cv::MainWindow, c.key);
        EXPECT_EQ(cv::FocusBit, c.to);
        EXPECT_EQ(GetFocus(), cv::MainWindow);
        EXPECT_EQ(cv::FocusIndex, 9u);
        ExpectBitMarkerAt(c.to);
    }
}

TEST_F(KeyboardTest, SpaceTogglesTheFocusBitLikeAClick) {
    Command(IDM_UNSIGNED);
    Command(IDM_BYTES2);
    cv::FocusBit = 9;
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_SPACE);
    EXPECT_EQ(cv::BitValue[0], 0x200u);
    EXPECT_TRUE(CellShowsSet(9));
    EXPECT_EQ(Text(cv::ValueBox), "512");
    EXPECT_EQ(Text(cv::HexBox), "0200");
    EXPECT_EQ(cv::LastToggledBit, cv::kNoBit) << "the drag guard is cleared again";
    ExpectBitMarkerAt(9);
    // So the same key toggles the same bit back.
    PressKey(cv::MainWindow, VK_SPACE);
    EXPECT_EQ(cv::BitValue[0], 0u);
    EXPECT_FALSE(CellShowsSet(9));
    EXPECT_EQ(GetFocus(), cv::MainWindow);
}

TEST_F(KeyboardTest, EscapeSelectsTheFocusBitsDigitOnceUntilTheGuardIsCleared) {
    cv::SetValue64(0x12345678u);
    Send(WM_RECALCHEXBOX);
    cv::FocusBit = 13;  // digit 3 of "12345678": the "5"
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_ESCAPE);
    EXPECT_EQ(GetFocus(), cv::HexBox);
    EXPECT_EQ(cv::FocusIndex, 2u);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(4, 5));
    EXPECT_EQ(cv::LastNibble, 3);
    EXPECT_FALSE(BitMarkerVisible());
    const RECT marker = RectInClient(cv::NibbleMarker);
    EXPECT_EQ(marker.left, 377 - 52 * 3);
    // Back to the cells: a second Escape on the same digit does nothing, no button-up came.
    cv::FocusBit = 14;
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_ESCAPE);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_EQ(cv::FocusIndex, 9u);
    // A right-button release on a cell clears the guard.
    RightReleaseCell(0);
    PressKey(cv::MainWindow, VK_ESCAPE);
    EXPECT_EQ(GetFocus(), cv::HexBox);
}

TEST_F(KeyboardTest, EnterShowsTheInformationOfTheFocusBit) {
    cv::FocusBit = 6;
    ClickCell(6);
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_RETURN);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].title, "Bit Information");
    EXPECT_EQ(Dialogs()[0].infoText, "Bit number 06 is set.\r\n\r\nInteger value when set:  2**6 = 64");
    EXPECT_EQ(Dialogs()[0].owner, cv::MainWindow);
}

TEST_F(KeyboardTest, AFocusBitLeftAboveTheViewStillWorksItsHiddenCell) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    cv::FocusBit = 8;
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_UP);
    ASSERT_EQ(cv::FocusBit, 40);
    Command(IDM_BYTES4);
    EXPECT_EQ(cv::FocusBit, 40) << "a size change leaves FocusBit alone";
    Send(WM_SHOWBITFOCUS);
    ExpectBitMarkerAt(40);  // under the lower row, outside the client area
    const std::string hexBefore = Text(cv::HexBox);
    PressKey(cv::MainWindow, VK_SPACE);
    EXPECT_EQ(cv::BitValue[1], 0x100u) << "bit 40 toggled out of view";
    EXPECT_TRUE(CellShowsSet(40));
    EXPECT_EQ(Text(cv::HexBox), hexBefore);
    PressKey(cv::MainWindow, VK_RETURN);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].infoText.substr(0, 22), "Bit number 40 is set.\r");
    PressKey(cv::MainWindow, VK_ESCAPE);  // digit 10, beyond the eight digits in the box
    EXPECT_EQ(GetFocus(), cv::HexBox);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 0));
    // The first arrow brings the focus bit back into view.
    Send(WM_SHOWBITFOCUS);
    PressKey(cv::MainWindow, VK_LEFT);
    EXPECT_EQ(cv::FocusBit, 9);
    ExpectBitMarkerAt(9);
}

}  // namespace
}  // namespace cvtest
