// The main window procedure: its objects, the commands of the menus, buttons and accelerators,
// the colours of its static controls, and the two edit boxes' change notifications.
#include <cstring>
#include <initializer_list>

#include "engine/bit_ops.h"
#include "engine/box_edit.h"
#include "engine/value_text.h"
#include "shell/shell.h"

namespace cv {

HPEN ClearBitPen, SetBitPen;
HBRUSH WindowBrush;

namespace {

HMENU MainMenu;

constexpr LONG kButtonTypeMask = 0xF;  // the BS_ type in the low four bits of a button's style

// ---- Objects ----

LRESULT OnCreate(HWND window) {
    MainMenu = GetMenu(window);
    ClearBitPen = CreatePen(PS_SOLID, 1, kClearBitColour);
    SetBitPen = CreatePen(PS_SOLID, 1, kSetBitColour);
    WindowBrush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    ComposeHelpPath();
    return 0;
}

LRESULT OnDestroy() {
    DeleteObject(ClearBitPen);
    DeleteObject(SetBitPen);
    DeleteObject(WindowBrush);
    ClearBitPen = SetBitPen = nullptr;
    WindowBrush = nullptr;
    PostQuitMessage(0);
    return 0;
}

// ---- Helpers of the commands ----

void CheckItem(UINT id, bool checked) {
    CheckMenuItem(MainMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void RepaintCells(int firstBit, int lastBit) {
    for (int bit = firstBit; bit <= lastBit; ++bit) InvalidateRect(CellWindows[bit], nullptr, FALSE);
}

// The exponent cells of a real of that format, the cells that may be shaded.
void RepaintExponentCells(const BinaryFormat& format) {
    RepaintCells(format.LowestExponentBit(), format.HighestExponentBit());
}

// Flips a 0/1 option and its check mark.
void ToggleOption(uint32_t& option, UINT id) {
    option = option != 0 ? 0 : 1;
    CheckItem(id, option != 0);
}

void SendCommand(HWND window, UINT id, LPARAM lParam) {
    SendMessageA(window, WM_COMMAND, id, lParam);
}

// ---- Options ----

void ToggleColorBits() {
    ToggleOption(ColorBits, IDM_COLOR);
    RepaintCells(0, 63);
}

// lParam 0: the menu's toggle; 4 or 8: only repaint the exponent cells of that size.
void OnShade(LPARAM size) {
    if (size == 0) {
        ToggleOption(ShadeExponent, IDM_SHADE);
        if (DataType != IDM_REAL) return;
        size = ByteCount;
    }
    if (size == 4) {
        RepaintExponentCells(kSingleFormat);
    } else {
        RepaintExponentCells(kDoubleFormat);
    }
}

void SelectShiftMode(UINT id) {
    if (ShiftMode == id) return;
    ShiftMode = id;
    for (UINT item : {IDM_SHIFT0, IDM_SHIFT1, IDM_ROTATE}) CheckItem(item, item == id);
}

bool OnOptionCommand(HWND window, UINT id, LPARAM lParam) {
    switch (id) {
        case IDM_COLOR: ToggleColorBits(); return true;
        case IDM_SHADE: OnShade(lParam); return true;
        case IDM_SHIFT0:
        case IDM_SHIFT1:
        case IDM_ROTATE: SelectShiftMode(id); return true;
        case IDM_ERRORBOXES: ToggleOption(ErrorBoxes, IDM_ERRORBOXES); return true;
        case IDM_REPORT: OpenReportDialog(window); return true;
        case IDM_EXIT: PostMessageA(window, WM_CLOSE, 0, 0); return true;
        default: return false;
    }
}

// ---- Data types ----

// The caption and the data-type check marks, shown alike for every type.
void ShowDataType(HWND window, uint32_t type) {
    char caption[sizeof MainClassName + 32];
    CopyText(caption, MainClassName);
    AppendText(caption, CaptionSuffix(type));
    SetWindowTextA(window, caption);
    for (UINT item : {IDM_ANSI, IDM_OEM, IDM_SIGNED, IDM_UNSIGNED, IDM_REAL}) CheckItem(item, item == type);
}

// Enables the radios of the other sizes the type allows, or disables those it does not allow.
// The common size's radio is never touched.
void EnableRadios(uint32_t type, bool allowed) {
    for (int radio = 0; radio < kRadioCount; ++radio) {
        const uint32_t size = kSizeOfRadio[radio];
        if (size != kCommonSize && TypeAllowsSize(type, size) == allowed)
            EnableWindow(RadioButtons[radio], allowed);
    }
}

// The new type, shown; the radios it allows enabled before the size follows it (a size the type
// does not allow is left through the common size's command, which renders the value box) and the
// others disabled after.
void ChangeDataType(HWND window, uint32_t type) {
    DataType = type;
    ShowDataType(window, type);
    EnableRadios(type, true);
    const uint32_t size = SizeAfterTypeChange(type, ByteCount);
    if (size != ByteCount) {
        SendCommand(window, IDM_BYTES1 + RadioOfSize[size], 0);
    } else {
        SendMessageA(window, WM_RECALCVALUEBOX, 0, 0);
    }
    EnableRadios(type, false);
}

void SelectCharacterType(HWND window, UINT id) {
    if (DataType == IDM_REAL && ShadeExponent == 1) SendCommand(window, IDM_SHADE, ByteCount);
    ChangeDataType(window, id);
}

void SelectIntegerType(HWND window, UINT id) {
    if (DataType == IDM_REAL && ShadeExponent == 1 && ByteCount == 4) SendCommand(window, IDM_SHADE, 4);
    ChangeDataType(window, id);
}

void SelectRealType(HWND window) {
    ChangeDataType(window, IDM_REAL);
    if (ShadeExponent == 1) SendCommand(window, IDM_SHADE, ByteCount);
}

bool OnDataTypeCommand(HWND window, UINT id) {
    if (id < IDM_ANSI || id > IDM_REAL) return false;
    if (DataType == id) return true;
    switch (id) {
        case IDM_ANSI:
        case IDM_OEM: SelectCharacterType(window, id); break;
        case IDM_SIGNED:
        case IDM_UNSIGNED: SelectIntegerType(window, id); break;
        default: SelectRealType(window); break;
    }
    return true;
}

// ---- Help ----

bool OnHelpCommand(HWND window, UINT id) {
    static const char kNoKeyword[] = "";
    switch (id) {
        case IDM_HELPCONTENTS: ShowHelp(window, HelpPath, HELP_CONTENTS, 0); return true;
        case IDM_HELPSEARCH:
            ShowHelp(window, HelpPath, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(kNoKeyword));
            return true;
        case IDM_HELPONHELP: ShowHelp(window, "winhelp.hlp", HELP_CONTENTS, 0); return true;
        case IDM_ABOUT: OpenAboutDialog(window); return true;
        default: return false;
    }
}

// ---- Byte counts ----

// Cells 8..31 come and go with the size; 0..7 always show, the lower row is uncovered by height.
void ShowUpperRowForSize(uint32_t size) {
    switch (size) {
        case 1:
            for (int bit = 8; bit <= 31; ++bit) ShowWindow(CellWindows[bit], SW_HIDE);
            break;
        case 2:
            for (int bit = 16; bit <= 31; ++bit) ShowWindow(CellWindows[bit], SW_HIDE);
            for (int bit = 8; bit <= 15; ++bit) ShowWindow(CellWindows[bit], SW_SHOWNA);
            break;
        default:
            for (int bit = 8; bit <= 31; ++bit) ShowWindow(CellWindows[bit], SW_SHOWNA);
            break;
    }
}

void SelectByteCount(HWND window, int radio) {
    const uint32_t size = kSizeOfRadio[radio];
    if (ByteCount == size) return;
    ByteCount = size;
    for (int j = 0; j < kRadioCount; ++j) SendMessageA(RadioButtons[j], BM_SETCHECK, j == radio ? 1 : 0, 0);
    SendMessageA(window, WM_RECALCVALUEBOX, 0, 0);
    SendMessageA(window, WM_RECALCHEXBOX, 0, 0);
    // Clear the nibble guard, then select nibble 0: the hex box's last digit, whatever the guard held.
    SendMessageA(CellWindows[0], WM_RBUTTONUP, 0, 0);
    SendMessageA(CellWindows[0], WM_RBUTTONDOWN, 0, 0);
    ShowUpperRowForSize(size);
    SetWindowPos(window, nullptr, 0, 0, WindowWidth, size == 8 ? TallHeight : NormalHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNA);
    if (DataType != IDM_REAL || ShadeExponent != 1) return;
    if (size == 4 || size == 8) RepaintExponentCells(kSingleFormat);
    if (size == 8) RepaintExponentCells(kDoubleFormat);
}

// ---- Bit operations of the push buttons ----

void RunBitOperation(HWND window, UINT id) {
    const int button = static_cast<int>(id - IDM_BITSHIFTL);
    FocusIndex = kFocusFirstPush + static_cast<uint32_t>(button);
    switch (id) {
        case IDM_BITSHIFTL: ShiftBitsLeft(window); break;
        case IDM_BITSHIFTR: ShiftBitsRight(window); break;
        case IDM_ZEROS: FillBits(0x00); break;
        case IDM_ONES: FillBits(0xFF); break;
        default: FlipBits(); break;
    }
    SendMessageA(window, WM_SYNCBITCELLS, 0, 0);
    SendMessageA(window, WM_RECALCVALUEBOX, 0, 0);
    SendMessageA(window, WM_RECALCHEXBOX, 0, 0);
    SendMessageA(PushButtons[button], BM_SETSTATE, 0, 0);
}

// ---- Focus and button accelerators ----

void FocusControl(uint32_t index, HWND control) {
    FocusIndex = index;
    SetFocus(control);
}

// Draws the button pushed around its command, and leaves the focus on it.
void PressPushButton(HWND window, int button) {
    HWND control = PushButtons[button];
    SendMessageA(control, BM_SETSTATE, 1, 0);
    SendCommand(window, IDM_BITSHIFTL + static_cast<UINT>(button), 0);
    SendMessageA(control, BM_SETSTATE, 0, 0);
    SetFocus(control);
}

bool OnAcceleratorCommand(HWND window, UINT id) {
    switch (id) {
        case IDM_FOCUSVALUE: FocusControl(kFocusValueBox, ValueBox); return true;
        case IDM_FOCUSHEX: FocusControl(kFocusHexBox, HexBox); return true;
        case IDM_FOCUSBYTES: FocusControl(kFocusRadio, RadioButtons[RadioOfSize[ByteCount]]); return true;
        case IDM_FOCUSBITS: SendMessageA(window, WM_SHOWBITFOCUS, 0, 0); return true;
        default: break;
    }
    if (id < IDM_KEYSHIFTL || id > IDM_KEYFLIP) return false;
    PressPushButton(window, static_cast<int>(id - IDM_KEYSHIFTL));
    return true;
}

// ---- The edit boxes' EN_UPDATE ----

// The box gets its last accepted text back (not taken for typing) and the caret where it belongs.
void RestoreBox(HWND box, const char* text, int caret) {
    EditArmed = 0;
    SetWindowTextA(box, text);
    SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(caret), caret);
}

int CaretOf(HWND box) {
    return static_cast<int>(LOWORD(SendMessageA(box, EM_GETSEL, 0, 0)));
}

void OnValueBoxUpdate(HWND window) {
    if (SwallowEditEcho()) return;
    // The whole text, so that a keystroke in a long rendering never cuts it, and one character
    // more, so that a text too long for a number (set from outside the program) is refused.
    char text[kValueReadSize];
    GetWindowTextA(ValueBox, text, sizeof text);
    const EditOutcome outcome = ValueBoxEdited(text, CaretOf(ValueBox), window);
    if (outcome.bitsChanged) {
        SendMessageA(window, WM_SYNCBITCELLS, 0, 0);
        SendMessageA(window, WM_RECALCHEXBOX, 0, 0);
    }
    RestoreBox(ValueBox, LastValueText, outcome.caret);
}

void OnHexBoxUpdate(HWND window) {
    if (SwallowEditEcho()) return;
    char text[kHexReadLimit];
    GetWindowTextA(HexBox, text, sizeof text);
    const EditOutcome outcome = HexBoxEdited(text, CaretOf(HexBox), window);
    if (outcome.bitsChanged) {
        SendMessageA(window, WM_SYNCBITCELLS, 0, 0);
        SendMessageA(window, WM_RECALCVALUEBOX, 0, 0);
    }
    RestoreBox(HexBox, LastHexText, outcome.caret);
}

// Only EN_UPDATE of the two boxes is handled; their other notifications are left alone.
bool OnEditNotification(HWND window, UINT id, UINT code) {
    if (code != EN_UPDATE) return false;
    if (id == IDM_VALUEBOX) {
        OnValueBoxUpdate(window);
    } else {
        OnHexBoxUpdate(window);
    }
    return true;
}

bool OnControlCommand(HWND window, UINT id, UINT code) {
    if (id == IDM_VALUEBOX || id == IDM_HEXBOX) return OnEditNotification(window, id, code);
    if (id >= IDM_BYTES1 && id <= IDM_BYTES8) {
        SelectByteCount(window, static_cast<int>(id - IDM_BYTES1));
        return true;
    }
    if (id >= IDM_BITSHIFTL && id <= IDM_FLIP) {
        RunBitOperation(window, id);
        return true;
    }
    return OnAcceleratorCommand(window, id);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const bool handled = OnOptionCommand(window, id, lParam) || OnDataTypeCommand(window, id) ||
                         OnHelpCommand(window, id) || OnControlCommand(window, id, HIWORD(wParam));
    return handled ? 0 : DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

// ---- Colours ----

LRESULT OnCtlColorStatic(WPARAM dc) {
    SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOW));
    SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(WindowBrush);
}

// Push buttons keep the system's button colours; radio buttons and the group box take the window's.
LRESULT OnCtlColorButton(HWND window, WPARAM dc, LPARAM control) {
    const LONG type = GetWindowLongA(reinterpret_cast<HWND>(control), GWL_STYLE) & kButtonTypeMask;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW) {
        return DefWindowProcA(window, WM_CTLCOLORBTN, dc, control);
    }
    return OnCtlColorStatic(dc);
}

// ---- Private messages ----

LRESULT OnRecalcValueBox(HWND window) {
    RenderValueText(LastValueText, sizeof LastValueText, window);
    const int font = DataType == IDM_OEM ? OEM_FIXED_FONT : SYSTEM_FIXED_FONT;
    SendMessageA(ValueBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(font)), 0);
    EditArmed = 0;
    SetWindowTextA(ValueBox, LastValueText);
    return 0;
}

