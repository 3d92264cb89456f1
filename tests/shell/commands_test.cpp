// Main window commands: options, data types, byte counts, bit operations, focus accelerators,
// help path, and typing in the two edit boxes.
#include <direct.h>

#include <cstdlib>
#include <cstring>

#include "engine/text_to_number.h"
#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

using CommandsTest = ShellTest;

const char kInvalidTitle[] = "Corvane Input Error - Invalid Value";
const char kRangeTitle[] = "Corvane Input Error - Out of Range";
const char kInvalidText[] =
    "The value that you are attempting to enter is not an allowable representation for the current data "
    "type.";
const char kRangeText[] =
    "The value that you are attempting to enter would exceed the allowable range for the current data type.";

// Index of the first logged message matching, or -1.
int Find(const std::vector<SentMessage>& log, HWND window, UINT message, WPARAM wParam, int from = 0) {
    for (int i = from; i < static_cast<int>(log.size()); ++i) {
        if (log[i].window == window && log[i].message == message && log[i].wParam == wParam) return i;
    }
    return -1;
}

int Count(const std::vector<SentMessage>& log, HWND window, UINT message) {
    int count = 0;
    for (const SentMessage& m : log) count += (m.window == window && m.message == message) ? 1 : 0;
    return count;
}

// Puts a value into the bits and lets the cells and both boxes follow, as an edit would.
void ShowValue(uint64_t value) {
    cv::SetValue64(value);
    ShellTest::Send(WM_SYNCBITCELLS);
    ShellTest::Send(WM_RECALCVALUEBOX);
    ShellTest::Send(WM_RECALCHEXBOX);
}

// Deletes the whole text of a box with one keystroke.
void ClearBox(HWND box) {
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
    SendMessageA(box, WM_CHAR, VK_BACK, 1);
}

bool Contains(const std::vector<int>& bits, int first, int last) {
    for (int bit = first; bit <= last; ++bit) {
        bool found = false;
        for (int b : bits) found = found || b == bit;
        if (!found) return false;
    }
    return true;
}

// ---- Options ----

TEST_F(CommandsTest, ColorBitsTogglesItsMarkAndRepaintsEveryCell) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    PaintAll();
    Command(IDM_COLOR);
    EXPECT_EQ(cv::ColorBits, 0u);
    EXPECT_FALSE(MenuChecked(IDM_COLOR));
    EXPECT_EQ(PendingCells(), Range(0, 63));
    Command(IDM_COLOR);
    EXPECT_EQ(cv::ColorBits, 1u);
    EXPECT_TRUE(MenuChecked(IDM_COLOR));
}

TEST_F(CommandsTest, ShadeWithAnIntegerTypeOnlyMovesItsMark) {
    PaintAll();
    Command(IDM_SHADE);
    EXPECT_EQ(cv::ShadeExponent, 0u);
    EXPECT_FALSE(MenuChecked(IDM_SHADE));
    EXPECT_TRUE(PendingCells().empty());
    Command(IDM_SHADE);
    EXPECT_EQ(cv::ShadeExponent, 1u);
    EXPECT_TRUE(MenuChecked(IDM_SHADE));
    EXPECT_TRUE(PendingCells().empty());
}

TEST_F(CommandsTest, ShadeRepaintsTheExponentCellsOfTheRealInView) {
    Command(IDM_REAL);
    PaintAll();
    Command(IDM_SHADE);
    EXPECT_EQ(cv::ShadeExponent, 0u);
    EXPECT_EQ(PendingCells(), Range(23, 30));
    PaintAll();
    // The program's own repaint request changes neither the option nor its mark.
    Command(IDM_SHADE, 4);
    EXPECT_EQ(cv::ShadeExponent, 0u);
    EXPECT_FALSE(MenuChecked(IDM_SHADE));
    EXPECT_EQ(PendingCells(), Range(23, 30));
    Command(IDM_BYTES8);
    PaintAll();
    Command(IDM_SHADE);
    EXPECT_EQ(cv::ShadeExponent, 1u);
    EXPECT_EQ(PendingCells(), Range(52, 62));
    PaintAll();
    Command(IDM_SHADE, 8);
    EXPECT_EQ(PendingCells(), Range(52, 62));
}

TEST_F(CommandsTest, ShiftModesKeepOneMarkChecked) {
    // Chosen at start, "Shift in 0's" only makes the mode explicit.
    Command(IDM_SHIFT0);
    EXPECT_EQ(cv::ShiftMode, static_cast<uint32_t>(IDM_SHIFT0));
    struct Step {
        UINT command;
        bool checks[3];
    };
    const Step steps[] = {
        {IDM_SHIFT1, {false, true, false}},
        {IDM_ROTATE, {false, false, true}},
        {IDM_ROTATE, {false, false, true}},
        {IDM_SHIFT0, {true, false, false}},
    };
    for (const Step& step : steps) {
        Command(step.command);
        EXPECT_EQ(cv::ShiftMode, step.command);
        EXPECT_EQ(MenuChecked(IDM_SHIFT0), step.checks[0]) << step.command;
        EXPECT_EQ(MenuChecked(IDM_SHIFT1), step.checks[1]) << step.command;
        EXPECT_EQ(MenuChecked(IDM_ROTATE), step.checks[2]) << step.command;
    }
}

TEST_F(CommandsTest, ErrorBoxesTogglesItsMark) {
    Command(IDM_ERRORBOXES);
    EXPECT_EQ(cv::ErrorBoxes, 0u);
    EXPECT_FALSE(MenuChecked(IDM_ERRORBOXES));
    Command(IDM_ERRORBOXES);
    EXPECT_EQ(cv::ErrorBoxes, 1u);
    EXPECT_TRUE(MenuChecked(IDM_ERRORBOXES));
}

