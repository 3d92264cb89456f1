// Reads the state of a running Corvane from outside, as the end-to-end script needs it: finds the
// main window by its class, reads texts, selections, focus, markers, cells and dialogs, and prints
// them one "name=value" per line. (Menus are private to their process under Wine, so the options
// are checked by what they do, not by their check marks.)
//
//   corvane_probe wait [seconds]   wait until the main window is visible (exit 1 if it never is)
//   corvane_probe state            print the snapshot
//   corvane_probe cell N           print the screen position of the centre of the cell of bit N
//   corvane_probe control ID       print the screen position of the centre of control ID
//   corvane_probe pixel X Y        print the colour of a screen pixel as RRGGBB
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/resources/resource_ids.h"

namespace {

constexpr int kCellCount = 64;
constexpr int kInfoTextId = 100;
constexpr int kStaticTextId = 0xFFFF;  // the text of a message box

HWND FindMain() {
    return FindWindowA("Corvane", nullptr);
}

// Line breaks and tabs are written as \r, \n and \t so that every value stays on one line.
std::string Escape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        switch (*p) {
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += *p; break;
        }
    }
    return out;
}

std::string TextOf(HWND window) {
    char text[512] = "";
    if (window) SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return Escape(text);
}

void PrintSelection(const char* name, HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::printf("%s=%lu,%lu\n", name, static_cast<unsigned long>(start), static_cast<unsigned long>(end));
}

// The control id of the focused window, "main" for the main window, "dialog:ID" for a control of
// a dialog, "none" when the program's thread has no focus.
std::string FocusName(HWND mainWindow) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(mainWindow, nullptr), &info) || !info.hwndFocus)
        return "none";
    if (info.hwndFocus == mainWindow) return "main";
    const int id = GetDlgCtrlID(info.hwndFocus);
    if (GetParent(info.hwndFocus) == mainWindow) return std::to_string(id);
    return "dialog:" + std::to_string(id);
}

// Client position of a child window.
POINT ChildOrigin(HWND mainWindow, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    POINT origin{rect.left, rect.top};
    ScreenToClient(mainWindow, &origin);
    return origin;
}

// The bit under or over which the bit marker stands, or -1 when it is hidden or elsewhere.
int MarkedBit(HWND mainWindow, int clientBottom) {
    HWND marker = GetDlgItem(mainWindow, IDM_BITMARK);
    if (!IsWindowVisible(marker)) return -1;
    const POINT at = ChildOrigin(mainWindow, marker);
    if (at.y == clientBottom - 9) return (417 - at.x) / 13;
    if (at.y == clientBottom + 3) return (833 - at.x) / 13;
    return -1;
}

int MarkedNibble(HWND mainWindow, int clientBottom) {
    HWND marker = GetDlgItem(mainWindow, IDM_NIBBLEMARK);
    if (!IsWindowVisible(marker)) return -1;
    const POINT at = ChildOrigin(mainWindow, marker);
    if (at.y == clientBottom - 37) return (377 - at.x) / 52;
    if (at.y == clientBottom + 31) return 8 + (377 - at.x) / 52;
    return -1;
}

struct CellSearch {
    HWND cells[kCellCount];
};

BOOL CALLBACK CollectCell(HWND child, LPARAM data) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (std::strcmp(className, "CV_Child") != 0) return TRUE;
    const DWORD word = static_cast<DWORD>(GetWindowLongA(child, 0));
    const unsigned bit = word & 0x7FFFFFFFu;
    if (bit < kCellCount) reinterpret_cast<CellSearch*>(data)->cells[bit] = child;
    return TRUE;
}

CellSearch FindCells(HWND mainWindow) {
    CellSearch search{};
    EnumChildWindows(mainWindow, CollectCell, reinterpret_cast<LPARAM>(&search));
    return search;
}

// Bits 63..0 as the cells show them (bit 31 of each CellWord).
std::string CellBits(const CellSearch& search) {
    std::string bits;
    for (int bit = kCellCount - 1; bit >= 0; --bit) {
        const HWND cell = search.cells[bit];
        if (!cell) return "?";
        bits += (static_cast<DWORD>(GetWindowLongA(cell, 0)) & 0x80000000u) ? '1' : '0';
    }
    return bits;
}