LRESULT OnRecalcHexBox(HWND window) {
    RenderHexText(LastHexText, sizeof LastHexText, window);
    EditArmed = 0;
    SetWindowTextA(HexBox, LastHexText);
    return 0;
}

LRESULT OnPrivateMessage(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_SELECTNIBBLE: OnSelectNibble(window, static_cast<int>(wParam)); return 0;
        case WM_SHOWBITFOCUS: OnShowBitFocus(window); return 0;
        case WM_BITINFO: OnBitInfo(window, wParam); return 0;
        case WM_SYNCBITCELLS: OnSyncBitCells(window); return 0;
        case WM_RECALCVALUEBOX: return OnRecalcValueBox(window);
        default: return OnRecalcHexBox(window);
    }
}

LRESULT OnClientClick() {
    CurrentAlerts().Beep();
    return 0;
}

}  // namespace

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_SELECTNIBBLE && message <= WM_RECALCHEXBOX)
        return OnPrivateMessage(window, message, wParam);
    switch (message) {
        case WM_CREATE: return OnCreate(window);
        case WM_DESTROY: return OnDestroy();
        case WM_KEYDOWN: return OnMainKeyDown(window, wParam, lParam);
        case WM_COMMAND: return OnCommand(window, wParam, lParam);
        case WM_CTLCOLORBTN: return OnCtlColorButton(window, wParam, lParam);
        case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam);
        case WM_LBUTTONDOWN: return OnClientClick();
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace cv
