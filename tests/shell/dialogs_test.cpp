// The information dialog (report and bit information) and the About box: captions, texts and fonts
// as they stand when the dialog is activated, and which keys and commands close it.
#include <string>
#include <vector>

#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

using DialogsTest = ShellTest;

HFONT StockFont(int font) {
    return reinterpret_cast<HFONT>(GetStockObject(font));
}

// ---- A visit to an open dialog, made from a thread timer that its modal loop dispatches ----

struct ChildInfo {
    std::string className;
    std::string text;
    int id;
    LONG style;
};

struct DialogVisit {
    bool seen = false;
    std::vector<ChildInfo> children;
    int focusId = 0;
    bool openAfterCancel = false;  // the harness answered IDCANCEL at activation
    bool openAfterEscape = false;
    bool openAfterCloseBox = false;
    bool closedByEnter = false;
};

DialogVisit visit;
HWND visitedDialog = nullptr;
int visitStep = 0;

BOOL CALLBACK CollectChild(HWND child, LPARAM) {
    char className[64] = "";
    char text[256] = "";
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    visit.children.push_back({className, text, GetDlgCtrlID(child), GetWindowLongA(child, GWL_STYLE)});
    return TRUE;
}

bool DialogOpen() {
    return IsWindow(visitedDialog) && IsWindowVisible(visitedDialog);
}

void PostKeyToFocus(UINT key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
}

// The dialog manager shows a dialog only once its queue has run empty; until then a due timer
// finds the main window still active.
bool DialogIsActive() {
    HWND active = GetActiveWindow();
    char className[16] = "";
    GetClassNameA(active, className, sizeof className);
    return std::string(className) == "#32770" && IsWindowVisible(active);
}

void CALLBACK VisitStep(HWND, UINT, UINT_PTR, DWORD) {
    if (visitStep == 0 && !DialogIsActive()) return;
    switch (visitStep++) {
        case 0:
            visitedDialog = GetActiveWindow();
            visit.seen = true;
            visit.openAfterCancel = DialogOpen();
            visit.focusId = GetDlgCtrlID(GetFocus());
            EnumChildWindows(visitedDialog, CollectChild, 0);
            PostKeyToFocus(VK_ESCAPE);
            break;
        case 1:
            visit.openAfterEscape = DialogOpen();
            PostMessageA(visitedDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case 2:
            visit.openAfterCloseBox = DialogOpen();
            PostKeyToFocus(VK_RETURN);
            break;
        default:
            // Enter did not close it: never leave a test hanging in the dialog's loop.
            PostMessageA(visitedDialog, WM_COMMAND, IDOK, 0);
            break;
    }
}

// Opens a dialog through the given message to the main window, answers IDCANCEL at its activation,
// then presses Escape, the close box and Enter, noting after each whether it is still open.
DialogVisit VisitDialog(UINT message, WPARAM wParam) {
    visit = DialogVisit{};
    visitedDialog = nullptr;
    visitStep = 0;
    ShellTest::SetDialogAnswer(IDCANCEL);
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, VisitStep);
    SendMessageA(cv::MainWindow, message, wParam, 0);
    KillTimer(nullptr, timer);
    // Closed right after the step that pressed Enter, before any further step.
    visit.closedByEnter = visitStep == 3 && !IsWindow(visitedDialog);
    return visit;
}

const ChildInfo* FindChild(const DialogVisit& seen, const char* className, const char* text) {
    for (const ChildInfo& child : seen.children) {
        if (_stricmp(child.className.c_str(), className) == 0 && child.text == text) return &child;
    }
    return nullptr;
}

// ---- The report ----

