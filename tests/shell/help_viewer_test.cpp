// Help: the help text compiled into the program, and the viewer that shows it where no help file
// exists (the three help commands, the keyword search, the keyboard of the viewer).
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "shell/help.h"
#include "tests/shell/shell_harness.h"

namespace cvtest {
namespace {

// The compiled-in help text as strings, parsed once. The viewer keeps its own fixed tables; the
// tests check the viewer against this.
const cv::HelpText& CorvaneHelpText() {
    static const cv::HelpText help = cv::ParseHelpText(cv::HelpResourceText());
    return help;
}

// ---- The help text ----

TEST(HelpTextTest, ParsesTopicsKeywordsAndLines) {
    const std::string source =
        "ignored before the first topic\n"
        "@topic first|First Topic\r\n"
        "@keys beta; Alpha ;gamma\n"
        "line one\n"
        "\n"
        "line three\n"
        "\n"
        "@topic second| Second \n"
        "@keys alpha\n"
        "only line";
    const cv::HelpText help = cv::ParseHelpText(source);
    ASSERT_EQ(help.topics.size(), 2u);
    EXPECT_EQ(help.topics[0].id, "first");
    EXPECT_EQ(help.topics[0].title, "First Topic");
    EXPECT_EQ(help.topics[0].body, "line one\r\n\r\nline three") << "trailing blank lines dropped";
    EXPECT_EQ(help.topics[1].title, "Second");
    EXPECT_EQ(help.topics[1].body, "only line");

    // Sorted ignoring case; a keyword of two topics is listed for each.
    std::vector<std::pair<std::string, int>> index;
    for (const cv::HelpIndexEntry& entry : help.index) index.emplace_back(entry.keyword, entry.topic);
    const std::vector<std::pair<std::string, int>> expected = {
        {"Alpha", 0}, {"alpha", 1}, {"beta", 0}, {"gamma", 0}};
    EXPECT_EQ(index, expected);

    EXPECT_EQ(help.FindTopic("second"), 1);
    EXPECT_EQ(help.FindTopic("third"), -1);
    EXPECT_EQ(help.FindKeyword("B"), 2);
    EXPECT_EQ(help.FindKeyword("ALP"), 0);
    EXPECT_EQ(help.FindKeyword(""), 0);
    EXPECT_EQ(help.FindKeyword("delta"), -1);
    EXPECT_EQ(help.FindKeyword("gammas"), -1);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasKeyword(const cv::HelpText& help, const std::string& keyword) {
    for (const cv::HelpIndexEntry& entry : help.index) {
        if (Lower(entry.keyword) == Lower(keyword)) return true;
    }
    return false;
}

// A menu item's text as an index keyword: no mnemonic, no accelerator, no ellipsis.
std::string KeywordOfMenuText(const char* text) {
    std::string keyword;
    for (const char* c = text; *c != '\0' && *c != '\t'; ++c) {
        if (*c != '&') keyword += *c;
    }
    while (!keyword.empty() && keyword.back() == '.') keyword.pop_back();
    return keyword;
}

TEST(HelpTextTest, IndexNamesEveryCommandOfTheOptionsAndDataTypeMenus) {
    const cv::HelpText& help = CorvaneHelpText();
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), "CV_MENU");
    ASSERT_NE(menu, nullptr);
    for (int popup = 0; popup < 2; ++popup) {
        HMENU sub = GetSubMenu(menu, popup);
        for (int i = 0; i < GetMenuItemCount(sub); ++i) {
            char text[128] = "";
            if (GetMenuStringA(sub, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) == 0) continue;
            EXPECT_TRUE(HasKeyword(help, KeywordOfMenuText(text))) << text;
        }
    }
    DestroyMenu(menu);
    // The views, the buttons and the keys have their entries too.
    for (const char* keyword : {"value box",
                                "hex box",
                                "bit cells",
                                "bytes",
                                "<",
                                ">",
                                "0's",
                                "1's",
                                "Flip",
                                "keyboard",
                                "Tab",
                                "Alt+V",
                                "Alt+Enter",
                                "F1",
                                "F12",
                                "About",
                                "using help",
                                "search",
                                "contents",
                                "bit information",
                                "datatype report",
                                "input errors"}) {
        EXPECT_TRUE(HasKeyword(help, keyword)) << keyword;
    }
}

TEST(HelpTextTest, ContentsListsEveryOtherTopicAndEveryTopicSaysSomething) {
    const cv::HelpText& help = CorvaneHelpText();
    const int contents = help.FindTopic("contents");
    ASSERT_EQ(contents, 0) << "the viewer opens at the first topic";
    ASSERT_GE(help.FindTopic("usinghelp"), 0);
    for (const cv::HelpTopic& topic : help.topics) {
        EXPECT_FALSE(topic.title.empty()) << topic.id;
        EXPECT_GT(topic.body.size(), 80u) << topic.id;
        if (&topic == &help.topics[0]) continue;
        EXPECT_NE((help.topics[0].body + "\r\n").find("  " + topic.title + "\r\n"), std::string::npos)
            << topic.title << " is missing from the contents";
    }
}

// ---- The viewer ----

class HelpViewerTest : public ShellTest {
protected:
    // No help file: start in an empty directory, so HelpPath names a file that does not exist.
    void SetUp() override {
        char saved[MAX_PATH * 2] = "";
        GetCurrentDirectoryA(sizeof saved, saved);
        saved_ = saved;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        const std::string directory =
            std::string(temp) + "corvane_viewer_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(directory.c_str(), nullptr);
        SetCurrentDirectoryA(directory.c_str());
        ShellTest::SetUp();
    }
    void TearDown() override {
        ShellTest::TearDown();
        SetCurrentDirectoryA(saved_.c_str());
    }

