// Bit cells and markers: painting, toggling by click and drag, nibble selection, synchronising.
#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

using BitCellTest = ShellTest;

// Pixels of the mark inside a 14 x 20 cell: the stroke of a set bit is the column x = 7 from y = 2
// to 17 (LineTo to y = 18 leaves out its end point); the oval of a clear bit lies in (2, 2)-(12, 18).
constexpr int kStrokeX = 7;
constexpr int kStrokeTop = 2;
constexpr int kStrokeBottom = 17;

struct Mark {
    COLORREF fill;
    COLORREF pen;
};

// Checks the frame, the fill and the mark of a painted cell.
void ExpectCell(int bit, bool set, Mark expected) {
    SCOPED_TRACE("cell of bit " + std::to_string(bit));
    EXPECT_EQ(ShellTest::CellPixel(bit, 0, 10), kBlack) << "frame";
    EXPECT_EQ(ShellTest::CellPixel(bit, 5, 0), kBlack) << "frame";
    EXPECT_EQ(ShellTest::CellPixel(bit, 5, 19), kBlack) << "frame";
    EXPECT_EQ(ShellTest::CellPixel(bit, 1, 1), expected.fill) << "fill";
    EXPECT_EQ(ShellTest::CellPixel(bit, 12, 18), expected.fill) << "fill";
    if (set) {
        for (int y = kStrokeTop; y <= kStrokeBottom; ++y) {
            EXPECT_EQ(ShellTest::CellPixel(bit, kStrokeX, y), expected.pen) << "stroke at y " << y;
        }
        EXPECT_EQ(ShellTest::CellPixel(bit, kStrokeX, kStrokeBottom + 1), expected.fill)
            << "stroke's end point";
        EXPECT_EQ(ShellTest::CellPixel(bit, kStrokeX, 1), expected.fill);
        EXPECT_EQ(ShellTest::CellPixel(bit, 6, 10), expected.fill);
        EXPECT_EQ(ShellTest::CellPixel(bit, 8, 10), expected.fill);
    } else {
        // The oval: its outline in the pen's colour, its inside and the stroke's column filled.
        EXPECT_GE(ShellTest::CountCellPixels(bit, expected.pen) - (expected.pen == kBlack ? 64 : 0), 20)
            << "oval outline";
        EXPECT_EQ(ShellTest::CellPixel(bit, 2, 10), expected.pen) << "left end of the oval";
        EXPECT_EQ(ShellTest::CellPixel(bit, 7, 10), expected.fill) << "inside the oval";
    }
    if (expected.pen != kGreen) {
        EXPECT_EQ(ShellTest::CountCellPixels(bit, kGreen), 0);
    }
    if (expected.pen != kRed) {
        EXPECT_EQ(ShellTest::CountCellPixels(bit, kRed), 0);
    }
}

TEST_F(BitCellTest, PaintsSetBitsGreenAndClearBitsRed) {
    ClickCell(1);
    PaintAll();
    ExpectCell(1, true, {kWhite, kGreen});
    ExpectCell(0, false, {kWhite, kRed});
    ExpectCell(31, false, {kWhite, kRed});
}

TEST_F(BitCellTest, WithoutColourEveryMarkIsBlack) {
    ClickCell(2);
    Command(IDM_COLOR);
    PaintAll();
    ExpectCell(2, true, {kWhite, kBlack});
    ExpectCell(3, false, {kWhite, kBlack});
}

TEST_F(BitCellTest, ExponentCellsOfASingleRealAreGreyWithBlackMarks) {
    Command(IDM_REAL);
    ClickCell(30);  // 0x40000000: 2.0, exponent bit set
    PaintAll();
    ExpectCell(30, true, {kLightGrey, kBlack});
    for (int bit : {23, 27}) ExpectCell(bit, false, {kLightGrey, kBlack});
    // Sign and mantissa keep their colours.
    ExpectCell(31, false, {kWhite, kRed});
    ExpectCell(22, false, {kWhite, kRed});
}

TEST_F(BitCellTest, ExponentCellsOfADoubleRealAreGreyInTheLowerRow) {
    Command(IDM_REAL);
    Command(IDM_BYTES8);
    PaintAll();
    for (int bit : {52, 62}) ExpectCell(bit, false, {kLightGrey, kBlack});
    for (int bit : {23, 30, 51, 63}) ExpectCell(bit, false, {kWhite, kRed});
}

