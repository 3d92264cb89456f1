// Start-up: the shared state, the two window classes, the main window and the layout of its
// children from the metrics of the fixed system font, the subclassing, and the message loop.
#include <cstring>
#include <initializer_list>

#include "engine/box_edit.h"
#include "number/write_decimal.h"
#include "shell/shell.h"

namespace cv {

HINSTANCE Instance;
HWND MainWindow;
HWND CellWindows[64];
HWND NibbleMarker;
HWND BitMarker;
HWND ValueLabel, ValueBox, HexLabel, HexBox, BytesGroup;
HWND RadioButtons[kRadioCount];
HWND PushButtons[5];
WNDPROC SavedEditProc, SavedRadioProc, SavedPushProc;
int WindowWidth, NormalHeight, TallHeight, ClientBottom;
HACCEL Accelerators;
char MainClassName[32];
char CellClassName[12];

namespace {

constexpr int kMainWindowWidth = 445;
constexpr int kMainWindowX = 20;
constexpr int kMainWindowY = 20;
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kMarkerStyle = WS_CHILD | SS_BLACKFRAME;  // created hidden
constexpr DWORD kValueBoxStyle = kVisibleChild | WS_BORDER;
constexpr DWORD kHexBoxStyle = kVisibleChild | WS_BORDER | ES_NOHIDESEL | ES_UPPERCASE;

// Cells: bit 0 stands at the right, 14 pixels wide at kCellPitch (neighbours share a frame line).
constexpr int kRightmostCellX = 416;
constexpr int kCellWidth = 14;
constexpr int kCellHeight = 20;
constexpr int kUpperRowAboveBottom = 33;
constexpr int kLowerRowBelowBottom = 7;
constexpr int kTallExtra = 40;  // uncovers the lower row of cells

// The fixed system font's measures that the layout is built from.
struct FontMeasures {
    int lineHeight;  // h
    int charWidth;   // a
};

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSA mainClass = {};
    mainClass.lpfnWndProc = WndProc;
    mainClass.hInstance = instance;
    mainClass.hIcon = LoadIconA(instance, "BASEICON");
    mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    mainClass.lpszMenuName = "CV_MENU";
    mainClass.lpszClassName = MainClassName;

    WNDCLASSA cellClass = {};
    cellClass.style = CS_DBLCLKS;
    cellClass.lpfnWndProc = CellProc;
    cellClass.cbWndExtra = 4;  // the CellWord
    cellClass.hInstance = instance;
    cellClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cellClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    cellClass.lpszClassName = CellClassName;