TEST_F(CommandsTest, ExitPostsCloseAndTheWindowClosesAfterTheCommand) {
    Command(IDM_EXIT);
    EXPECT_TRUE(IsWindow(cv::MainWindow)) << "the close is posted, not sent";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, cv::MainWindow, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
    Pump();
    EXPECT_FALSE(IsWindow(cv::MainWindow));
    EXPECT_EQ(Close(), 0);
}

// ---- Data types ----

TEST_F(CommandsTest, EachDataTypeSetsCaptionMarksRadioButtonsAndValueText) {
    struct Case {
        UINT command;
        const char* caption;
        bool enabled[4];  // "1", "2", "4", "8"
        const char* value;
        int font;
    };
    const Case cases[] = {
        {IDM_ANSI, "Corvane - ANSI Character", {true, true, true, true}, "A   ", SYSTEM_FIXED_FONT},
        {IDM_OEM, "Corvane - OEM Character", {true, true, true, true}, "A   ", OEM_FIXED_FONT},
        {IDM_UNSIGNED, "Corvane - Unsigned Integer", {true, true, true, false}, "65", SYSTEM_FIXED_FONT},
        {IDM_REAL,
         "Corvane - Floating-Point Real",
         {false, false, true, true},
         "+Denormalized Number",
         SYSTEM_FIXED_FONT},
        {IDM_SIGNED, "Corvane - Signed Integer", {true, true, true, false}, "65", SYSTEM_FIXED_FONT},
    };
    ClickCell(0);
    ClickCell(6);  // 0x41
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Command(c.command);
        EXPECT_EQ(cv::DataType, c.command);
        EXPECT_EQ(cv::ByteCount, 4u);
        EXPECT_EQ(cv::Value64(), 0x41u);
        EXPECT_EQ(Text(cv::MainWindow), c.caption);
        for (UINT id = IDM_ANSI; id <= IDM_REAL; ++id) EXPECT_EQ(MenuChecked(id), id == c.command) << id;
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(IsWindowEnabled(cv::RadioButtons[j]) != FALSE, c.enabled[j]) << "radio " << j;
        }
        EXPECT_TRUE(RadioChecked(2));
        EXPECT_EQ(Text(cv::ValueBox), c.value);
        EXPECT_STREQ(cv::LastValueText, c.value);
        EXPECT_EQ(SendMessageA(cv::ValueBox, WM_GETFONT, 0, 0),
                  reinterpret_cast<LRESULT>(GetStockObject(c.font)));
    }
}

TEST_F(CommandsTest, TypeChangeKeepsTheBitsAndLeavesTheHexBoxAlone) {
    TypeOver(cv::HexBox, "1");
    ASSERT_EQ(cv::Value64(), 1u);
    Command(IDM_REAL);
    EXPECT_EQ(Text(cv::ValueBox), "+Denormalized Number");
    EXPECT_EQ(Text(cv::HexBox), "1") << "the size did not change, so the hex box is not rendered";
    EXPECT_EQ(cv::Value64(), 1u);
}

TEST_F(CommandsTest, SameTypeOrSizeAgainChangesNothing) {
    Command(IDM_FOCUSVALUE);
    PaintAll();
    StartMessageLog();
    Command(IDM_SIGNED);
    Command(IDM_BYTES4);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Count(log, cv::MainWindow, WM_SETTEXT), 0);
    EXPECT_EQ(Count(log, cv::MainWindow, WM_RECALCVALUEBOX), 0);
    EXPECT_EQ(Count(log, cv::MainWindow, WM_RECALCHEXBOX), 0);
    EXPECT_EQ(GetFocus(), cv::ValueBox);
    EXPECT_EQ(cv::FocusIndex, 1u);
    EXPECT_TRUE(PendingCells().empty());
}

TEST_F(CommandsTest, RealFromOneByteFirstSwitchesToFourBytes) {
    Command(IDM_ANSI);
    Command(IDM_BYTES1);
    ClickCell(0);
    ASSERT_EQ(Text(cv::HexBox), "01");
    PaintAll();
    StartMessageLog();
    Command(IDM_REAL);
    const std::vector<SentMessage> log = StopMessageLog();

    EXPECT_EQ(cv::ByteCount, 4u);
    EXPECT_EQ(Text(cv::HexBox), "00000001");
    EXPECT_EQ(Text(cv::ValueBox), "+Denormalized Number");
    EXPECT_EQ(GetFocus(), cv::HexBox);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(7, 8));
    EXPECT_EQ(cv::FocusIndex, 2u);
    EXPECT_FALSE(IsWindowEnabled(cv::RadioButtons[0]));
    EXPECT_FALSE(IsWindowEnabled(cv::RadioButtons[1]));
    EXPECT_TRUE(IsWindowEnabled(cv::RadioButtons[3]));
    EXPECT_TRUE(Contains(PendingCells(), 23, 30));

    // Caption, then the size change (with DataType already real), then "1" and "2" disabled, then
    // the exponent cells repainted for 4 bytes.
    const int caption = Find(log, cv::MainWindow, WM_SETTEXT, 0);
    const int size = Find(log, cv::MainWindow, WM_COMMAND, IDM_BYTES4);
    const int disable1 = Find(log, cv::RadioButtons[0], WM_ENABLE, FALSE);
    const int disable2 = Find(log, cv::RadioButtons[1], WM_ENABLE, FALSE);
    const int shade = Find(log, cv::MainWindow, WM_COMMAND, IDM_SHADE);
    ASSERT_GE(caption, 0);
    ASSERT_GE(size, 0);
    ASSERT_GE(disable1, 0);
    ASSERT_GE(disable2, 0);
    ASSERT_GE(shade, 0);
    EXPECT_EQ(log[size].dataType, static_cast<uint32_t>(IDM_REAL));
    EXPECT_LT(caption, size);
    EXPECT_LT(size, disable1);
    EXPECT_LT(disable1, disable2);
    EXPECT_LT(disable2, shade);
    EXPECT_EQ(log[shade].lParam, 4);
    EXPECT_EQ(log[shade].byteCount, 4u);
}

