// Start-up: the window, its layout from the measured font, and the state it starts in.
#include <cstring>

#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

TEST(WindowState, StartValues) {
    cv::ResetWindowState();
    const uint32_t radio[9] = {2, 0, 1, 2, 2, 2, 2, 2, 3};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(cv::RadioOfSize[i], radio[i]) << i;
    EXPECT_EQ(cv::ColorBits, 1u);
    EXPECT_EQ(cv::ShadeExponent, 1u);
    EXPECT_EQ(cv::LastToggledBit, 0x7FFFFFFF);
    EXPECT_EQ(static_cast<uint32_t>(cv::LastNibble), 0x80000000u);
    EXPECT_EQ(cv::EditArmed, 0u);
    EXPECT_EQ(cv::InfoMode, 0u);
}

TEST(EditBoxes, EchoOfTheProgramsOwnTextIsSwallowedOnce) {
    cv::ResetWindowState();
    EXPECT_TRUE(cv::SwallowEditEcho());
    EXPECT_EQ(cv::EditArmed, 1u);
    EXPECT_FALSE(cv::SwallowEditEcho());
    EXPECT_FALSE(cv::SwallowEditEcho());
    cv::EditArmed = 0;
    EXPECT_TRUE(cv::SwallowEditEcho());
}

struct Box {
    int x, y, width, height;
};

bool operator==(const Box& left, const Box& right) {
    return left.x == right.x && left.y == right.y && left.width == right.width && left.height == right.height;
}

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.x << ", " << box.y << ") " << box.width << " x " << box.height;
}

struct Layout {
    Box valueLabel, valueBox, hexLabel, hexBox, group;
    Box radios[4];
    Box buttons[5];
};

// The layout worked out by hand from the line height h, the average character width a and the
// client width w: a column of boxes and buttons 30a wide, the byte-count group 7a wide, and the
// space left over split into three.
Layout ExpectedLayout(int h, int a, int w) {
    int margin = (w - 37 * a - 26) / 3;
    if (margin < 0) margin = 0;
    const int left = margin + 13;
    Layout layout{};
    layout.valueLabel = {left, h + h / 4, 6 * a, h};
    layout.valueBox = {left + 6 * a, h, 24 * a, 3 * h / 2};
    layout.hexLabel = {left, 3 * h + h / 4, 4 * a, h};
    layout.hexBox = {left + 6 * a, 3 * h, 24 * a, 3 * h / 2};
    layout.group = {w - 7 * a - margin - 13, h / 2, 7 * a, 13 * h / 2};
    for (int j = 0; j < 4; ++j) layout.radios[j] = {w - 5 * a - margin - 13, (j + 2) * h, 4 * a, h};
    for (int k = 0; k < 5; ++k) layout.buttons[k] = {left + 6 * a * k, 11 * h / 2, 6 * a, 3 * h / 2};
    return layout;
}

Box BoxOf(HWND window) {
    const RECT rect = ShellTest::RectInClient(window);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST(LayoutMarginTest, SplitsTheSpareWidthIntoThreeAndNeverGoesNegative) {
    struct Case {
        int width, charWidth, margin;
    };
    const Case cases[] = {
        {439, 8, 39},  // the worked example: (439 - 296 - 26) / 3
        {441, 8, 39},  // truncates
        {442, 8, 40},  //
        {322, 8, 0},   // exactly 37a + 26
        {321, 8, 0},   // -1 / 3 truncates to 0
        {300, 8, 0},   // narrower than the controls: 0, not -7
        {0, 8, 0},     //
        {439, 7, 51},  // (439 - 259 - 26) / 3
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cv::LayoutMargin(c.width, c.charWidth), c.margin) << c.width << ", " << c.charWidth;
    }
}

TEST(LayoutMarginTest, HandWorkedLayoutMatchesTheExampleFigures) {
    const Layout layout = ExpectedLayout(16, 8, 439);
    EXPECT_EQ(layout.valueBox, (Box{100, 16, 192, 24}));
    EXPECT_EQ(layout.hexBox, (Box{100, 48, 192, 24}));
    EXPECT_EQ(layout.valueLabel, (Box{52, 20, 48, 16}));
    EXPECT_EQ(layout.hexLabel, (Box{52, 52, 32, 16}));
    EXPECT_EQ(layout.group, (Box{331, 8, 56, 104}));
    const int radioY[4] = {32, 48, 64, 80};
    for (int j = 0; j < 4; ++j) EXPECT_EQ(layout.radios[j], (Box{347, radioY[j], 32, 16}));
    const int buttonX[5] = {52, 100, 148, 196, 244};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(layout.buttons[k], (Box{buttonX[k], 88, 48, 24}));
    // Too narrow a client area: the boxes start at 6a + 13 and the group ends 13 from the right.
    const Layout narrow = ExpectedLayout(16, 8, 300);
    EXPECT_EQ(narrow.valueBox.x, 6 * 8 + 13);
    EXPECT_EQ(narrow.group.x + narrow.group.width, 300 - 13);
}

