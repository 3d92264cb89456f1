// Help: where the help file is, and how it is shown. A help file at HelpPath goes to the Windows
// help engine; where there is none (today's systems have no engine for such a file), Corvane's
// own help viewer shows the help text compiled into the program's resources.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <direct.h>

#include "shell/help.h"
#include "shell/shell.h"

namespace cv {

char HelpPath[kHelpPathSize];
HWND HelpViewer;

namespace {

constexpr char kHelpFileName[] = "\\corvane.hlp";
constexpr char kHelpFolderFileName[] = "\\..\\help\\corvane.hlp";

bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A bare name ("winhelp.hlp") is looked for where the help engine would look; a path as it stands.
bool HelpFileExists(const char* file) {
    if (file == nullptr || file[0] == '\0') return false;
    if (std::strpbrk(file, "\\/:") != nullptr) return FileExists(file);
    char found[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, file, nullptr, MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH;
}

// ---- The help text, in fixed tables filled once ----

constexpr int kMaxTopics = 64;
constexpr int kMaxKeywords = 512;
constexpr size_t kNameSize = 80;         // an id, a title or a keyword, with its terminating zero
constexpr size_t kTopicTextSize = 8192;  // a title, a blank line and the text, with CRLF line ends
constexpr int kMaxHistory = 1024;        // topics remembered for Back; the oldest go first

struct Topic {
    char id[kNameSize];
    char title[kNameSize];
};

struct Keyword {
    char text[kNameSize];
    int topic;
};

struct HelpTables {
    Topic topics[kMaxTopics];
    int topicCount;
    Keyword keywords[kMaxKeywords];  // sorted ignoring case; equal ones in the order of the source
    int keywordCount;
};

HelpTables Help;
bool HelpLoaded;

void CopyName(char* name, std::string_view text) {
    const size_t length = text.size() < kNameSize - 1 ? text.size() : kNameSize - 1;
    std::memcpy(name, text.data(), length);
    name[length] = '\0';
}

class TableFiller : public HelpTextReader {
public:
    void OnTopic(std::string_view id, std::string_view title) override {
        if (Help.topicCount == kMaxTopics) return;
        Topic& topic = Help.topics[Help.topicCount++];
        CopyName(topic.id, id);
        CopyName(topic.title, title);
    }
    void OnKeyword(std::string_view keyword) override {
        if (Help.keywordCount == kMaxKeywords) return;
        int at = Help.keywordCount++;
        for (; at > 0 && LessIgnoringCase(keyword, Help.keywords[at - 1].text); --at) {
            Help.keywords[at] = Help.keywords[at - 1];
        }
        CopyName(Help.keywords[at].text, keyword);
        Help.keywords[at].topic = Help.topicCount - 1;
    }
    void OnLine(std::string_view) override {}
};

// The lines of one topic appended to a text, joined with CRLF.
class TopicTextWriter : public HelpTextReader {
public:
    TopicTextWriter(int topic, char* text, size_t size)
        : wanted_(topic), text_(text), size_(size), length_(std::strlen(text)) {}
    void OnTopic(std::string_view, std::string_view) override { ++current_; }
    void OnKeyword(std::string_view) override {}
    void OnLine(std::string_view line) override {
        if (current_ != wanted_) return;
        if (wrote_) Append("\r\n");
        Append(line);
        wrote_ = true;
    }

private:
    void Append(std::string_view part) {
        const size_t room = size_ - 1 - length_;
        const size_t taken = part.size() < room ? part.size() : room;
        std::memcpy(text_ + length_, part.data(), taken);
        length_ += taken;
        text_[length_] = '\0';
    }

    int wanted_;
    int current_ = -1;
    bool wrote_ = false;
    char* text_;
    size_t size_;
    size_t length_;
};

void LoadHelp() {
    if (HelpLoaded) return;
    Help.topicCount = 0;
    Help.keywordCount = 0;
    TableFiller filler;
    ReadHelpText(HelpResourceText(), filler);
    HelpLoaded = true;
}

int FindTopic(const char* id) {
    LoadHelp();
    for (int i = 0; i < Help.topicCount; ++i) {
        if (std::strcmp(Help.topics[i].id, id) == 0) return i;
    }
    return -1;
}

int FindKeyword(const char* prefix) {
    LoadHelp();
    for (int i = 0; i < Help.keywordCount; ++i) {
        if (StartsWithIgnoringCase(Help.keywords[i].text, prefix)) return i;
    }
    return -1;
}

// ---- The viewer ----

enum class ListMode { kContents, kIndex };

struct ViewerState {
    ListMode mode = ListMode::kContents;
    int topic = -1;
    int historyCount = 0;  // the first entries of History
};

ViewerState Viewer;
int History[kMaxHistory];  // topics read before, for Back

void Remember(int topic) {
    if (Viewer.historyCount == kMaxHistory) {
        std::memmove(History, History + 1, sizeof History - sizeof History[0]);
        --Viewer.historyCount;
    }
    History[Viewer.historyCount++] = topic;
}

void SetTopicText(HWND dialog, int topic) {
    LoadHelp();
    if (topic < 0 || topic >= Help.topicCount) return;
    if (Viewer.topic >= 0 && Viewer.topic != topic) Remember(Viewer.topic);
    Viewer.topic = topic;
    char text[kTopicTextSize];  // SetDlgItemTextA keeps a copy
    CopyText(text, sizeof text, Help.topics[topic].title);
    AppendText(text, sizeof text, "\r\n\r\n");
    TopicTextWriter writer(topic, text, sizeof text);
    ReadHelpText(HelpResourceText(), writer);
    SetDlgItemTextA(dialog, IDC_HELPTOPIC, text);
    EnableWindow(GetDlgItem(dialog, IDC_HELPBACK), Viewer.historyCount > 0);
    if (Viewer.mode == ListMode::kContents) {
        SendDlgItemMessageA(dialog, IDC_HELPLIST, LB_SETCURSEL, static_cast<WPARAM>(topic), 0);
    }
}

void FillList(HWND dialog, ListMode mode) {
    LoadHelp();
    HWND list = GetDlgItem(dialog, IDC_HELPLIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (mode == ListMode::kContents) {
        for (int i = 0; i < Help.topicCount; ++i) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Help.topics[i].title));
        }
    } else {
        for (int i = 0; i < Help.keywordCount; ++i) {
            const Keyword& entry = Help.keywords[i];
            const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(item), entry.topic);
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    Viewer.mode = mode;
}

int TopicOfListItem(HWND dialog, LRESULT item) {
    if (item < 0) return -1;
    if (Viewer.mode == ListMode::kContents) return static_cast<int>(item);
    return static_cast<int>(
        SendDlgItemMessageA(dialog, IDC_HELPLIST, LB_GETITEMDATA, static_cast<WPARAM>(item), 0));
}

void ShowSelectedTopic(HWND dialog) {
    const LRESULT item = SendDlgItemMessageA(dialog, IDC_HELPLIST, LB_GETCURSEL, 0, 0);
    SetTopicText(dialog, TopicOfListItem(dialog, item));
}

void ShowContents(HWND dialog) {
    FillList(dialog, ListMode::kContents);
    SetTopicText(dialog, FindTopic("contents"));
    SetFocus(GetDlgItem(dialog, IDC_HELPLIST));
}

// The index, with the first keyword that begins with the Find field's text selected.
void SelectFoundKeyword(HWND dialog) {
    char typed[128];
    GetDlgItemTextA(dialog, IDC_HELPFIND, typed, sizeof typed);
    const int entry = FindKeyword(typed);
    if (entry < 0) return;
    SendDlgItemMessageA(dialog, IDC_HELPLIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    ShowSelectedTopic(dialog);
}

void ShowIndex(HWND dialog, const char* keyword) {
    if (Viewer.mode != ListMode::kIndex) FillList(dialog, ListMode::kIndex);
    SetDlgItemTextA(dialog, IDC_HELPFIND, keyword);  // its EN_CHANGE selects the keyword
    SelectFoundKeyword(dialog);
    HWND find = GetDlgItem(dialog, IDC_HELPFIND);
    SetFocus(find);
    SendMessageA(find, EM_SETSEL, 0, -1);
}

void ShowUsingHelp(HWND dialog) {
    if (Viewer.mode != ListMode::kContents) FillList(dialog, ListMode::kContents);
    SetTopicText(dialog, FindTopic("usinghelp"));
}

void GoBack(HWND dialog) {
    if (Viewer.historyCount == 0) return;
    const int previous = History[--Viewer.historyCount];
    Viewer.topic = -1;  // going back is not itself remembered
    SetTopicText(dialog, previous);
}

void OnViewerCommand(HWND dialog, UINT id, UINT code) {
    switch (id) {
        case IDC_HELPCONTENTS: ShowContents(dialog); break;
        case IDC_HELPINDEX: ShowIndex(dialog, ""); break;
        case IDC_HELPUSING: ShowUsingHelp(dialog); break;
        case IDC_HELPBACK: GoBack(dialog); break;
        case IDOK: ShowSelectedTopic(dialog); break;  // Enter in the Find field or the list
        case IDCANCEL: DestroyWindow(dialog); break;
        case IDC_HELPLIST:
            if (code == LBN_SELCHANGE || code == LBN_DBLCLK) ShowSelectedTopic(dialog);
            break;
        case IDC_HELPFIND:
            if (code != EN_CHANGE) break;
            if (Viewer.mode != ListMode::kIndex) FillList(dialog, ListMode::kIndex);
            SelectFoundKeyword(dialog);
            break;
        default: break;
    }
}

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            Viewer = ViewerState();
            SendMessageA(dialog, WM_SETICON, ICON_BIG,
                         reinterpret_cast<LPARAM>(LoadIconA(Instance, "BASEICON")));
            FillList(dialog, ListMode::kContents);
            return TRUE;
        case WM_COMMAND: OnViewerCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
        case WM_DESTROY: HelpViewer = nullptr; return FALSE;
        default: return FALSE;
    }
}

HWND OpenHelpViewer(HWND owner) {
    if (HelpViewer == nullptr) {
        HelpViewer = CreateDialogParamA(Instance, "HelpDlgBox", owner, HelpDlgProc, 0);
        if (HelpViewer == nullptr) return nullptr;
    }
    ShowWindow(HelpViewer, SW_SHOWNORMAL);
    SetForegroundWindow(HelpViewer);
    return HelpViewer;
}

// What the help engine would have shown, in the viewer: the contents, the keyword index, or
// (for any other file, which is the engine's own help) the topic on using help.
void ShowInViewer(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) {
    HWND dialog = OpenHelpViewer(owner);
    if (dialog == nullptr) {
        CurrentAlerts().Beep();
        return;
    }
    if (std::strcmp(helpFile, HelpPath) != 0) {
        ShowUsingHelp(dialog);
    } else if (command == HELP_PARTIALKEY || command == HELP_KEY) {
        const char* keyword = reinterpret_cast<const char*>(data);
        ShowIndex(dialog, keyword != nullptr ? keyword : "");
    } else {
        ShowContents(dialog);
    }
}

}  // namespace

