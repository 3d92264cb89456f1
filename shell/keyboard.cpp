// Corvane's own keyboard focus cycle (none of the controls has WS_TABSTOP), the radio buttons'
// arrow keys and the keys that work the bit cells while the main window has the focus.
#include "engine/bit_ops.h"
#include "shell/shell.h"

namespace cv {

bool FocusMoveOfKey(WPARAM key, FocusMove* move) {
    switch (key) {
        case VK_LEFT: *move = FocusMove::kLeft; return true;
        case VK_RIGHT: *move = FocusMove::kRight; return true;
        case VK_UP: *move = FocusMove::kUp; return true;
        case VK_DOWN: *move = FocusMove::kDown; return true;
        case VK_HOME: *move = FocusMove::kFirst; return true;
        case VK_END: *move = FocusMove::kLast; return true;
        default: return false;
    }
}

namespace {

constexpr int kPushButtonCount = 5;
constexpr int kCellCount = 64;

// Position of the current size among the radio buttons "1", "2", "4", "8".
uint32_t CurrentRadioPosition() {
    const uint32_t position = ByteCount < 9 ? RadioOfSize[ByteCount] : RadioOfSize[kCommonSize];
    return position < kRadioCount ? position : RadioOfSize[kCommonSize];
}

HWND CurrentSizeRadio() {
    return RadioButtons[CurrentRadioPosition()];
}

HWND PushButtonAt(uint32_t focusIndex) {
    return PushButtons[focusIndex - kFocusFirstPush];
}

void HideBitMarker() {
    ShowWindow(BitMarker, SW_HIDE);
}

// A Tab stores the new position at once, before anything acts on it; an error keeps it.
uint32_t StepFocusIndex() {
    const bool shiftDown = GetKeyState(VK_SHIFT) < 0;
    FocusIndex = shiftDown ? FocusIndex - 1 : FocusIndex + 1;
    return FocusIndex;
}

// The bit cells take the focus through the main window's own handler, which also moves the marker.
void FocusBitCells(HWND mainWindow) {
    SetFocus(mainWindow);
    SendMessageA(mainWindow, WM_SHOWBITFOCUS, 0, 0);
}

uint32_t EditFocusIndex(HWND edit) {
    return GetDlgCtrlID(edit) == IDM_VALUEBOX ? kFocusValueBox : kFocusHexBox;
}

// An edit box that takes the focus or sees a key names its own position and hides the marker.
void OnEditActive(HWND edit) {
    FocusIndex = EditFocusIndex(edit);
    HideBitMarker();
}

void OnEditTab(HWND edit) {
    switch (StepFocusIndex()) {
        case kFocusBeforeFirst:
            FocusIndex = kFocusBitCells;
            FocusBitCells(GetParent(edit));
            break;
        case kFocusValueBox: SetFocus(ValueBox); break;
        case kFocusHexBox: SetFocus(HexBox); break;
        case kFocusRadio: SetFocus(CurrentSizeRadio()); break;
        default: ReportInternalError(edit, "Unexpected Focus Value in EditProc"); break;
    }
}

void OnRadioTab(HWND radio) {
    switch (StepFocusIndex()) {
        case kFocusHexBox: SetFocus(HexBox); break;
        case kFocusFirstPush: SetFocus(PushButtonAt(kFocusFirstPush)); break;
        default: ReportInternalError(radio, "Unexpected Focus Value in RBtnProc"); break;
    }
}

// The arrows cycle through the sizes that the data type allows, wrapping at both ends.
void OnRadioArrow(HWND radio, bool forward) {
    const int next = RadioAfterArrow(DataType, CurrentRadioPosition(), forward);
    if (next < 0) return;  // no type chosen yet: no size to move to
    SendMessageA(GetParent(radio), WM_COMMAND, IDM_BYTES1 + static_cast<WPARAM>(next), 0);
    SetFocus(CurrentSizeRadio());
    FocusIndex = kFocusRadio;
}

uint32_t PushFocusIndex(HWND button) {
    for (int i = 0; i < kPushButtonCount; ++i) {
        if (PushButtons[i] == button) return kFocusFirstPush + i;
    }
    return kFocusFirstPush + static_cast<uint32_t>(GetDlgCtrlID(button) - IDM_BITSHIFTL);
}

void OnPushTab(HWND button) {
    const uint32_t focus = StepFocusIndex();
    switch (focus) {
        case kFocusRadio: SetFocus(CurrentSizeRadio()); break;
        case kFocusFirstPush:
        case kFocusFirstPush + 1:
        case kFocusFirstPush + 2:
        case kFocusFirstPush + 3:
        case kFocusLastPush: SetFocus(PushButtonAt(focus)); break;
        case kFocusBitCells: FocusBitCells(GetParent(button)); break;
        default: ReportInternalError(button, "Unexpected Focus Value in PBtnProc"); break;
    }
}

void OnMainTab(HWND window) {
    const uint32_t focus = StepFocusIndex();
    switch (focus) {
        case kFocusBeforeFirst:
            FocusIndex = kFocusBitCells;
            SendMessageA(window, WM_SHOWBITFOCUS, 0, 0);
            break;
        case kFocusValueBox: SetFocus(ValueBox); break;
        case kFocusHexBox: SetFocus(HexBox); break;
        case kFocusRadio: SetFocus(CurrentSizeRadio()); break;
        case kFocusFirstPush:
        case kFocusFirstPush + 1:
        case kFocusFirstPush + 2:
        case kFocusFirstPush + 3:
        case kFocusLastPush: SetFocus(PushButtonAt(focus)); break;
        case kFocusBitCells: SendMessageA(window, WM_SHOWBITFOCUS, 0, 0); break;
        case kFocusPastEnd:
            FocusIndex = kFocusValueBox;
            SetFocus(ValueBox);
            break;
        default: ReportInternalError(window, "Unexpected Focus Value in WndProc"); break;
    }
}

// The keys act on the cell of FocusBit through the same mouse messages a click would send.
void SendToFocusCell(UINT message) {
    if (FocusBit < 0 || FocusBit >= kCellCount) return;
    SendMessageA(CellWindows[FocusBit], message, 0, 0);
}

void OnBitCellKey(HWND window, WPARAM key) {
    FocusMove move;
    if (FocusMoveOfKey(key, &move)) {
        MoveFocusBit(move);
        SendMessageA(window, WM_SHOWBITFOCUS, 0, 0);
        return;
    }
    switch (key) {
        case VK_SPACE:
            SendToFocusCell(WM_LBUTTONDOWN);
            SendToFocusCell(WM_LBUTTONUP);
            break;
        case VK_ESCAPE: SendToFocusCell(WM_RBUTTONDOWN); break;
        case VK_RETURN: SendToFocusCell(WM_RBUTTONDBLCLK); break;
        default: break;
    }
}

bool InsertsText(WPARAM character) {
    return static_cast<unsigned char>(character) >= ' ';
}

}  // namespace

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS: OnEditActive(window); break;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) {
                OnEditTab(window);
                return 0;  // the edit control never sees the Tab
            }
            OnEditActive(window);
            if (wParam == VK_DELETE) return DeleteFromText(window, message, wParam, lParam, false);
            break;
        case WM_CHAR:
            if (wParam == '\t') return 0;  // no tab is typed into a box
            OnEditActive(window);
            if (InsertsText(wParam) && !TypedCharacterFits(window, wParam)) return 0;
            if (wParam == VK_BACK) return DeleteFromText(window, message, wParam, lParam, true);
            break;
        case WM_PASTE:
        case EM_REPLACESEL: return InsertIfItFits(window, message, wParam, lParam);
        case WM_SETTEXT: return SetTextIfItFits(window, message, wParam, lParam);
        default: break;
    }
    return CallWindowProcA(SavedEditProc, window, message, wParam, lParam);
}

LRESULT CALLBACK RBtnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
            FocusIndex = kFocusRadio;
            HideBitMarker();
            break;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) OnRadioTab(window);
            if (wParam == VK_LEFT || wParam == VK_UP) OnRadioArrow(window, false);
            if (wParam == VK_RIGHT || wParam == VK_DOWN) OnRadioArrow(window, true);
            break;
        default: break;
    }
    return CallWindowProcA(SavedRadioProc, window, message, wParam, lParam);
}

LRESULT CALLBACK PBtnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
            FocusIndex = PushFocusIndex(window);
            HideBitMarker();
            break;
        case WM_KEYDOWN:
            if (wParam == VK_TAB) OnPushTab(window);
            break;
        default: break;
    }
    return CallWindowProcA(SavedPushProc, window, message, wParam, lParam);
}

LRESULT OnMainKeyDown(HWND window, WPARAM key, LPARAM lParam) {
    if (key == VK_TAB) {
        OnMainTab(window);
    } else {
        OnBitCellKey(window, key);
    }
    return DefWindowProcA(window, WM_KEYDOWN, key, lParam);
}

}  // namespace cv