TEST_F(DialogsTest, ReportShowsCaptionValueHexAndBitsInTheFontOfTheValueBox) {
    struct Case {
        UINT type, size;
        uint64_t value;
        const char* report;
        int font;
    };
    const Case cases[] = {
        {IDM_UNSIGNED, IDM_BYTES2, 4660,
         "Corvane - Unsigned Integer\r\n\r\nValue:\t4660\r\nHex:\t1234\r\n\r\nBinary:\t0001001000110100",
         SYSTEM_FIXED_FONT},
        {IDM_SIGNED, IDM_BYTES1, 0xFF,
         "Corvane - Signed Integer\r\n\r\nValue:\t-1\r\nHex:\tFF\r\n\r\nBinary:\t11111111",
         SYSTEM_FIXED_FONT},
        {IDM_SIGNED, IDM_BYTES4, 0x80000000u,
         "Corvane - Signed Integer\r\n\r\nValue:\t-2147483648\r\nHex:\t80000000\r\n\r\nBinary:\t"
         "10000000000000000000000000000000",
         SYSTEM_FIXED_FONT},
        {IDM_OEM, IDM_BYTES2, 0x4241,
         "Corvane - OEM Character\r\n\r\nValue:\tAB\r\nHex:\t4241\r\n\r\nBinary:\t0100001001000001",
         OEM_FIXED_FONT},
        {IDM_ANSI, IDM_BYTES2, 0x4241,
         "Corvane - ANSI Character\r\n\r\nValue:\tAB\r\nHex:\t4241\r\n\r\nBinary:\t0100001001000001",
         SYSTEM_FIXED_FONT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        ClearDialogs();
        Command(c.type);
        Command(c.size);
        cv::SetValue64(c.value);
        Send(WM_RECALCVALUEBOX);
        Send(WM_RECALCHEXBOX);
        Command(IDM_REPORT);
        ASSERT_EQ(Dialogs().size(), 1u);
        EXPECT_EQ(Dialogs()[0].title, "Datatype Information");
        EXPECT_EQ(Dialogs()[0].infoText, c.report);
        EXPECT_EQ(Dialogs()[0].infoFont, StockFont(c.font));
        EXPECT_EQ(Dialogs()[0].owner, cv::MainWindow);
        EXPECT_EQ(cv::InfoMode, 0u);
    }
}

TEST_F(DialogsTest, ReportOfEightBytesShowsTheLowHalfFirst) {
    Command(IDM_ANSI);
    Command(IDM_BYTES8);
    cv::SetValue64(0x0000000180000000ull);
    Send(WM_RECALCVALUEBOX);
    Send(WM_RECALCHEXBOX);
    Command(IDM_REPORT);
    ASSERT_EQ(Dialogs().size(), 1u);
    const std::string expected = "Corvane - ANSI Character\r\n\r\nValue:\t" + Text(cv::ValueBox) +
                                 "\r\nHex:\t0000000180000000\r\n\r\nBinary:\t1" + std::string(31, '0') +
                                 "\r\n\t" + std::string(31, '0') + "1";
    EXPECT_EQ(Dialogs()[0].infoText, expected);
}

TEST_F(DialogsTest, ReportCutsTheCaptionAndTheBoxTextsToTheirLengths) {
    const std::string caption = "Corvane - a caption much longer than any data type gives it";
    const std::string value = "0123456789012345678901234567890123456789";
    const std::string hex = "ABCDEF0123456789ABCD";
    SetWindowTextA(cv::MainWindow, caption.c_str());
    // Texts the program itself puts into the boxes, not typing.
    cv::EditArmed = 0;
    SetWindowTextA(cv::ValueBox, value.c_str());
    cv::EditArmed = 0;
    SetWindowTextA(cv::HexBox, hex.c_str());
    Command(IDM_REPORT);
    ASSERT_EQ(Dialogs().size(), 1u);
    const std::string& report = Dialogs()[0].infoText;
    const std::string head = caption.substr(0, 39) + "\r\n\r\nValue:\t" + value.substr(0, 31) + "\r\nHex:\t" +
                             hex.substr(0, 16) + "\r\n\r\nBinary:\t";
    EXPECT_EQ(report.substr(0, head.size()), head);
}

// ---- The bit information ----

TEST_F(DialogsTest, BitInformationComesInTheSystemFixedFontForEveryType) {
    struct Case {
        UINT type;
        uint64_t value;
        int bit;
        const char* text;
    };
    const Case cases[] = {
        {IDM_OEM, 0, 3, "Bit number 03 is not set.\r\n\r\nByte value when set:  2**3 = 8"},
        {IDM_SIGNED, 0x80000000u, 31, "Bit number 31 is set.\r\n\r\nValue when set:  Sign bit (Negative)"},
        {IDM_UNSIGNED, 0x80000000u, 31,
         "Bit number 31 is set.\r\n\r\nInteger value when set:  2**31 = 2147483648"},
        {IDM_REAL, 0x3F800000u, 30,
         "Bit number 30 is not set.\r\n\r\nExponent value when set:  2**7 = 128\r\nTrue binary exponent:     "
         "127-127 = 0\r\nDecimal point:\r\n  0 places right of the hidden bit"},
        {IDM_REAL, 0, 5, "Bit number 05 is not set.\r\n\r\n+0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ClearDialogs();
        Command(c.type);
        cv::SetValue64(c.value);
        Send(WM_SYNCBITCELLS);
        RightDoubleClickCell(c.bit);
        ASSERT_EQ(Dialogs().size(), 1u);
        EXPECT_EQ(Dialogs()[0].title, "Bit Information");
        EXPECT_EQ(Dialogs()[0].infoText, c.text);
        EXPECT_EQ(Dialogs()[0].infoFont, StockFont(SYSTEM_FIXED_FONT));
        EXPECT_EQ(cv::InfoMode, 0u);
    }
}

TEST_F(DialogsTest, TheSetFlagOfACellWordArrivesWhole) {
    // Bit 31 set: as a LONG it is negative and widens to a 64-bit WPARAM with all high bits set.
    const LONG word = static_cast<LONG>(0x80000005u);
    Send(WM_BITINFO, static_cast<WPARAM>(static_cast<LONG_PTR>(word)));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].infoText, "Bit number 05 is set.\r\n\r\nInteger value when set:  2**5 = 32");
    Send(WM_BITINFO, 5);
    ASSERT_EQ(Dialogs().size(), 2u);
    EXPECT_EQ(Dialogs()[1].infoText, "Bit number 05 is not set.\r\n\r\nInteger value when set:  2**5 = 32");
}