TEST_F(CommandsTest, IntegerFromEightBytesDropsToFourAndLosesTheLowerRow) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    ASSERT_EQ(WindowRect(cv::MainWindow).bottom - WindowRect(cv::MainWindow).top, cv::TallHeight);
    StartMessageLog();
    Command(IDM_UNSIGNED);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(cv::ByteCount, 4u);
    EXPECT_EQ(WindowRect(cv::MainWindow).bottom - WindowRect(cv::MainWindow).top, cv::NormalHeight);
    EXPECT_TRUE(RadioChecked(2));
    EXPECT_FALSE(RadioChecked(3));
    EXPECT_FALSE(IsWindowEnabled(cv::RadioButtons[3]));
    const int size = Find(log, cv::MainWindow, WM_COMMAND, IDM_BYTES4);
    const int disable8 = Find(log, cv::RadioButtons[3], WM_ENABLE, FALSE);
    ASSERT_GE(size, 0);
    EXPECT_GT(disable8, size) << "\"8\" is disabled after the size change";
    EXPECT_EQ(Count(log, cv::MainWindow, WM_RECALCVALUEBOX), 1) << "rendered by the size change only";
}

TEST_F(CommandsTest, RealAtEightBytesSeenAsSignedKeepsItsHighHalf) {
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    TypeOver(cv::HexBox, "3FF0000000000005");
    ASSERT_EQ(cv::BitValue[1], 0x3FF00000u);
    PaintAll();
    StartMessageLog();
    Command(IDM_SIGNED);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Text(cv::ValueBox), "5");
    EXPECT_EQ(Text(cv::HexBox), "00000005");
    EXPECT_EQ(Find(log, cv::MainWindow, WM_COMMAND, IDM_SHADE), -1) << "no exponent repaint from 8 bytes";
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    EXPECT_EQ(Text(cv::HexBox), "3FF0000000000005");
    EXPECT_EQ(cv::Value64(), 0x3FF0000000000005u);
}

TEST_F(CommandsTest, LeavingARealRepaintsItsExponentCellsBeforeTheTypeChanges) {
    struct Case {
        UINT from_size;
        UINT to;
        LPARAM shade;  // lParam of the repaint request, or -1 for none
    };
    const Case cases[] = {
        {IDM_BYTES4, IDM_ANSI, 4},
        {IDM_BYTES8, IDM_OEM, 8},
        {IDM_BYTES4, IDM_SIGNED, 4},
        {IDM_BYTES8, IDM_UNSIGNED, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        Command(IDM_REAL);
        Command(c.from_size);
        PaintAll();
        StartMessageLog();
        Command(c.to);
        const std::vector<SentMessage> log = StopMessageLog();
        const int shade = Find(log, cv::MainWindow, WM_COMMAND, IDM_SHADE);
        if (c.shade < 0) {
            EXPECT_EQ(shade, -1);
        } else {
            ASSERT_GE(shade, 0);
            EXPECT_EQ(log[shade].lParam, c.shade);
            EXPECT_EQ(log[shade].dataType, static_cast<uint32_t>(IDM_REAL));
        }
        // Painted after the change: no grey left.
        PaintAll();
        EXPECT_EQ(CellPixel(25, 1, 1), kWhite);
        Command(IDM_SIGNED);
    }
}

TEST_F(CommandsTest, NoExponentRepaintWhenShadingIsOff) {
    Command(IDM_SHADE);
    StartMessageLog();
    Command(IDM_REAL);
    Command(IDM_ANSI);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Find(log, cv::MainWindow, WM_COMMAND, IDM_SHADE), -1);
}

// ---- Byte counts ----

TEST_F(CommandsTest, ByteCountsShowTheirCellsHeightsAndTexts) {
    struct Case {
        UINT command;
        uint32_t bytes;
        int radio;
        const char* hex;
        int lastVisible;  // highest upper-row cell shown
        bool tall;
    };
    const Case cases[] = {
        {IDM_BYTES1, 1, 0, "88", 7, false},
        {IDM_BYTES2, 2, 1, "7788", 15, false},
        {IDM_BYTES8, 8, 3, "1122334455667788", 31, true},
        {IDM_BYTES4, 4, 2, "55667788", 31, false},
        {IDM_BYTES2, 2, 1, "7788", 15, false},
    };
    Command(IDM_ANSI);
    ShowValue(0x1122334455667788u);
    const int clientBottom = cv::ClientBottom;
    const RECT upperCell = RectInClient(Cell(0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Command(IDM_FOCUSVALUE);
        Command(c.command);
        EXPECT_EQ(cv::ByteCount, c.bytes);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(RadioChecked(j), j == c.radio) << "radio " << j;
        EXPECT_EQ(Text(cv::HexBox), c.hex);
        EXPECT_EQ(Text(cv::ValueBox).size(), c.bytes);
        EXPECT_EQ(cv::Value64(), 0x1122334455667788u) << "a size change never changes the bits";
        // Nibble 0 selected anew: the hex box's last digit, with the focus.
        const int digits = static_cast<int>(2 * c.bytes);
        EXPECT_EQ(Selection(cv::HexBox), std::make_pair(digits - 1, digits));
        EXPECT_EQ(GetFocus(), cv::HexBox);
        EXPECT_EQ(cv::FocusIndex, 2u);
        EXPECT_EQ(cv::LastNibble, 0);
        EXPECT_EQ(RectInClient(cv::NibbleMarker).left, 377);
        for (int bit = 0; bit < 32; ++bit) {
            EXPECT_EQ(IsWindowVisible(Cell(bit)) != FALSE, bit <= c.lastVisible) << "cell " << bit;
        }
        const RECT window = WindowRect(cv::MainWindow);
        EXPECT_EQ(window.right - window.left, cv::WindowWidth);
        EXPECT_EQ(window.bottom - window.top, c.tall ? cv::TallHeight : cv::NormalHeight);
        const bool lowerRowInView = RectInClient(Cell(32)).bottom <= ClientRect(cv::MainWindow).bottom;
        EXPECT_EQ(lowerRowInView, c.tall);
        // The rows never move; only the window's height covers or uncovers the lower one.
        EXPECT_EQ(cv::ClientBottom, clientBottom);
        EXPECT_EQ(RectInClient(Cell(0)).top, upperCell.top);
    }
}

TEST_F(CommandsTest, SizeChangeLeavesTheFocusBitAlone) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    ClickCell(40);
    Command(IDM_BYTES4);
    EXPECT_EQ(cv::FocusBit, 40);
    EXPECT_EQ(cv::BitValue[1], 0x100u);
    EXPECT_EQ(Text(cv::HexBox), "00000000");
    Command(IDM_BYTES8);
    EXPECT_EQ(Text(cv::HexBox), "0000010000000000");
}

