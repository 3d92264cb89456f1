// Help: where the help file is, and how it is shown. A help file at HelpPath goes to the Windows
// help engine; where there is none (today's systems have no engine for such a file), Corvane's
// own help viewer shows the help text compiled into the program's resources.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <string>
#include <vector>

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

// ---- The help text ----

HelpText TheHelpText;
bool HelpTextLoaded;

std::string ResourceText(const char* name) {
    HRSRC resource = FindResourceA(Instance, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
    if (resource == nullptr) return std::string();
    HGLOBAL handle = LoadResource(Instance, resource);
    const void* data = handle != nullptr ? LockResource(handle) : nullptr;
    if (data == nullptr) return std::string();
    return std::string(static_cast<const char*>(data), SizeofResource(Instance, resource));
}

const HelpText& LoadedHelpText() {
    if (!HelpTextLoaded) {
        TheHelpText = ParseHelpText(ResourceText("CV_HELPTEXT"));
        HelpTextLoaded = true;
    }
    return TheHelpText;
}

// ---- The viewer ----

enum class ListMode { kContents, kIndex };

struct ViewerState {
    ListMode mode = ListMode::kContents;
    int topic = -1;
    std::vector<int> history;  // topics read before, for Back
};

ViewerState Viewer;

void SetTopicText(HWND dialog, int topic) {
    const HelpText& help = LoadedHelpText();
    if (topic < 0 || topic >= static_cast<int>(help.topics.size())) return;
    if (Viewer.topic >= 0 && Viewer.topic != topic) Viewer.history.push_back(Viewer.topic);
    Viewer.topic = topic;
    const HelpTopic& shown = help.topics[static_cast<size_t>(topic)];
    const std::string text = shown.title + "\r\n\r\n" + shown.body;
    SetDlgItemTextA(dialog, IDC_HELPTOPIC, text.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_HELPBACK), !Viewer.history.empty());
    if (Viewer.mode == ListMode::kContents) {
        SendDlgItemMessageA(dialog, IDC_HELPLIST, LB_SETCURSEL, static_cast<WPARAM>(topic), 0);
    }
}

void FillList(HWND dialog, ListMode mode) {
    const HelpText& help = LoadedHelpText();
    HWND list = GetDlgItem(dialog, IDC_HELPLIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (mode == ListMode::kContents) {
        for (const HelpTopic& topic : help.topics) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(topic.title.c_str()));
        }
    } else {
        for (const HelpIndexEntry& entry : help.index) {
            const LRESULT item =
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.keyword.c_str()));
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
    SetTopicText(dialog, LoadedHelpText().FindTopic("contents"));
    SetFocus(GetDlgItem(dialog, IDC_HELPLIST));
}

// The index, with the first keyword that begins with the Find field's text selected.
void SelectFoundKeyword(HWND dialog) {
    char typed[128];
    GetDlgItemTextA(dialog, IDC_HELPFIND, typed, sizeof typed);
    const int entry = LoadedHelpText().FindKeyword(typed);
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
    SetTopicText(dialog, LoadedHelpText().FindTopic("usinghelp"));
}

void GoBack(HWND dialog) {
    if (Viewer.history.empty()) return;
    const int previous = Viewer.history.back();
    Viewer.history.pop_back();
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

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    for (size_t i = 0; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

int HelpText::FindTopic(const std::string& id) const {
    for (size_t i = 0; i < topics.size(); ++i) {
        if (topics[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

int HelpText::FindKeyword(const char* prefix) const {
    for (size_t i = 0; i < index.size(); ++i) {
        if (StartsWithIgnoringCase(index[i].keyword, prefix)) return static_cast<int>(i);
    }
    return -1;
}

// "@topic id|Title" starts a topic, "@keys a;b;c" gives its index keywords, every other line is
// text. Line breaks become "\r\n" for the edit control.
HelpText ParseHelpText(const std::string& source) {
    HelpText help;
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (line.rfind("@topic ", 0) == 0) {
            const std::string rest = line.substr(7);
            const size_t bar = rest.find('|');
            HelpTopic topic;
            topic.id = Trimmed(rest.substr(0, bar));
            topic.title = bar == std::string::npos ? topic.id : Trimmed(rest.substr(bar + 1));
            help.topics.push_back(topic);
        } else if (help.topics.empty()) {
            continue;  // text before the first topic has nowhere to go
        } else if (line.rfind("@keys ", 0) == 0) {
            const std::string keys = line.substr(6);
            size_t from = 0;
            while (from <= keys.size()) {
                size_t to = keys.find(';', from);
                if (to == std::string::npos) to = keys.size();
                const std::string keyword = Trimmed(keys.substr(from, to - from));
                if (!keyword.empty()) {
                    help.index.push_back({keyword, static_cast<int>(help.topics.size() - 1)});
                }
                from = to + 1;
            }
        } else {
            std::string& body = help.topics.back().body;
            if (!body.empty()) body += "\r\n";
            body += line;
        }
    }
    for (HelpTopic& topic : help.topics) {
        while (topic.body.size() >= 2 && topic.body.compare(topic.body.size() - 2, 2, "\r\n") == 0) {
            topic.body.resize(topic.body.size() - 2);
        }
    }
    std::stable_sort(help.index.begin(), help.index.end(),
                     [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
                         return LessIgnoringCase(a.keyword, b.keyword);
                     });
    return help;
}

const HelpText& CorvaneHelpText() {
    return LoadedHelpText();
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