    // A second start in the same process finds its classes registered already: use them.
    for (const WNDCLASSA* windowClass : {&mainClass, &cellClass}) {
        if (RegisterClassA(windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    return true;
}

FontMeasures MeasureFixedFont(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return {metrics.tmHeight + metrics.tmExternalLeading, metrics.tmAveCharWidth};
}

HWND CreateChild(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id) {
    return CreateWindowExA(0, className, text, style, x, y, width, height, MainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance, nullptr);
}

// Upper row: bit i; lower row: bit 32 + i, right under it. Both cells of a column share id i.
bool CreateCells() {
    for (int i = 0; i < 32; ++i) {
        const int x = kRightmostCellX - kCellPitch * i;
        const struct {
            int bit;
            int y;
        } cells[] = {{i, ClientBottom - kUpperRowAboveBottom}, {32 + i, ClientBottom + kLowerRowBelowBottom}};
        for (const auto& cell : cells) {
            HWND window =
                CreateChild(CellClassName, nullptr, kVisibleChild, x, cell.y, kCellWidth, kCellHeight, i);
            if (window == nullptr) return false;
            SetWindowLongA(window, 0, cell.bit);
            CellWindows[cell.bit] = window;
        }
    }
    return true;
}

bool CreateMarkers() {
    NibbleMarker = CreateChild("static", nullptr, kMarkerStyle, 0, 0, 52, 1, IDM_NIBBLEMARK);
    BitMarker = CreateChild("static", nullptr, kMarkerStyle, 0, 0, 13, 1, IDM_BITMARK);
    return NibbleMarker != nullptr && BitMarker != nullptr;
}

void SetFixedFont(HWND box) {
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), 0);
}

bool CreateBoxes(const FontMeasures& font, int margin) {
    const int h = font.lineHeight;
    const int a = font.charWidth;
    const int left = margin + 13;
    const int boxLeft = margin + 6 * a + 13;
    ValueLabel =
        CreateChild("static", "&Value:", kVisibleChild | SS_LEFT, left, h + h / 4, 6 * a, h, IDM_VALUELABEL);
    ValueBox = CreateChild("edit", nullptr, kValueBoxStyle, boxLeft, h, 24 * a, 3 * h / 2, IDM_VALUEBOX);
    if (ValueBox != nullptr) SetFixedFont(ValueBox);
    HexLabel =
        CreateChild("static", "He&x:", kVisibleChild | SS_LEFT, left, 3 * h + h / 4, 4 * a, h, IDM_HEXLABEL);
    HexBox = CreateChild("edit", nullptr, kHexBoxStyle, boxLeft, 3 * h, 24 * a, 3 * h / 2, IDM_HEXBOX);
    if (ValueLabel == nullptr || ValueBox == nullptr || HexLabel == nullptr || HexBox == nullptr)
        return false;
    SetFixedFont(HexBox);
    // A backstop: nothing typed or pasted makes a box's text longer than its longest accepted one.
    SendMessageA(ValueBox, EM_LIMITTEXT, kMaxValueTextLength, 0);
    SendMessageA(HexBox, EM_LIMITTEXT, kMaxHexTextLength, 0);
    // Its echo finds EditArmed clear and is not taken for typing; it is also the text a rejected
    // hex entry falls back to before the first rendering.
    SetWindowTextA(HexBox, "00000000");
    CopyText(LastHexText, "00000000");
    return true;
}

bool CreateByteCountGroup(const FontMeasures& font, int margin, int clientWidth) {
    const int h = font.lineHeight;
    const int a = font.charWidth;
    BytesGroup = CreateChild("button", "&Bytes", kVisibleChild | BS_GROUPBOX,
                             clientWidth - 7 * a - margin - 13, h / 2, 7 * a, 13 * h / 2, IDM_BYTESGROUP);
    if (BytesGroup == nullptr) return false;
    for (int j = 0; j < kRadioCount; ++j) {
        char label[kMaxDecimalDigits + 1];  // the size: "1", "2", "4", "8"
        FormatDecimal(kSizeOfRadio[j], 1, label, sizeof label);
        RadioButtons[j] =
            CreateChild("button", label, kVisibleChild | BS_RADIOBUTTON, clientWidth - 5 * a - margin - 13,
                        (j + 2) * h, 4 * a, h, IDM_BYTES1 + j);
        if (RadioButtons[j] == nullptr) return false;
    }
    SendMessageA(RadioButtons[RadioOfSize[ByteCount]], BM_SETCHECK, 1, 0);
    return true;
}

bool CreatePushButtons(const FontMeasures& font, int margin) {
    const int h = font.lineHeight;
    const int a = font.charWidth;
    static const char* const kButtonTexts[5] = {"&<", "&>", "&0's", "&1's", "&Flip"};
    for (int k = 0; k < 5; ++k) {
        PushButtons[k] =
            CreateChild("button", kButtonTexts[k], kVisibleChild | BS_PUSHBUTTON, margin + 6 * a * k + 13,
                        11 * h / 2, 6 * a, 3 * h / 2, IDM_BITSHIFTL + k);
        if (PushButtons[k] == nullptr) return false;
    }
    return true;
}

WNDPROC WindowProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void Subclass(HWND window, WNDPROC procedure) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// The controls of the program's own focus cycle, whose Tab and arrow keys are caught first.
void SubclassFocusControls() {
    SavedEditProc = WindowProcOf(ValueBox);
    Subclass(ValueBox, EditProc);
    Subclass(HexBox, EditProc);
    SavedRadioProc = WindowProcOf(RadioButtons[0]);
    for (HWND radio : RadioButtons) Subclass(radio, RBtnProc);
    SavedPushProc = WindowProcOf(PushButtons[0]);
    for (HWND button : PushButtons) Subclass(button, PBtnProc);
}

void ResetShellState() {
    ResetState();
    ResetWindowState();
    CopyText(MainClassName, "Corvane");
    CopyText(CellClassName, "CV_Child");
    WindowWidth = kMainWindowWidth;
}

// Everything inside the main window, laid out from the font's measures.
bool LayOutMainWindow() {
    const FontMeasures font = MeasureFixedFont(MainWindow);
    NormalHeight = 7 * font.lineHeight + 66 + GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYCAPTION);
    TallHeight = NormalHeight + kTallExtra;
    SetWindowPos(MainWindow, nullptr, 0, 0, WindowWidth, NormalHeight, SWP_NOZORDER | SWP_NOMOVE);
    RECT client = {};
    GetClientRect(MainWindow, &client);
    ClientBottom = client.bottom;
    const int margin = LayoutMargin(client.right, font.charWidth);
    if (!CreateCells() || !CreateMarkers() || !CreateBoxes(font, margin) ||
        !CreateByteCountGroup(font, margin, client.right) || !CreatePushButtons(font, margin)) {
        return false;
    }
    SubclassFocusControls();
    return true;
}

}  // namespace

int LayoutMargin(int clientWidth, int averageCharWidth) {
    const int margin = (clientWidth - 37 * averageCharWidth - 26) / 3;
    return margin < 0 ? 0 : margin;
}

HWND StartCorvane(HINSTANCE instance, HINSTANCE previous, int showCommand) {
    ResetShellState();
    InstallWin32Alerts();  // the engine's beeps and boxes are the real ones from the start
    if (previous == nullptr && !RegisterClasses(instance)) return nullptr;
    Instance = instance;
    MainWindow = CreateWindowExA(0, MainClassName, MainClassName, kMainWindowStyle, kMainWindowX,
                                 kMainWindowY, 0, 0, nullptr, nullptr, instance, nullptr);
    if (MainWindow == nullptr) return nullptr;
    if (!LayOutMainWindow()) {
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
        return nullptr;
    }
    SendMessageA(MainWindow, WM_COMMAND, IDM_SIGNED, 0);
    ShowWindow(MainWindow, showCommand);
    SendMessageA(MainWindow, WM_SELECTNIBBLE, 0, 0);
    SendMessageA(MainWindow, WM_SHOWBITFOCUS, 0, 0);
    UpdateWindow(MainWindow);
    Accelerators = LoadAcceleratorsA(instance, "CV_ACCELS");
    return MainWindow;
}

int RunMessageLoop() {
    MSG message = {};
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return 1;  // no message can be had any more: end instead of spinning
        if (HelpViewerTakesMessage(&message)) continue;
        if (!TranslateAcceleratorA(MainWindow, Accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

}  // namespace cv