TEST_F(CommandsTest, RealFromFourToEightBytesMovesTheShading) {
    Command(IDM_REAL);
    PaintAll();
    Command(IDM_BYTES8);
    const std::vector<int> pending = PendingCells();
    EXPECT_TRUE(Contains(pending, 23, 30));
    EXPECT_TRUE(Contains(pending, 52, 62));
    PaintAll();
    EXPECT_EQ(CellPixel(25, 1, 1), kWhite);
    EXPECT_EQ(CellPixel(55, 1, 1), kLightGrey);
    Command(IDM_BYTES4);
    PaintAll();
    EXPECT_EQ(CellPixel(25, 1, 1), kLightGrey);
}

// ---- Bit operations ----

TEST_F(CommandsTest, PushButtonsRunTheirOperationAndRefreshEveryView) {
    struct Case {
        int button;  // 0 "&<", 1 "&>", 2 "&0's", 3 "&1's", 4 "&Flip"
        UINT mode;
        UINT size;
        uint64_t before;
        uint64_t after;
        const char* hex;
    };
    const Case cases[] = {
        {0, IDM_SHIFT0, IDM_BYTES1, 0x1281, 0x1202, "02"},
        {1, IDM_SHIFT1, IDM_BYTES1, 0x1281, 0x12C0, "C0"},
        {1, IDM_SHIFT0, IDM_BYTES2, 0x8000, 0x4000, "4000"},
        {0, IDM_ROTATE, IDM_BYTES4, 0x80000001, 0x00000003, "00000003"},
        {1, IDM_ROTATE, IDM_BYTES8, 0x0000000180000001, 0x80000000C0000000, "80000000C0000000"},
        {0, IDM_SHIFT1, IDM_BYTES8, 0x8000000080000000, 0x0000000100000001, "0000000100000001"},
        {2, IDM_SHIFT0, IDM_BYTES2, 0xABCD1281, 0xABCD0000, "0000"},
        {3, IDM_SHIFT0, IDM_BYTES4, 0x1122334455667788, 0x11223344FFFFFFFF, "FFFFFFFF"},
        {4, IDM_SHIFT0, IDM_BYTES8, 0x1122334455667788, 0xEEDDCCBBAA998877, "EEDDCCBBAA998877"},
    };
    Command(IDM_ANSI);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.button << " before " << std::hex << c.before);
        Command(c.mode);
        Command(c.size);
        ShowValue(c.before);
        PaintAll();
        ClickButton(c.button);
        EXPECT_EQ(cv::Value64(), c.after);
        EXPECT_EQ(Text(cv::HexBox), c.hex);
        EXPECT_STREQ(cv::LastHexText, c.hex);
        EXPECT_EQ(cv::FocusIndex, static_cast<uint32_t>(4 + c.button));
        EXPECT_EQ(SendMessageA(cv::PushButtons[c.button], BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        std::vector<int> changed;
        for (int bit = 0; bit < 64; ++bit) {
            EXPECT_EQ(CellShowsSet(bit), ((c.after >> bit) & 1) != 0) << "cell " << bit;
            const bool inView = bit < static_cast<int>(8 * cv::ByteCount) && (bit < 32 || cv::ByteCount == 8);
            if (inView && (((c.before ^ c.after) >> bit) & 1) != 0) changed.push_back(bit);
        }
        std::vector<int> pendingInView;
        for (int bit : PendingCells()) {
            if (bit < static_cast<int>(8 * cv::ByteCount)) pendingInView.push_back(bit);
        }
        EXPECT_EQ(pendingInView, changed) << "only the cells that changed are repainted";
    }
}

TEST_F(CommandsTest, ButtonOperationSendsSyncThenBothRenderingsThenReleases) {
    ShowValue(5);
    StartMessageLog();
    ClickButton(4);
    const std::vector<SentMessage> log = StopMessageLog();
    const int sync = Find(log, cv::MainWindow, WM_SYNCBITCELLS, 0);
    const int value = Find(log, cv::MainWindow, WM_RECALCVALUEBOX, 0);
    const int hex = Find(log, cv::MainWindow, WM_RECALCHEXBOX, 0);
    const int release = Find(log, cv::PushButtons[4], BM_SETSTATE, 0);
    ASSERT_GE(sync, 0);
    EXPECT_LT(sync, value);
    EXPECT_LT(value, hex);
    EXPECT_LT(hex, release);
    EXPECT_EQ(Text(cv::ValueBox), "-6");
}