using StartupTest = ShellTest;

TEST_F(StartupTest, WindowHasItsFixedWidthAndTheHeightOfSevenLines) {
    int h = 0;
    int a = 0;
    MeasureFont(&h, &a);
    const int normal = 7 * h + 66 + GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(cv::WindowWidth, 445);
    EXPECT_EQ(cv::NormalHeight, normal);
    EXPECT_EQ(cv::TallHeight, normal + 40);
    const RECT window = WindowRect(cv::MainWindow);
    EXPECT_EQ(window.left, 20);
    EXPECT_EQ(window.top, 20);
    EXPECT_EQ(window.right - window.left, 445);
    EXPECT_EQ(window.bottom - window.top, normal);
    EXPECT_EQ(ClientRect(cv::MainWindow).bottom, cv::ClientBottom);

    const LONG style = GetWindowLongA(cv::MainWindow, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0);
    EXPECT_EQ(ClassOf(cv::MainWindow), "Corvane");
    EXPECT_NE(GetMenu(cv::MainWindow), nullptr);
}

TEST_F(StartupTest, ControlsStandWhereTheMeasuredFontPutsThem) {
    int h = 0;
    int a = 0;
    MeasureFont(&h, &a);
    const int w = ClientRect(cv::MainWindow).right;
    const Layout layout = ExpectedLayout(h, a, w);
    EXPECT_EQ(BoxOf(cv::ValueLabel), layout.valueLabel);
    EXPECT_EQ(BoxOf(cv::ValueBox), layout.valueBox);
    EXPECT_EQ(BoxOf(cv::HexLabel), layout.hexLabel);
    EXPECT_EQ(BoxOf(cv::HexBox), layout.hexBox);
    EXPECT_EQ(BoxOf(cv::BytesGroup), layout.group);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(BoxOf(cv::RadioButtons[j]), layout.radios[j]) << "radio " << j;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(BoxOf(cv::PushButtons[k]), layout.buttons[k]) << "button " << k;
}