TEST_F(BitCellTest, NoShadingWithAnotherTypeOrWithShadingOff) {
    Command(IDM_REAL);
    Command(IDM_SHADE);  // off
    PaintAll();
    ExpectCell(25, false, {kWhite, kRed});
    Command(IDM_SHADE);  // on again
    Command(IDM_UNSIGNED);
    PaintAll();
    ExpectCell(25, false, {kWhite, kRed});
}

TEST_F(BitCellTest, ClickTogglesTheBitAndRendersBothBoxes) {
    // The very first click after start-up toggles bit 0.
    ClickCell(0);
    EXPECT_EQ(cv::Value64(), 1u);
    EXPECT_TRUE(CellShowsSet(0));
    EXPECT_EQ(CellWord(0), 0x80000000u);
    EXPECT_EQ(Text(cv::ValueBox), "1");
    EXPECT_EQ(Text(cv::HexBox), "00000001");
    ClickCell(31);
    EXPECT_EQ(cv::Value64(), 0x80000001u);
    EXPECT_EQ(Text(cv::ValueBox), "-2147483647");
    EXPECT_EQ(Text(cv::HexBox), "80000001");
    EXPECT_EQ(cv::FocusBit, 31);
    ClickCell(31);
    EXPECT_EQ(cv::Value64(), 1u);
    EXPECT_EQ(CellWord(31), 31u);
    EXPECT_EQ(cv::LastToggledBit, cv::kNoBit) << "the release clears the guard";
}

TEST_F(BitCellTest, ClickMovesTheBitFocusAndRepaintsOnlyItsCell) {
    Command(IDM_FOCUSVALUE);
    PaintAll();
    ClickCell(5);
    EXPECT_EQ(PendingCells(), std::vector<int>{5});
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_EQ(cv::FocusIndex, 9u);
    EXPECT_EQ(cv::FocusBit, 5);
    EXPECT_TRUE(IsWindowVisible(cv::BitMarker));
    EXPECT_EQ(RectInClient(cv::BitMarker).left, 417 - 13 * 5);
    EXPECT_EQ(RectInClient(cv::BitMarker).top, cv::ClientBottom - 9);
}

TEST_F(BitCellTest, LowerRowCellsToggleTheHighHalf) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    ClickCell(32);
    ClickCell(63);
    EXPECT_EQ(cv::BitValue[1], 0x80000001u);
    EXPECT_EQ(cv::BitValue[0], 0u);
    EXPECT_EQ(Text(cv::HexBox), "8000000100000000");
    EXPECT_EQ(RectInClient(cv::BitMarker).left, 833 - 13 * 63);
    EXPECT_EQ(RectInClient(cv::BitMarker).top, cv::ClientBottom + 3);
}

TEST_F(BitCellTest, DraggingTogglesEachCellPassedOnce) {
    PressCell(3);
    for (int bit = 4; bit <= 7; ++bit) MoveOverCell(bit, MK_LBUTTON);
    EXPECT_EQ(cv::Value64(), 0xF8u);
    MoveOverCell(7, MK_LBUTTON);  // moving within a cell toggles nothing more
    EXPECT_EQ(cv::Value64(), 0xF8u);
    MoveOverCell(6, MK_LBUTTON);  // back onto a cell already passed: the guard remembers only the last
    EXPECT_EQ(cv::Value64(), 0xB8u);
    MoveOverCell(5, 0);  // a move without a button toggles nothing
    EXPECT_EQ(cv::Value64(), 0xB8u);
    ReleaseCell(5);
    EXPECT_EQ(Text(cv::HexBox), "000000B8");
    for (int bit = 0; bit < 32; ++bit) EXPECT_EQ(CellShowsSet(bit), ((0xB8u >> bit) & 1) != 0) << bit;
}