struct DialogSearch {
    DWORD thread;
    int count;
};

// Every visible dialog or message box of the program's thread.
BOOL CALLBACK PrintDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    if (GetWindowThreadProcessId(window, nullptr) != search->thread) return TRUE;
    ++search->count;
    std::printf("dialog=%s\n", TextOf(window).c_str());
    HWND info = GetDlgItem(window, kInfoTextId);
    if (info) {
        std::printf("dialogtext=%s\n", TextOf(info).c_str());
    }
    HWND boxText = GetDlgItem(window, kStaticTextId);
    if (boxText) std::printf("boxtext=%s\n", TextOf(boxText).c_str());
    return TRUE;
}

int CheckedSize(HWND mainWindow) {
    static const int sizes[4] = {1, 2, 4, 8};
    for (int j = 0; j < 4; ++j) {
        if (SendDlgItemMessageA(mainWindow, IDM_BYTES1 + j, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return sizes[j];
    }
    return 0;
}

int PrintState(HWND mainWindow) {
    RECT client{};
    GetClientRect(mainWindow, &client);
    RECT outer{};
    GetWindowRect(mainWindow, &outer);
    std::printf("caption=%s\n", TextOf(mainWindow).c_str());
    std::printf("value=%s\n", TextOf(GetDlgItem(mainWindow, IDM_VALUEBOX)).c_str());
    std::printf("hex=%s\n", TextOf(GetDlgItem(mainWindow, IDM_HEXBOX)).c_str());
    PrintSelection("valuesel", GetDlgItem(mainWindow, IDM_VALUEBOX));
    PrintSelection("hexsel", GetDlgItem(mainWindow, IDM_HEXBOX));
    std::printf("focus=%s\n", FocusName(mainWindow).c_str());
    std::printf("bitmark=%d\n", MarkedBit(mainWindow, client.bottom));
    std::printf("nibblemark=%d\n", MarkedNibble(mainWindow, client.bottom));
    std::printf("size=%d\n", CheckedSize(mainWindow));
    std::printf("height=%ld\n", static_cast<long>(outer.bottom - outer.top));
    std::printf("cells=%s\n", CellBits(FindCells(mainWindow)).c_str());
    DialogSearch search{GetWindowThreadProcessId(mainWindow, nullptr), 0};
    EnumWindows(PrintDialog, reinterpret_cast<LPARAM>(&search));
    std::printf("dialogs=%d\n", search.count);
    return 0;
}

int PrintCentre(HWND window) {
    if (!window) return 1;
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%ld %ld\n", static_cast<long>((rect.left + rect.right) / 2),
                static_cast<long>((rect.top + rect.bottom) / 2));
    return 0;
}

int PrintPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) return 1;
    std::printf("%02X%02X%02X\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return 0;
}

int Wait(double seconds) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        HWND mainWindow = FindMain();
        if (mainWindow && IsWindowVisible(mainWindow)) return 0;
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) return 1;
        Sleep(100);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "state";
    if (command == "wait") return Wait(argc > 2 ? std::atof(argv[2]) : 20.0);
    if (command == "pixel" && argc > 3) return PrintPixel(std::atoi(argv[2]), std::atoi(argv[3]));
    HWND mainWindow = FindMain();
    if (!mainWindow) {
        std::printf("error=no main window\n");
        return 1;
    }
    if (command == "state") return PrintState(mainWindow);
    if (command == "cell" && argc > 2) {
        const int bit = std::atoi(argv[2]);
        if (bit < 0 || bit >= kCellCount) return 2;
        return PrintCentre(FindCells(mainWindow).cells[bit]);
    }
    if (command == "control" && argc > 2) return PrintCentre(GetDlgItem(mainWindow, std::atoi(argv[2])));
    std::fprintf(stderr, "usage: corvane_probe wait [seconds] | state | cell N | control ID | pixel X Y\n");
    return 2;
}