TEST_F(StartupTest, CellsStandInTwoRowsAndKnowTheirBits) {
    const int b = cv::ClientBottom;
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(BoxOf(Cell(i)), (Box{416 - 13 * i, b - 33, 14, 20})) << "bit " << i;
        EXPECT_EQ(BoxOf(Cell(32 + i)), (Box{416 - 13 * i, b + 7, 14, 20})) << "bit " << 32 + i;
        EXPECT_EQ(CellWord(i), static_cast<uint32_t>(i));
        EXPECT_EQ(CellWord(32 + i), static_cast<uint32_t>(32 + i));
        // Both cells of a column share the id of the column.
        EXPECT_EQ(GetDlgCtrlID(Cell(i)), i);
        EXPECT_EQ(GetDlgCtrlID(Cell(32 + i)), i);
        EXPECT_TRUE(IsWindowVisible(Cell(i)));
    }
    // The lower row exists but lies below the client area at NormalHeight.
    EXPECT_GE(RectInClient(Cell(32)).top, ClientRect(cv::MainWindow).bottom);

    WNDCLASSA cellClass{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CV_Child", &cellClass));
    EXPECT_EQ(cellClass.style & CS_DBLCLKS, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(cellClass.cbWndExtra, 4);
    EXPECT_EQ(ClassOf(Cell(0)), "CV_Child");
}

TEST_F(StartupTest, ControlsHaveTheirIdsTextsAndStyles) {
    struct Control {
        HWND window;
        int id;
        const char* className;
        const char* text;
    };
    const Control controls[] = {
        {cv::ValueLabel, 900, "Static", "&Value:"},  {cv::ValueBox, 901, "Edit", "0"},
        {cv::HexLabel, 902, "Static", "He&x:"},      {cv::HexBox, 903, "Edit", "00000000"},
        {cv::BytesGroup, 910, "Button", "&Bytes"},   {cv::RadioButtons[0], 911, "Button", "1"},
        {cv::RadioButtons[1], 912, "Button", "2"},   {cv::RadioButtons[2], 913, "Button", "4"},
        {cv::RadioButtons[3], 914, "Button", "8"},   {cv::PushButtons[0], 920, "Button", "&<"},
        {cv::PushButtons[1], 921, "Button", "&>"},   {cv::PushButtons[2], 922, "Button", "&0's"},
        {cv::PushButtons[3], 923, "Button", "&1's"}, {cv::PushButtons[4], 924, "Button", "&Flip"},
        {cv::NibbleMarker, 925, "Static", ""},       {cv::BitMarker, 926, "Static", ""},
    };
    for (const Control& c : controls) {
        ASSERT_NE(c.window, nullptr) << c.id;
        EXPECT_EQ(GetDlgCtrlID(c.window), c.id);
        EXPECT_EQ(GetParent(c.window), cv::MainWindow) << c.id;
        EXPECT_EQ(_stricmp(ClassOf(c.window).c_str(), c.className), 0) << c.id << " " << ClassOf(c.window);
        EXPECT_EQ(Text(c.window), c.text) << c.id;
        // The focus cycle is the program's own: no tab stops, no groups. (The system itself gives a
        // radio button WS_TABSTOP while it is checked.)
        const bool radio = c.id >= IDM_BYTES1 && c.id <= IDM_BYTES8;
        const LONG stops = radio ? WS_GROUP : WS_TABSTOP | WS_GROUP;
        EXPECT_EQ(GetWindowLongA(c.window, GWL_STYLE) & stops, 0) << c.id;
    }
    const LONG hexStyle = GetWindowLongA(cv::HexBox, GWL_STYLE);
    EXPECT_EQ(hexStyle & (ES_UPPERCASE | ES_NOHIDESEL), ES_UPPERCASE | ES_NOHIDESEL);
    EXPECT_EQ(hexStyle & ES_AUTOHSCROLL, 0);
    EXPECT_EQ(GetWindowLongA(cv::ValueBox, GWL_STYLE) & (ES_AUTOHSCROLL | ES_UPPERCASE), 0);
    for (HWND radio : cv::RadioButtons) EXPECT_EQ(GetWindowLongA(radio, GWL_STYLE) & 0xF, BS_RADIOBUTTON);
    for (HWND button : cv::PushButtons) EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(cv::BytesGroup, GWL_STYLE) & 0xF, BS_GROUPBOX);
    for (HWND marker : {cv::NibbleMarker, cv::BitMarker}) {
        EXPECT_EQ(GetWindowLongA(marker, GWL_STYLE) & SS_TYPEMASK, SS_BLACKFRAME);
    }
    EXPECT_EQ(BoxOf(cv::NibbleMarker).width, 52);
    EXPECT_EQ(BoxOf(cv::NibbleMarker).height, 1);
    EXPECT_EQ(BoxOf(cv::BitMarker).width, 13);
    EXPECT_EQ(BoxOf(cv::BitMarker).height, 1);

    // Only the two edit boxes use the fixed system font.
    const auto fixedFont = reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT));
    EXPECT_EQ(static_cast<WPARAM>(SendMessageA(cv::ValueBox, WM_GETFONT, 0, 0)), fixedFont);
    EXPECT_EQ(static_cast<WPARAM>(SendMessageA(cv::HexBox, WM_GETFONT, 0, 0)), fixedFont);
    EXPECT_NE(static_cast<WPARAM>(SendMessageA(cv::ValueLabel, WM_GETFONT, 0, 0)), fixedFont);
    EXPECT_NE(static_cast<WPARAM>(SendMessageA(cv::PushButtons[0], WM_GETFONT, 0, 0)), fixedFont);
}