// The caption comes first, then the font (no redraw), and only then the text of control 100.
TEST_F(DialogsTest, TheFontIsGivenBeforeTheText) {
    struct Case {
        const char* what;
        UINT type;
        UINT message;
        WPARAM wParam;
        int font;
    };
    const Case cases[] = {
        {"report", IDM_SIGNED, WM_COMMAND, IDM_REPORT, SYSTEM_FIXED_FONT},
        {"report of OEM characters", IDM_OEM, WM_COMMAND, IDM_REPORT, OEM_FIXED_FONT},
        {"bit information", IDM_OEM, WM_BITINFO, 3, SYSTEM_FIXED_FONT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Command(c.type);
        StartMessageLog();
        Send(c.message, c.wParam);
        const std::vector<SentMessage> log = StopMessageLog();
        HWND dialog = nullptr;
        HWND text = nullptr;
        std::vector<std::string> steps;
        for (const SentMessage& sent : log) {
            if (sent.message == WM_INITDIALOG && dialog == nullptr) dialog = sent.window;
            if (dialog == nullptr) continue;
            if (sent.message == WM_SETTEXT && sent.window == dialog) steps.push_back("caption");
            if (sent.message == WM_SETFONT && sent.wParam == reinterpret_cast<WPARAM>(StockFont(c.font))) {
                text = sent.window;
                steps.push_back(sent.lParam == 0 ? "font" : "font with redraw");
            }
            if (sent.message == WM_SETTEXT && text != nullptr && sent.window == text) steps.push_back("text");
        }
        const std::vector<std::string> expected = {"caption", "font", "text"};
        EXPECT_EQ(steps, expected);
    }
}

// ---- The About box ----

TEST_F(DialogsTest, AboutShowsNameVersionAndIconWithoutACaption) {
    const DialogVisit seen = VisitDialog(WM_COMMAND, IDM_ABOUT);
    ASSERT_TRUE(seen.seen);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].title, "");
    EXPECT_EQ(Dialogs()[0].style & WS_CAPTION, 0) << "no caption bar";
    EXPECT_NE(FindChild(seen, "Static", "Corvane"), nullptr);
    EXPECT_NE(FindChild(seen, "Static", "Version 1.1"), nullptr);
    EXPECT_NE(FindChild(seen, "Button", "OK"), nullptr);
    bool icon = false;
    for (const ChildInfo& child : seen.children) icon = icon || (child.style & SS_TYPEMASK) == SS_ICON;
    EXPECT_TRUE(icon);
    EXPECT_EQ(seen.focusId, IDOK);
    EXPECT_EQ(cv::InfoMode, 0u);
}