std::string_view HelpResourceText() {
    HRSRC resource = FindResourceA(Instance, "CV_HELPTEXT", reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (resource == nullptr) return std::string_view();
    HGLOBAL handle = LoadResource(Instance, resource);
    const void* data = handle != nullptr ? LockResource(handle) : nullptr;
    if (data == nullptr) return std::string_view();
    return std::string_view(static_cast<const char*>(data), SizeofResource(Instance, resource));
}

void ComposeHelpPath() {
    HelpPath[0] = '\0';
    // The directory as long as it is: no fixed buffer can be overrun.
    char* directory = _getcwd(nullptr, 0);
    if (directory == nullptr) return;  // no path: the help viewer stands in
    if (std::strlen(directory) + sizeof kHelpFolderFileName <= kHelpPathSize) {
        CopyText(HelpPath, kHelpPathSize, directory);
        AppendText(HelpPath, kHelpPathSize, kHelpFileName);
        struct stat info;
        if (stat(HelpPath, &info) != 0) {
            CopyText(HelpPath, kHelpPathSize, directory);
            AppendText(HelpPath, kHelpPathSize, kHelpFolderFileName);
        }
    }
    std::free(directory);
}

bool HelpViewerTakesMessage(MSG* message) {
    return HelpViewer != nullptr && IsDialogMessageA(HelpViewer, message) != 0;
}

void ShowHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) {
    if (HelpFileExists(helpFile)) {
        WinHelpA(owner, helpFile, command, data);
        return;
    }
    ShowInViewer(owner, helpFile, command, data);
}

}  // namespace cv