TEST_F(CommandsTest, ButtonAcceleratorsPressTheButtonAndLeaveTheFocusOnIt) {
    const UINT commands[5] = {IDM_KEYSHIFTL, IDM_KEYSHIFTR, IDM_KEYZEROS, IDM_KEYONES, IDM_KEYFLIP};
    const uint64_t results[5] = {0xA, 0x5, 0x0, 0xFFFFFFFF, 0x0};
    ShowValue(5);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        StartMessageLog();
        Command(commands[k]);
        const std::vector<SentMessage> log = StopMessageLog();
        EXPECT_EQ(cv::Value64(), results[k]);
        EXPECT_EQ(GetFocus(), cv::PushButtons[k]);
        EXPECT_EQ(cv::FocusIndex, static_cast<uint32_t>(4 + k));
        EXPECT_FALSE(IsWindowVisible(cv::BitMarker));
        EXPECT_EQ(SendMessageA(cv::PushButtons[k], BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
        const int press = Find(log, cv::PushButtons[k], BM_SETSTATE, 1);
        const int command = Find(log, cv::MainWindow, WM_COMMAND, static_cast<WPARAM>(920 + k));
        ASSERT_GE(press, 0);
        EXPECT_LT(press, command);
        EXPECT_GT(Find(log, cv::PushButtons[k], BM_SETSTATE, 0, command), command);
    }
}

// ---- Focus and keys ----

TEST_F(CommandsTest, FocusAcceleratorsMoveTheFocusAndItsIndex) {
    Command(IDM_FOCUSVALUE);
    EXPECT_EQ(GetFocus(), cv::ValueBox);
    EXPECT_EQ(cv::FocusIndex, 1u);
    EXPECT_FALSE(IsWindowVisible(cv::BitMarker));
    Command(IDM_FOCUSHEX);
    EXPECT_EQ(GetFocus(), cv::HexBox);
    EXPECT_EQ(cv::FocusIndex, 2u);
    Command(IDM_FOCUSBYTES);
    EXPECT_EQ(GetFocus(), cv::RadioButtons[2]);
    EXPECT_EQ(cv::FocusIndex, 3u);
    Command(IDM_FOCUSBITS);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_EQ(cv::FocusIndex, 9u);
    EXPECT_TRUE(IsWindowVisible(cv::BitMarker));
    Command(IDM_BYTES1);
    Command(IDM_FOCUSBYTES);
    EXPECT_EQ(GetFocus(), cv::RadioButtons[0]) << "the checked radio button";
}

TEST_F(CommandsTest, AcceleratorTableReachesTheCommands) {
    PressKey(cv::MainWindow, 'C', true);
    EXPECT_EQ(cv::ColorBits, 0u);
    PressKey(cv::MainWindow, 'L', true);
    EXPECT_EQ(cv::ShiftMode, static_cast<uint32_t>(IDM_ROTATE));
    PressKey(cv::MainWindow, 'E', true);
    EXPECT_EQ(cv::ErrorBoxes, 0u);
    SetFocus(cv::ValueBox);
    PressKey(cv::ValueBox, VK_F8);
    EXPECT_EQ(cv::DataType, static_cast<uint32_t>(IDM_UNSIGNED));
    EXPECT_EQ(Text(cv::ValueBox), "0") << "F8 is not typed into the box";
    PressKey(cv::MainWindow, 'X', false, true);
    EXPECT_EQ(GetFocus(), cv::HexBox);
    PressKey(cv::HexBox, 'V', false, true);
    EXPECT_EQ(GetFocus(), cv::ValueBox);
    PressKey(cv::ValueBox, '1', false, true);
    EXPECT_EQ(cv::Value64(), 0xFFFFFFFFu);
    EXPECT_EQ(GetFocus(), cv::PushButtons[3]);
    PressKey(cv::PushButtons[3], VK_RETURN, false, true);
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_EQ(cv::FocusIndex, 9u);
}

TEST_F(CommandsTest, AltCommaAndPeriodShiftLikeAltLessAndGreater) {
    ShowValue(4);
    HoldModifiers(false, true, false);
    PostMessageA(cv::MainWindow, WM_SYSCHAR, ',', 1 | (1 << 29));
    Pump();
    EXPECT_EQ(cv::Value64(), 8u);
    PostMessageA(cv::MainWindow, WM_SYSCHAR, '.', 1 | (1 << 29));
    Pump();
    PostMessageA(cv::MainWindow, WM_SYSCHAR, '.', 1 | (1 << 29));
    Pump();
    EXPECT_EQ(cv::Value64(), 2u);
    PostMessageA(cv::MainWindow, WM_SYSCHAR, '<', 1 | (1 << 29));
    Pump();
    EXPECT_EQ(cv::Value64(), 4u);
    HoldModifiers(false, false, false);
}

TEST_F(CommandsTest, ClickOnTheWindowItselfBeepsOnceAndChangesNothing) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(alerts_.Beeps(), 1);
    EXPECT_EQ(alerts_.Log(), "beep;");
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_EQ(cv::FocusIndex, 9u);
    EXPECT_TRUE(Dialogs().empty());
}

// ---- Colours of the controls ----

COLORREF BrushColour(LRESULT brush) {
    LOGBRUSH logical{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof logical, &logical);
    return logical.lbColor;
}

TEST_F(CommandsTest, LabelsRadioButtonsAndGroupTakeTheWindowColours) {
    for (HWND control : {cv::ValueLabel, cv::RadioButtons[0], cv::BytesGroup, cv::NibbleMarker}) {
        HDC dc = GetDC(control);
        SetBkColor(dc, RGB(1, 2, 3));
        SetTextColor(dc, RGB(4, 5, 6));
        const UINT message =
            control == cv::ValueLabel || control == cv::NibbleMarker ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN;
        const LRESULT brush = Send(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        EXPECT_NE(brush, 0) << GetDlgCtrlID(control);
        EXPECT_EQ(BrushColour(brush), GetSysColor(COLOR_WINDOW)) << GetDlgCtrlID(control);
        EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW)) << GetDlgCtrlID(control);
        EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT)) << GetDlgCtrlID(control);
        ReleaseDC(control, dc);
    }
    // Push buttons keep the system's button colours, not the window brush.
    HDC dc = GetDC(cv::PushButtons[0]);
    const LRESULT pushBrush =
        Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(cv::PushButtons[0]));
    const LRESULT radioBrush =
        Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(cv::RadioButtons[0]));
    EXPECT_NE(pushBrush, radioBrush);
    ReleaseDC(cv::PushButtons[0], dc);
}