TEST_F(DialogsTest, EachOpenerSetsTheModeAnew) {
    Command(IDM_ABOUT);
    Command(IDM_REPORT);
    Command(IDM_ABOUT);
    ASSERT_EQ(Dialogs().size(), 3u);
    EXPECT_EQ(Dialogs()[0].title, "");
    EXPECT_EQ(Dialogs()[1].title, "Datatype Information");
    EXPECT_EQ(Dialogs()[1].infoText.substr(0, 24), "Corvane - Signed Integer");
    EXPECT_EQ(Dialogs()[2].title, "");
    EXPECT_EQ(alerts_.Beeps(), 0);
}

// ---- Closing ----

TEST_F(DialogsTest, OnlyOkAndEnterCloseTheDialogs) {
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"report", WM_COMMAND, IDM_REPORT},
        {"bit information", WM_BITINFO, 7},
        {"About box", WM_COMMAND, IDM_ABOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DialogVisit seen = VisitDialog(c.message, c.wParam);
        ASSERT_TRUE(seen.seen);
        EXPECT_TRUE(seen.openAfterCancel) << "IDCANCEL";
        EXPECT_TRUE(seen.openAfterEscape) << "Escape";
        EXPECT_TRUE(seen.openAfterCloseBox) << "the close box";
        EXPECT_TRUE(seen.closedByEnter) << "Enter";
        EXPECT_EQ(seen.focusId, IDOK) << "the first tab stop, OK, has the focus";
    }
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(DialogsTest, InformationDialogHasItsTemplatesControls) {
    const DialogVisit seen = VisitDialog(WM_COMMAND, IDM_REPORT);
    ASSERT_TRUE(seen.seen);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(static_cast<DWORD>(Dialogs()[0].style) & (WS_POPUP | WS_CAPTION | WS_SYSMENU),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU));
    const ChildInfo* ok = FindChild(seen, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->id, IDOK);
    bool text = false;
    for (const ChildInfo& child : seen.children) {
        if (child.id != 100) continue;
        text = true;
        EXPECT_EQ(_stricmp(child.className.c_str(), "Edit"), 0);
        EXPECT_NE(child.style & ES_READONLY, 0);
        EXPECT_NE(child.style & ES_MULTILINE, 0);
    }
    EXPECT_TRUE(text);
}

TEST_F(DialogsTest, AnUnexpectedModeIsAnInternalErrorAndTheTemplateStaysBlank) {
    cv::InfoMode = 5;
    alerts_.Clear();
    StartMessageLog();
    DialogBoxParamA(cv::Instance, "InfoDlgBox", cv::MainWindow, cv::InfoDlgProc, 0);
    const std::vector<SentMessage> log = StopMessageLog();
    // The dialog itself owns the error box.
    HWND dialog = nullptr;
    for (const SentMessage& sent : log) {
        if (sent.message == WM_INITDIALOG && dialog == nullptr) dialog = sent.window;  // not the box's
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(alerts_.Owners(), std::vector<cv::WindowRef>{dialog});
    EXPECT_EQ(alerts_.Beeps(), 3);
    ASSERT_EQ(Dialogs().size(), 2u);
    EXPECT_EQ(Dialogs()[0].title, "Corvane Internal Error");
    EXPECT_EQ(Dialogs()[0].text, "Unexpected Message ID in WM_INITDIALOG");
    EXPECT_EQ(Dialogs()[1].title, "");
    EXPECT_EQ(Dialogs()[1].infoText, "");
    EXPECT_EQ(cv::InfoMode, 0u);
}

}  // namespace
}  // namespace cvtest
