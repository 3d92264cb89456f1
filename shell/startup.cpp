// Start-up: the shared state, the two window classes, the main window and the layout of its
// children from the metrics of the fixed system font, the subclassing, and the message loop.
#include <cstring>
#include <initializer_list>

#include "engine/box_edit.h"
#include "number/write_decimal.h"
#include "shell/layout.h"
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

bool RegisterClasses(HINSTANCE instance) {
    const WNDCLASSA mainClass = MainWindowClass(instance, WndProc, MainClassName);
    const WNDCLASSA cellClass = CellWindowClass(instance, CellProc, CellClassName);
    // A second start in the same process finds its classes registered already: use them.
    for (const WNDCLASSA* windowClass : {&mainClass, &cellClass}) {
        if (RegisterClassA(windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    return true;
}

HWND CreateChild(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id) {
    return CreateWindowExA(0, className, text, style, x, y, width, height, MainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance, nullptr);
}

// Upper row: bit i; lower row: bit 32 + i, right under it. Both cells of a column share id i.
bool CreateCells() {
    for (int i = 0; i < 32; ++i) {
        for (int bit : {i, 32 + i}) {
            const ChildPlace place = CellPlace(bit, ClientBottom);
            HWND window = CreateChild(CellClassName, nullptr, kVisibleChild, place.x, place.y, place.width,
                                      place.height, i);
            if (window == nullptr) return false;
            SetWindowLongA(window, 0, bit);
            CellWindows[bit] = window;
        }
    }
    return true;
}

bool CreateMarkers() {
    NibbleMarker = CreateChild("static", nullptr, kMarkerStyle, 0, 0, kNibbleMarkerWidth, 1, IDM_NIBBLEMARK);
    BitMarker = CreateChild("static", nullptr, kMarkerStyle, 0, 0, kBitMarkerWidth, 1, IDM_BITMARK);
    return NibbleMarker != nullptr && BitMarker != nullptr;
}

void SetFixedFont(HWND box) {
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), 0);
}

HWND CreatePlacedChild(const char* className, const char* text, DWORD style, const ChildPlace& place,
                       int id) {
    return CreateChild(className, text, style, place.x, place.y, place.width, place.height, id);
}

bool CreateBoxes(const FontMeasures& font, int margin) {
    ValueLabel = CreatePlacedChild("static", "&Value:", kVisibleChild | SS_LEFT,
                                   ValueLabelPlace(font, margin), IDM_VALUELABEL);
    ValueBox = CreatePlacedChild("edit", nullptr, kValueBoxStyle, ValueBoxPlace(font, margin), IDM_VALUEBOX);
    if (ValueBox != nullptr) SetFixedFont(ValueBox);
    HexLabel = CreatePlacedChild("static", "He&x:", kVisibleChild | SS_LEFT, HexLabelPlace(font, margin),
                                 IDM_HEXLABEL);
    HexBox = CreatePlacedChild("edit", nullptr, kHexBoxStyle, HexBoxPlace(font, margin), IDM_HEXBOX);
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
    BytesGroup = CreatePlacedChild("button", "&Bytes", kVisibleChild | BS_GROUPBOX,
                                   BytesGroupPlace(font, margin, clientWidth), IDM_BYTESGROUP);
    if (BytesGroup == nullptr) return false;
    for (int j = 0; j < kRadioCount; ++j) {
        char label[kMaxDecimalDigits + 1];  // the size: "1", "2", "4", "8"
        FormatDecimal(kSizeOfRadio[j], 1, label, sizeof label);
        RadioButtons[j] = CreatePlacedChild("button", label, kVisibleChild | BS_RADIOBUTTON,
                                            RadioPlace(font, margin, clientWidth, j), IDM_BYTES1 + j);
        if (RadioButtons[j] == nullptr) return false;
    }
    SendMessageA(RadioButtons[RadioOfSize[ByteCount]], BM_SETCHECK, 1, 0);
    return true;
}

bool CreatePushButtons(const FontMeasures& font, int margin) {
    for (int k = 0; k < 5; ++k) {
        PushButtons[k] = CreatePlacedChild("button", kPushButtonTexts[k], kVisibleChild | BS_PUSHBUTTON,
                                           PushButtonPlace(font, margin, k), IDM_BITSHIFTL + k);
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
    NormalHeight = NormalWindowHeight(font);
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
    Accelerators = LoadAcceleratorsA(instance, kAcceleratorsName);
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