TEST_F(CommandsTest, EveryRenderingSetsTheTextAndFontAgainBehindTheHandshake) {
    StartMessageLog();
    Send(WM_RECALCVALUEBOX);
    Send(WM_RECALCHEXBOX);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Count(log, cv::ValueBox, WM_SETTEXT), 1) << "same text, set again";
    EXPECT_EQ(Count(log, cv::HexBox, WM_SETTEXT), 1);
    const int font =
        Find(log, cv::ValueBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)));
    EXPECT_GE(font, 0);
    EXPECT_LT(font, Find(log, cv::ValueBox, WM_SETTEXT, 0));
    EXPECT_EQ(cv::EditArmed, 1u) << "the echo armed the boxes again";
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(CommandsTest, RadioButtonClickChangesTheSize) {
    SendMessageA(cv::MainWindow, WM_COMMAND, MAKEWPARAM(IDM_BYTES2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cv::RadioButtons[1]));
    EXPECT_EQ(cv::ByteCount, 2u);
    EXPECT_TRUE(RadioChecked(1));
    EXPECT_FALSE(RadioChecked(2));
    EXPECT_EQ(Text(cv::HexBox), "0000");
}

// ---- Help ----

class HelpPathTest : public ShellTest {
protected:
    // Restarts the window with the given current directory.
    void StartIn(const std::string& directory) {
        Close();
        MakeDirectory(directory);
        ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
        char current[MAX_PATH * 2] = "";
        GetCurrentDirectoryA(sizeof current, current);
        current_ = current;
        Start();
    }
    void SetUp() override {
        char saved[MAX_PATH * 2] = "";
        GetCurrentDirectoryA(sizeof saved, saved);
        saved_ = saved;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        base_ = std::string(temp) + "corvane_help_" + std::to_string(GetCurrentProcessId());
        MakeDirectory(base_);
        ShellTest::SetUp();
    }
    void TearDown() override {
        ShellTest::TearDown();
        SetCurrentDirectoryA(saved_.c_str());
        for (auto d = made_.rbegin(); d != made_.rend(); ++d) RemoveDirectoryA(d->c_str());
    }
    void MakeDirectory(const std::string& directory) {
        if (CreateDirectoryA(directory.c_str(), nullptr)) made_.push_back(directory);
    }
    std::string saved_, base_, current_;
    std::vector<std::string> made_;
};

TEST_F(HelpPathTest, HelpFileInTheCurrentDirectoryIsUsed) {
    StartIn(base_ + "\\with_file");
    Close();
    const std::string file = current_ + "\\corvane.hlp";
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);
    Start();
    EXPECT_STREQ(cv::HelpPath, file.c_str());
    DeleteFileA(file.c_str());
}

TEST_F(HelpPathTest, WithoutAHelpFileThePathPointsBesideTheDirectory) {
    StartIn(base_ + "\\without_file");
    EXPECT_EQ(std::string(cv::HelpPath), current_ + "\\..\\help\\corvane.hlp");
}

TEST_F(HelpPathTest, LongCurrentDirectoryIsKeptWhole) {
    std::string directory = base_;
    for (int i = 0; i < 4; ++i) {
        directory += "\\a_rather_long_directory_name_" + std::to_string(i);
        MakeDirectory(directory);
    }
    StartIn(directory);
    ASSERT_GT(current_.size(), 100u);
    EXPECT_EQ(std::string(cv::HelpPath), current_ + "\\..\\help\\corvane.hlp");
}

// ---- Typing in the value box ----

TEST_F(CommandsTest, TypedDigitsBecomeTheBitsAndTheHexText) {
    TypeOver(cv::ValueBox, "123");
    EXPECT_EQ(Text(cv::ValueBox), "123");
    EXPECT_EQ(cv::Value64(), 123u);
    EXPECT_EQ(Text(cv::HexBox), "0000007B");
    EXPECT_STREQ(cv::LastValueText, "123");
    EXPECT_EQ(Selection(cv::ValueBox), std::make_pair(3, 3));
    EXPECT_EQ(cv::FocusIndex, 1u);
    for (int bit = 0; bit < 32; ++bit) EXPECT_EQ(CellShowsSet(bit), ((123u >> bit) & 1) != 0) << bit;
    // A digit typed in the middle keeps the caret after it.
    TypeAt(cv::ValueBox, 1, "4");
    EXPECT_EQ(Text(cv::ValueBox), "1423");
    EXPECT_EQ(Selection(cv::ValueBox), std::make_pair(2, 2));
    EXPECT_EQ(cv::Value64(), 1423u);
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(CommandsTest, AcceptedTextStaysAsTyped) {
    TypeOver(cv::ValueBox, "007");
    EXPECT_EQ(Text(cv::ValueBox), "007");
    EXPECT_EQ(cv::Value64(), 7u);
    // Same bits from a different text: neither the cells nor the hex box hear of it.
    TypeOver(cv::ValueBox, "7");
    StartMessageLog();
    TypeAt(cv::ValueBox, 0, "0");
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Text(cv::ValueBox), "07");
    EXPECT_STREQ(cv::LastValueText, "07");
    EXPECT_EQ(Count(log, cv::MainWindow, WM_SYNCBITCELLS), 0);
    EXPECT_EQ(Count(log, cv::MainWindow, WM_RECALCHEXBOX), 0);
}

TEST_F(CommandsTest, EmptyValueBoxIsZeroAndASignAloneToo) {
    TypeOver(cv::ValueBox, "55");
    ClearBox(cv::ValueBox);
    EXPECT_EQ(Text(cv::ValueBox), "");
    EXPECT_EQ(cv::Value64(), 0u);
    TypeOver(cv::ValueBox, "-");
    EXPECT_EQ(Text(cv::ValueBox), "-");
    EXPECT_EQ(alerts_.Beeps(), 0);
    Command(IDM_REAL);
    TypeOver(cv::ValueBox, "-0");
    EXPECT_EQ(Text(cv::HexBox), "80000000");
    Command(IDM_ANSI);
    TypeOver(cv::ValueBox, "AB");
    ClearBox(cv::ValueBox);
    EXPECT_EQ(cv::Value64(), 0u);
}

