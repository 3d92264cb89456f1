// Pastes and texts from outside the program: refused whole when they do not fit, quickly.
#include <cstring>
#include <string>

#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

using PasteTest = ShellTest;

void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

double Milliseconds(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

TEST_F(PasteTest, BoxesTakeNoMoreThanTheirLongestText) {
    EXPECT_EQ(SendMessageA(cv::ValueBox, EM_GETLIMITTEXT, 0, 0), 35);
    EXPECT_EQ(SendMessageA(cv::HexBox, EM_GETLIMITTEXT, 0, 0), 23);
}

// A 10,000-character paste once froze the window for minutes while the edit control trimmed it.
TEST_F(PasteTest, LongPasteIsRefusedWholeAndAtOnce) {
    const std::string digits(10000, '7');
    for (HWND box : {cv::ValueBox, cv::HexBox}) {
        // WM_PASTE, Ctrl+V as the box receives it, and a replacement sent from outside.
        for (UINT way :
             {static_cast<UINT>(WM_PASTE), static_cast<UINT>(WM_CHAR), static_cast<UINT>(EM_REPLACESEL)}) {
            const std::string before = Text(box);
            const uint64_t value = cv::Value64();
            alerts_.Clear();
            SetFocus(box);
            SendMessageA(box, EM_SETSEL, 0, 0);
            PutOnClipboard(digits);
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            if (way == EM_REPLACESEL) {
                SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
            } else {
                SendMessageA(box, way, way == WM_CHAR ? 0x16 : 0, 0);
            }
            const double elapsed = Milliseconds(start);
            EXPECT_LT(elapsed, 50.0);
            RecordProperty(box == cv::ValueBox ? "value_box_ms" : "hex_box_ms", std::to_string(elapsed));
            EXPECT_EQ(Text(box), before);
            EXPECT_EQ(cv::Value64(), value);
            EXPECT_EQ(alerts_.Log(), "beep;");
        }
    }
}

TEST_F(PasteTest, PasteThatFitsIsOneEditWithTheCaretAfterIt) {
    TypeOver(cv::ValueBox, "12");
    SendMessageA(cv::ValueBox, EM_SETSEL, 1, 1);
    PutOnClipboard("34\r\nignored");  // a single-line box takes the first line
    alerts_.Clear();
    StartMessageLog();
    SendMessageA(cv::ValueBox, WM_PASTE, 0, 0);
    const std::vector<SentMessage> log = StopMessageLog();
    EXPECT_EQ(Text(cv::ValueBox), "1342");
    EXPECT_EQ(cv::Value64(), 1342u);
    EXPECT_EQ(Selection(cv::ValueBox), std::make_pair(3, 3));
    EXPECT_EQ(Text(cv::HexBox), "0000053E");
    EXPECT_EQ(alerts_.Log(), "");
    int edits = 0;
    for (const SentMessage& m : log) {
        edits += m.message == WM_COMMAND && m.wParam == MAKEWPARAM(IDM_VALUEBOX, EN_UPDATE) ? 1 : 0;
    }
    EXPECT_EQ(edits, 2);  // the paste, and the echo of the text put back
}

// A text set from outside the program was cut to 35 characters and the cut number stored.
TEST_F(PasteTest, NumberTooLongForTheBoxIsRefusedNotCut) {
    TypeOver(cv::ValueBox, "5");
    alerts_.Clear();
    SetWindowTextA(cv::ValueBox, ("1" + std::string(9999, '0')).c_str());
    EXPECT_EQ(Text(cv::ValueBox), "5");
    EXPECT_EQ(cv::Value64(), 5u);
    EXPECT_EQ(alerts_.Log().substr(0, 5), "beep;");
}

// A 100,000-digit text set from outside took the edit control 10 s, and the hex box kept its first
// digits.
TEST_F(PasteTest, LongOutsideTextIsRefusedWholeAndAtOnce) {
    const std::string digits(100000, '7');
    for (HWND box : {cv::ValueBox, cv::HexBox}) {
        const std::string before = Text(box);
        const uint64_t value = cv::Value64();
        alerts_.Clear();
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        EXPECT_EQ(SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(digits.c_str())), FALSE);
        EXPECT_LT(Milliseconds(start), 50.0);
        EXPECT_EQ(Text(box), before);
        EXPECT_EQ(cv::Value64(), value);
        EXPECT_EQ(alerts_.Log(), "beep;");
    }
    // A text of exactly the limit still reaches the box as an edit.
    SetWindowTextA(cv::HexBox, std::string(23, '1').c_str());
    EXPECT_EQ(Text(cv::HexBox), "11111111");  // the digits beyond the width dropped, as typed
}

}  // namespace
}  // namespace cvtest