TEST_F(BitCellTest, ToggleMovesTheFocusThenFlipsTheBitThenRendersBothBoxes) {
    StartMessageLog();
    ClickCell(3);
    std::vector<SentMessage> toMain;
    for (const SentMessage& m : StopMessageLog()) {
        if (m.window == cv::MainWindow && m.message >= WM_SELECTNIBBLE && m.message <= WM_RECALCHEXBOX) {
            toMain.push_back(m);
        }
    }
    ASSERT_EQ(toMain.size(), 3u) << "no WM_SYNCBITCELLS: the cell has updated itself";
    EXPECT_EQ(toMain[0].message, static_cast<UINT>(WM_SHOWBITFOCUS));
    EXPECT_EQ(toMain[0].value, 0u) << "the bit flips after the focus moved";
    EXPECT_EQ(toMain[1].message, static_cast<UINT>(WM_RECALCVALUEBOX));
    EXPECT_EQ(toMain[1].value, 8u);
    EXPECT_EQ(toMain[2].message, static_cast<UINT>(WM_RECALCHEXBOX));
}

TEST_F(BitCellTest, DoubleClickTogglesTwice) {
    StartMessageLog();
    DoubleClickCell(4);
    int renderings = 0;
    for (const SentMessage& m : StopMessageLog()) {
        renderings += m.window == cv::MainWindow && m.message == WM_RECALCVALUEBOX ? 1 : 0;
    }
    EXPECT_EQ(renderings, 2);
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_FALSE(CellShowsSet(4));
    EXPECT_EQ(Text(cv::ValueBox), "0");
}

TEST_F(BitCellTest, GuardKeepsProgramPressesButARealPressClearsIt) {
    PressCell(2);  // released outside every cell: the guard stays on bit 2
    EXPECT_EQ(cv::Value64(), 4u);
    EXPECT_EQ(cv::LastToggledBit, 2);
    // A press the program sends itself (drag move, space bar) respects the guard.
    SendMessageA(Cell(2), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(cv::Value64(), 4u);
    // The user's own press on the same cell is never lost.
    PressCell(2);
    EXPECT_EQ(cv::Value64(), 0u);
    ReleaseCell(2);
    ClickCell(2);
    EXPECT_EQ(cv::Value64(), 4u);
}

TEST_F(BitCellTest, RightPressSelectsTheHexDigitOfItsFourCells) {
    for (int bit = 4; bit <= 7; ++bit) {
        Command(IDM_FOCUSBITS);
        RightPressCell(bit);
        EXPECT_EQ(Selection(cv::HexBox), std::make_pair(6, 7)) << bit;
        EXPECT_EQ(GetFocus(), cv::HexBox);
        EXPECT_EQ(cv::FocusIndex, 2u);
        EXPECT_EQ(cv::LastNibble, 1);
        EXPECT_FALSE(IsWindowVisible(cv::BitMarker));
        EXPECT_EQ(RectInClient(cv::NibbleMarker).left, 325);
        EXPECT_EQ(RectInClient(cv::NibbleMarker).top, cv::ClientBottom - 37);
        RightReleaseCell(bit);
        EXPECT_EQ(cv::LastNibble, cv::kNoNibble);
    }
    // The next left click brings the bit marker back.
    ClickCell(9);
    EXPECT_TRUE(IsWindowVisible(cv::BitMarker));
}

TEST_F(BitCellTest, RightDragSelectsEachNewDigitOnce) {
    RightPressCell(0);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(7, 8));
    // Moving within the same digit selects nothing anew: a changed selection stays.
    SendMessageA(cv::HexBox, EM_SETSEL, 0, 0);
    MoveOverCell(1, MK_RBUTTON);
    MoveOverCell(3, MK_RBUTTON);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 0));
    MoveOverCell(4, MK_RBUTTON);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(6, 7));
    MoveOverCell(13, MK_RBUTTON);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(4, 5));
    EXPECT_EQ(cv::Value64(), 0u) << "the right button toggles nothing";
    // With the guard held, a press on a digit already selected does nothing.
    SendMessageA(cv::HexBox, EM_SETSEL, 0, 0);
    RightPressCell(12);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 0));
    RightReleaseCell(12);
    RightPressCell(12);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(4, 5));
}