struct Rejection {
    UINT type;
    UINT size;
    bool hexBox;
    const char* start;
    int caret;  // -1: end
    const char* typed;
    const char* title;
    int caretAfter;
};

class RejectionTest : public ShellTest, public testing::WithParamInterface<Rejection> {};

TEST_P(RejectionTest, BeepsShowsTheBoxAndPutsTheTextAndCaretBack) {
    const Rejection& r = GetParam();
    Command(r.type);
    Command(r.size);
    HWND box = r.hexBox ? cv::HexBox : cv::ValueBox;
    TypeOver(box, r.start);
    ASSERT_EQ(Text(box), r.start);
    const uint64_t before = cv::Value64();
    alerts_.Clear();
    ClearDialogs();
    TypeAt(box, r.caret, r.typed);
    EXPECT_EQ(Text(box), r.start);
    EXPECT_EQ(Selection(box), std::make_pair(r.caretAfter, r.caretAfter));
    EXPECT_EQ(cv::Value64(), before);
    EXPECT_EQ(alerts_.Beeps(), 1);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].title, r.title);
    const bool range = std::strcmp(r.title, kRangeTitle) == 0;
    EXPECT_EQ(Dialogs()[0].text, range ? kRangeText : kInvalidText);
    EXPECT_EQ(Dialogs()[0].owner, cv::MainWindow);
    EXPECT_EQ(alerts_.Log(),
              "beep;box[" + std::string(r.title) + "|" + (range ? kRangeText : kInvalidText) + "|64];");
    // The next keystroke is handled again: the box is armed.
    EXPECT_EQ(cv::EditArmed, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, RejectionTest,
    testing::Values(Rejection{IDM_SIGNED, IDM_BYTES1, false, "12", -1, "a", kInvalidTitle, 2},
                    Rejection{IDM_SIGNED, IDM_BYTES1, false, "12", 1, "x", kInvalidTitle, 1},
                    Rejection{IDM_SIGNED, IDM_BYTES1, false, "12", -1, "8", kRangeTitle, 2},
                    Rejection{IDM_SIGNED, IDM_BYTES1, false, "13", 1, "e", kRangeTitle, 1},
                    Rejection{IDM_SIGNED, IDM_BYTES1, false, "-5", 0, "-", kInvalidTitle, 0},
                    Rejection{IDM_UNSIGNED, IDM_BYTES1, false, "25", -1, "6", kRangeTitle, 2},
                    Rejection{IDM_UNSIGNED, IDM_BYTES4, false, "1", 0, "-", kInvalidTitle, 0},
                    Rejection{IDM_SIGNED, IDM_BYTES4, false, "214748364", -1, "8", kRangeTitle, 9},
                    Rejection{IDM_REAL, IDM_BYTES4, false, "1", -1, "e", kInvalidTitle, 1},
                    Rejection{IDM_REAL, IDM_BYTES4, false, "1.5", -1, "d", kInvalidTitle, 3},
                    Rejection{IDM_SIGNED, IDM_BYTES4, true, "00000000", 3, "g", kInvalidTitle, 3}));

TEST_F(CommandsTest, RejectedPasteMovesTheCaretBackByWhatWasAdded) {
    Command(IDM_BYTES1);
    TypeOver(cv::ValueBox, "12");
    SetFocus(cv::ValueBox);
    SendMessageA(cv::ValueBox, EM_SETSEL, 2, 2);
    SendMessageA(cv::ValueBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("abc"));
    EXPECT_EQ(Text(cv::ValueBox), "12");
    EXPECT_EQ(Selection(cv::ValueBox), std::make_pair(2, 2));
    // A shorter rejected text keeps the caret where it was.
    TypeOver(cv::ValueBox, "100");
    SendMessageA(cv::ValueBox, EM_SETSEL, 0, -1);
    SendMessageA(cv::ValueBox, WM_CHAR, 'a', 1);
    EXPECT_EQ(Text(cv::ValueBox), "100");
    EXPECT_EQ(Selection(cv::ValueBox), std::make_pair(1, 1));
    EXPECT_EQ(cv::Value64(), 100u);
}

TEST_F(CommandsTest, WithoutErrorBoxesARejectionOnlyBeeps) {
    Command(IDM_ERRORBOXES);
    TypeAt(cv::ValueBox, -1, "z");
    EXPECT_EQ(alerts_.Log(), "beep;");
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Text(cv::ValueBox), "0");
}

TEST_F(CommandsTest, WholeValueTextIsReadEvenPastTwentyThreeCharacters) {
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    double shown = -1.7976931348623157e+308;
    uint64_t bits = 0;
    std::memcpy(&bits, &shown, sizeof bits);
    ShowValue(bits);
    ASSERT_EQ(Text(cv::ValueBox), "-1.7976931348623157e+308");
    // An edit of the 24-character text that keeps its length (as a paste over one character does):
    // read cut to 23 characters it would become -1.79...e+30.
    SetWindowTextA(cv::ValueBox, "-1.7976931348623157e+307");
    const double expected = -1.7976931348623157e+307;
    std::memcpy(&bits, &expected, sizeof bits);
    EXPECT_EQ(cv::Value64(), bits);
    EXPECT_EQ(Text(cv::ValueBox), "-1.7976931348623157e+307");
}