    static HWND Item(int id) { return GetDlgItem(cv::HelpViewer, id); }
    static std::string Topic() { return Text(Item(IDC_HELPTOPIC)); }
    static std::string TopicTitle() {
        const std::string text = Topic();
        return text.substr(0, text.find("\r\n"));
    }
    static int ListCount() { return static_cast<int>(SendMessageA(Item(IDC_HELPLIST), LB_GETCOUNT, 0, 0)); }
    static std::string ListSelection() {
        const LRESULT item = SendMessageA(Item(IDC_HELPLIST), LB_GETCURSEL, 0, 0);
        if (item < 0) return "";
        char text[128] = "";
        SendMessageA(Item(IDC_HELPLIST), LB_GETTEXT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Runs the program's own message loop until the queue is empty (a posted close ends it).
    static void RunLoopOver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
        PostMessageA(target, message, wParam, lParam);
        PostMessageA(cv::MainWindow, WM_CLOSE, 0, 0);
        cv::RunMessageLoop();
    }

    std::string saved_;
};

TEST_F(HelpViewerTest, HelpCommandsOpenOneViewerAtContentsIndexAndUsingHelp) {
    const cv::HelpText& help = CorvaneHelpText();
    ASSERT_NE(std::string(cv::HelpPath).find("\\..\\help\\corvane.hlp"), std::string::npos);
    EXPECT_EQ(cv::HelpViewer, nullptr);

    Command(IDM_HELPCONTENTS);
    Pump();
    ASSERT_NE(cv::HelpViewer, nullptr);
    const HWND viewer = cv::HelpViewer;
    EXPECT_TRUE(IsWindowVisible(viewer));
    EXPECT_EQ(Text(viewer), "Corvane Help");
    EXPECT_EQ(TopicTitle(), "Contents");
    EXPECT_EQ(ListCount(), static_cast<int>(help.topics.size()));
    EXPECT_EQ(ListSelection(), "Contents");

    // The search opens the keyword index with the focus in the Find field.
    Command(IDM_HELPSEARCH);
    Pump();
    EXPECT_EQ(cv::HelpViewer, viewer) << "one viewer at a time";
    EXPECT_EQ(ListCount(), static_cast<int>(help.index.size()));
    EXPECT_EQ(GetFocus(), Item(IDC_HELPFIND));
    EXPECT_EQ(Text(Item(IDC_HELPFIND)), "");

    Command(IDM_HELPONHELP);
    Pump();
    EXPECT_EQ(cv::HelpViewer, viewer);
    EXPECT_EQ(TopicTitle(), "Using help");

    // The state of the program is not touched by any of it.
    EXPECT_EQ(cv::DataType, static_cast<uint32_t>(IDM_SIGNED));
    EXPECT_EQ(alerts_.Beeps(), 0);
}

TEST_F(HelpViewerTest, FindSelectsTheFirstKeywordThatBeginsWithTheTypedText) {
    Command(IDM_HELPSEARCH);
    Pump();
    ASSERT_NE(cv::HelpViewer, nullptr);
    struct Case {
        const char* typed;
        const char* keyword;
        const char* title;
    };
    const Case cases[] = {
        {"flo", "floating point", "Floating-Point Real"},
        {"Floating-P", "Floating-Point Real", "Floating-Point Real"},
        {"hex b", "hex box", "The hex box"},
        {"ctrl+l", "Ctrl+L", "Options menu"},
        {"unsig", "unsigned", "Unsigned Integer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SetWindowTextA(Item(IDC_HELPFIND), c.typed);
        EXPECT_EQ(ListSelection(), c.keyword);
        EXPECT_EQ(TopicTitle(), c.title);
    }
    // Text that begins no keyword leaves the last topic in view.
    SetWindowTextA(Item(IDC_HELPFIND), "zzz");
    EXPECT_EQ(TopicTitle(), "Unsigned Integer");
    // Back returns through the topics read before.
    SendMessageA(cv::HelpViewer, WM_COMMAND, IDC_HELPBACK, 0);
    EXPECT_EQ(TopicTitle(), "Options menu");
    SendMessageA(cv::HelpViewer, WM_COMMAND, IDC_HELPBACK, 0);
    EXPECT_EQ(TopicTitle(), "The hex box");
}

TEST_F(HelpViewerTest, TypingInTheFindFieldReachesTheViewerNotTheAccelerators) {
    Command(IDM_HELPSEARCH);
    Pump();
    ASSERT_NE(cv::HelpViewer, nullptr);
    // Ctrl+C in the Find field is the field's copy, not the Color Bits command.
    HoldModifiers(true, false, false);
    RunLoopOver(Item(IDC_HELPFIND), WM_KEYDOWN, 'C', 1);
    HoldModifiers(false, false, false);
    EXPECT_EQ(cv::ColorBits, 1u);
}

TEST_F(HelpViewerTest, EscapeClosesTheViewer) {
    Command(IDM_HELPCONTENTS);
    Pump();
    ASSERT_NE(cv::HelpViewer, nullptr);
    const HWND viewer = cv::HelpViewer;
    PostMessageA(Item(IDC_HELPLIST), WM_KEYDOWN, VK_ESCAPE, 1);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!cv::HelpViewerTakesMessage(&message)) DispatchMessageA(&message);
    }
    EXPECT_FALSE(IsWindow(viewer));
    EXPECT_EQ(cv::HelpViewer, nullptr);
    // The next command opens a new one.
    Command(IDM_HELPCONTENTS);
    EXPECT_NE(cv::HelpViewer, nullptr);
}

}  // namespace
}  // namespace cvtest