TEST_F(BitCellTest, NibbleMarkerStandsOverItsFourCells) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    const int b = cv::ClientBottom;
    struct Case {
        int nibble, x, y;
        std::pair<int, int> selection;
    };
    const Case cases[] = {
        {0, 377, b - 37, {15, 16}}, {1, 325, b - 37, {14, 15}}, {7, 13, b - 37, {8, 9}},
        {8, 377, b + 31, {7, 8}},   {15, 13, b + 31, {0, 1}},
    };
    for (const Case& c : cases) {
        Send(WM_SELECTNIBBLE, c.nibble);
        EXPECT_EQ(RectInClient(cv::NibbleMarker).left, c.x) << c.nibble;
        EXPECT_EQ(RectInClient(cv::NibbleMarker).top, c.y) << c.nibble;
        EXPECT_EQ(Selection(cv::HexBox), c.selection) << c.nibble;
        // The marker spans the cells of bits 4n to 4n + 3.
        EXPECT_EQ(RectInClient(cv::NibbleMarker).left, RectInClient(Cell(4 * c.nibble + 3)).left);
        EXPECT_TRUE(IsWindowVisible(cv::NibbleMarker));
    }
}

TEST_F(BitCellTest, BitMarkerStandsBetweenTheRows) {
    const int b = cv::ClientBottom;
    struct Case {
        int bit, x, y;
    };
    const Case cases[] = {
        {0, 417, b - 9}, {1, 404, b - 9}, {31, 14, b - 9}, {32, 417, b + 3}, {63, 14, b + 3}};
    for (const Case& c : cases) {
        cv::FocusBit = c.bit;
        Command(IDM_FOCUSVALUE);
        Send(WM_SHOWBITFOCUS);
        EXPECT_EQ(RectInClient(cv::BitMarker).left, c.x) << c.bit;
        EXPECT_EQ(RectInClient(cv::BitMarker).top, c.y) << c.bit;
        EXPECT_TRUE(IsWindowVisible(cv::BitMarker));
        EXPECT_EQ(GetFocus(), cv::MainWindow);
        EXPECT_EQ(cv::FocusIndex, 9u);
    }
}

TEST_F(BitCellTest, DigitBeyondTheHexTextPutsTheCaretAtTheStart) {
    Command(IDM_BYTES2);
    Send(WM_SELECTNIBBLE, 3);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 1));
    Send(WM_SELECTNIBBLE, 0);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(3, 4));
    Send(WM_SELECTNIBBLE, 5);  // only four digits
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(0, 0));
    EXPECT_EQ(RectInClient(cv::NibbleMarker).left, 377 - 52 * 5);
    EXPECT_EQ(cv::FocusIndex, 2u);
}

TEST_F(BitCellTest, SyncRepaintsOnlyTheCellsThatDiffer) {
    PaintAll();
    cv::BitValue[0] = 0x0000F00Fu;
    cv::BitValue[1] = 0x00000001u;
    Send(WM_SYNCBITCELLS);
    std::vector<int> expected = Range(0, 3);
    for (int bit = 12; bit <= 15; ++bit) expected.push_back(bit);
    std::vector<int> upper;
    for (int bit : PendingCells()) {
        if (bit < 32) upper.push_back(bit);
    }
    EXPECT_EQ(upper, expected);
    // All 64 cells follow, the unseen high half too.
    for (int bit = 0; bit < 64; ++bit) {
        const bool set = ((cv::Value64() >> bit) & 1) != 0;
        EXPECT_EQ(CellWord(bit), static_cast<uint32_t>(bit) | (set ? 0x80000000u : 0u)) << bit;
    }
    PaintAll();
    ExpectCell(12, true, {kWhite, kGreen});
    // Nothing differs any more: nothing to repaint.
    Send(WM_SYNCBITCELLS);
    EXPECT_TRUE(PendingCells().empty());
    // Clearing bits repaints those cells only.
    cv::BitValue[0] = 0x0000F000u;
    Send(WM_SYNCBITCELLS);
    EXPECT_EQ(PendingCells(), Range(0, 3));
    EXPECT_EQ(CellWord(0), 0u);
}

TEST_F(BitCellTest, RightDoubleClickAsksForTheBitInformation) {
    ClickCell(6);
    StartMessageLog();
    RightDoubleClickCell(6);
    const std::vector<SentMessage> log = StopMessageLog();
    bool sent = false;
    for (const SentMessage& m : log) {
        if (m.window == cv::MainWindow && m.message == WM_BITINFO) {
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(0x80000006u)) << "the whole cell word";
            sent = true;
        }
    }
    EXPECT_TRUE(sent);
    // The first press of the double-click has already selected the digit.
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(6, 7));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].title, "Bit Information");
    EXPECT_EQ(Dialogs()[0].owner, cv::MainWindow);
}

}  // namespace
}  // namespace cvtest