// Regression: a character typed into a value text wider than the box made the edit control delete
// other characters (the sign among them), sometimes without a notification, so the box and the
// value disagreed or the value's sign flipped.
TEST_F(CommandsTest, TypingIntoATextWiderThanTheBoxChangesNothing) {
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    const double shown = -1.7976931348623157e+308;
    uint64_t bits = 0;
    std::memcpy(&bits, &shown, sizeof bits);
    ShowValue(bits);
    for (int caret : {0, 1, 12, -1}) {
        SCOPED_TRACE(caret);
        TypeAt(cv::ValueBox, caret, "5");
        EXPECT_EQ(Text(cv::ValueBox), "-1.7976931348623157e+308");
        EXPECT_STREQ(cv::LastValueText, "-1.7976931348623157e+308");
        EXPECT_EQ(cv::Value64(), bits);
    }
    // Backspace and Delete take exactly one character, and the box and the value agree afterwards.
    struct Deletion {
        bool backspace;
        int caret;
        const char* text;
    };
    const Deletion deletions[] = {
        {true, 24, "-1.7976931348623157e+30"},
        {true, 1, "1.7976931348623157e+308"},
        {true, 12, "-1.797693138623157e+308"},
        {false, 0, "1.7976931348623157e+308"},
        {false, 23, "-1.7976931348623157e+30"},
        {false, 2, "-1.7976931348623157e+308"},  // "-17...e+308": invalid
    };
    for (const Deletion& d : deletions) {
        SCOPED_TRACE(d.text);
        ShowValue(bits);
        if (d.backspace) {
            BackspaceAt(cv::ValueBox, d.caret);
        } else {
            SetFocus(cv::ValueBox);
            SendMessageA(cv::ValueBox, EM_SETSEL, d.caret, d.caret);
            SendMessageA(cv::ValueBox, WM_KEYDOWN, VK_DELETE, 1);
        }
        EXPECT_EQ(Text(cv::ValueBox), d.text);
        EXPECT_STREQ(cv::LastValueText, d.text);
        EXPECT_EQ(Selection(cv::ValueBox).first, d.backspace ? d.caret - 1 : d.caret);
        const double kept = cv::TextToDouble(cv::LastValueText);
        uint64_t keptBits = 0;
        std::memcpy(&keptBits, &kept, sizeof keptBits);
        EXPECT_EQ(cv::Value64(), keptBits);
    }
}

TEST_F(CommandsTest, CharactersBeyondTheSizeAreDropped) {
    Command(IDM_ANSI);
    Command(IDM_BYTES1);
    TypeOver(cv::ValueBox, "A");
    ASSERT_EQ(cv::Value64(), 0x41u);
    TypeAt(cv::ValueBox, -1, "B");
    EXPECT_EQ(Text(cv::ValueBox), "A");
    EXPECT_EQ(cv::Value64(), 0x41u);
    TypeAt(cv::ValueBox, 0, "B");
    EXPECT_EQ(Text(cv::ValueBox), "B");
    EXPECT_EQ(cv::Value64(), 0x42u);
    EXPECT_EQ(Text(cv::HexBox), "42");
    EXPECT_EQ(alerts_.Beeps(), 0);
}

// ---- Typing in the hex box ----

TEST_F(CommandsTest, RejectedHexBeforeAnyHexRenderingPutsTheStartTextBack) {
    TypeAt(cv::HexBox, 0, "x");
    EXPECT_EQ(Text(cv::HexBox), "00000000");
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 0));
    EXPECT_EQ(alerts_.Beeps(), 1);
}

TEST_F(CommandsTest, HexDigitsBeyondTheWidthAreDropped) {
    Command(IDM_BYTES1);
    TypeOver(cv::HexBox, "AB");
    ASSERT_EQ(cv::Value64(), 0xABu);
    EXPECT_EQ(Text(cv::ValueBox), "-85");
    TypeAt(cv::HexBox, -1, "C");
    EXPECT_EQ(Text(cv::HexBox), "AB");
    EXPECT_EQ(cv::Value64(), 0xABu);
    TypeAt(cv::HexBox, 0, "C");
    EXPECT_EQ(Text(cv::HexBox), "CA");
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(1, 1));
    EXPECT_EQ(cv::Value64(), 0xCAu);
    EXPECT_EQ(Text(cv::ValueBox), "-54");
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(CommandsTest, HexLettersArriveAsCapitalsAndShortTextsReadRightAligned) {
    TypeOver(cv::HexBox, "ff");
    EXPECT_EQ(Text(cv::HexBox), "FF");
    EXPECT_EQ(cv::Value64(), 0xFFu);
    EXPECT_EQ(Text(cv::ValueBox), "255");
    for (int bit = 0; bit < 32; ++bit) EXPECT_EQ(CellShowsSet(bit), bit < 8) << bit;
}

TEST_F(CommandsTest, EightByteHexReadsRightAlignedAndDropsTheSeventeenthDigit) {
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    TypeOver(cv::HexBox, "1");
    EXPECT_EQ(cv::Value64(), 1u);
    EXPECT_EQ(Text(cv::HexBox), "1");
    EXPECT_EQ(Text(cv::ValueBox), "+Denormalized Number");
    TypeOver(cv::HexBox, "3FF0000000000000");
    EXPECT_EQ(cv::Value64(), 0x3FF0000000000000u);
    EXPECT_EQ(Text(cv::ValueBox), "1.");
    TypeAt(cv::HexBox, 0, "C");
    EXPECT_EQ(Text(cv::HexBox), "C3FF000000000000");
    EXPECT_EQ(cv::Value64(), 0xC3FF000000000000u);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(1, 1));
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(CommandsTest, EmptyHexBoxClearsEightBytesButNotFour) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    ShowValue(0x4142434445464748u);
    ClearBox(cv::HexBox);
    EXPECT_EQ(Text(cv::HexBox), "");
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_EQ(Text(cv::ValueBox), "        ");
    Command(IDM_BYTES4);
    ShowValue(0x41424344u);
    ClearBox(cv::HexBox);
    EXPECT_EQ(Text(cv::HexBox), "");
    EXPECT_EQ(cv::Value64(), 0x41424344u);
    EXPECT_EQ(alerts_.Beeps(), 0);
}

}  // namespace
}  // namespace cvtest