TEST_F(StartupTest, ClassesAndSubclassesAreInPlace) {
    WNDCLASSA mainClass{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "Corvane", &mainClass));
    EXPECT_EQ(mainClass.style, 0u);
    EXPECT_EQ(mainClass.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_EQ(mainClass.hCursor, LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_NE(mainClass.hIcon, nullptr) << "BASEICON";
    WNDCLASSA cellClass{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "CV_Child", &cellClass));
    EXPECT_EQ(cellClass.hIcon, nullptr);
    EXPECT_EQ(cellClass.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_STREQ(cv::MainClassName, "Corvane");
    EXPECT_STREQ(cv::CellClassName, "CV_Child");

    // The controls of the focus cycle run through the program's procedures, which forward to the
    // saved standard ones.
    const auto procOf = [](HWND window) { return GetWindowLongPtrA(window, GWLP_WNDPROC); };
    EXPECT_EQ(procOf(cv::ValueBox), reinterpret_cast<LONG_PTR>(cv::EditProc));
    EXPECT_EQ(procOf(cv::HexBox), reinterpret_cast<LONG_PTR>(cv::EditProc));
    for (HWND radio : cv::RadioButtons) EXPECT_EQ(procOf(radio), reinterpret_cast<LONG_PTR>(cv::RBtnProc));
    for (HWND button : cv::PushButtons) EXPECT_EQ(procOf(button), reinterpret_cast<LONG_PTR>(cv::PBtnProc));
    EXPECT_NE(procOf(cv::ValueLabel), reinterpret_cast<LONG_PTR>(cv::EditProc));
    for (WNDPROC saved : {cv::SavedEditProc, cv::SavedRadioProc, cv::SavedPushProc}) {
        EXPECT_NE(saved, nullptr);
        EXPECT_NE(saved, cv::EditProc);
        EXPECT_NE(saved, cv::RBtnProc);
        EXPECT_NE(saved, cv::PBtnProc);
    }
}

TEST_F(StartupTest, StartsAsAFourByteSignedZeroWithTheFocusOnTheCells) {
    EXPECT_EQ(Text(cv::MainWindow), "Corvane - Signed Integer");
    EXPECT_EQ(cv::DataType, static_cast<uint32_t>(IDM_SIGNED));
    EXPECT_EQ(cv::ByteCount, 4u);
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_EQ(Text(cv::ValueBox), "0");
    EXPECT_EQ(Text(cv::HexBox), "00000000");
    EXPECT_STREQ(cv::LastValueText, "0");
    EXPECT_STREQ(cv::LastHexText, "00000000");
    // The echo of the last rendering has armed the boxes for the user's typing.
    EXPECT_EQ(cv::EditArmed, 1u);

    // Radio buttons: "4" checked; "8" disabled for an integer type.
    const bool checked[4] = {false, false, true, false};
    const bool enabled[4] = {true, true, true, false};
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(RadioChecked(j), checked[j]) << "radio " << j;
        EXPECT_EQ(IsWindowEnabled(cv::RadioButtons[j]) != FALSE, enabled[j]) << "radio " << j;
    }
    for (HWND button : cv::PushButtons) EXPECT_TRUE(IsWindowEnabled(button));

    // Menu check marks as the resource has them.
    for (UINT id : {IDM_COLOR, IDM_SHADE, IDM_SHIFT0, IDM_ERRORBOXES, IDM_SIGNED}) {
        EXPECT_TRUE(MenuChecked(id)) << id;
    }
    for (UINT id : {IDM_SHIFT1, IDM_ROTATE, IDM_REPORT, IDM_EXIT, IDM_ANSI, IDM_OEM, IDM_UNSIGNED, IDM_REAL,
                    IDM_HELPCONTENTS, IDM_HELPSEARCH, IDM_HELPONHELP, IDM_ABOUT}) {
        EXPECT_FALSE(MenuChecked(id)) << id;
    }

    // Focus on the cells, the hex box's last digit selected, both markers shown.
    EXPECT_EQ(GetFocus(), cv::MainWindow);
    EXPECT_EQ(cv::FocusIndex, 9u);
    EXPECT_EQ(cv::FocusBit, 0);
    EXPECT_EQ(Selection(cv::HexBox), std::make_pair(7, 8));
    EXPECT_EQ(cv::LastNibble, cv::kNibbleAtStart) << "start-up selects nibble 0 without a cell's guard";
    EXPECT_EQ(cv::LastToggledBit, cv::kNoBit);
    EXPECT_EQ(cv::ShiftMode, 0u);
    EXPECT_EQ(cv::InfoMode, 0u);
    const int b = cv::ClientBottom;
    EXPECT_TRUE(IsWindowVisible(cv::NibbleMarker));
    EXPECT_TRUE(IsWindowVisible(cv::BitMarker));
    EXPECT_EQ(BoxOf(cv::NibbleMarker), (Box{377, b - 37, 52, 1}));
    EXPECT_EQ(BoxOf(cv::BitMarker), (Box{417, b - 9, 13, 1}));
    for (int bit = 0; bit < 64; ++bit) EXPECT_FALSE(CellShowsSet(bit)) << bit;
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(StartupTest, MessageLoopEndsWithExitCodeZeroWhenTheWindowCloses) {
    PostMessageA(cv::MainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(cv::RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(cv::MainWindow));
}

TEST_F(StartupTest, AcceleratorsWorkWhileAnEditBoxHasTheFocus) {
    // F9 typed in the value box selects the real type; F12 in the hex box exits, through the loop.
    SetFocus(cv::ValueBox);
    PostMessageA(cv::ValueBox, WM_KEYDOWN, VK_F9, 1);
    SetFocus(cv::HexBox);
    PostMessageA(cv::HexBox, WM_KEYDOWN, VK_F12, 1);
    EXPECT_EQ(cv::RunMessageLoop(), 0);
    EXPECT_EQ(cv::DataType, static_cast<uint32_t>(IDM_REAL));
    EXPECT_FALSE(IsWindow(cv::MainWindow));
}

TEST_F(StartupTest, StartingAgainInTheSameProcessGivesTheSameStart) {
    ClickCell(3);
    Command(IDM_REAL);
    ASSERT_EQ(Close(), 0);
    Start();
    EXPECT_EQ(cv::Value64(), 0u);
    EXPECT_EQ(Text(cv::MainWindow), "Corvane - Signed Integer");
    EXPECT_EQ(Text(cv::ValueBox), "0");
    EXPECT_FALSE(CellShowsSet(3));
}

}  // namespace
}  // namespace cvtest
