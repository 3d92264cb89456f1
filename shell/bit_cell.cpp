// The bit cell control ("CV_Child") and the main window's handlers that serve the cells: the
// nibble marker over the selected hex digit, the bit marker at the focused bit, and the
// resynchronisation of every cell's drawing with BitValue.
#include <cstring>

#include "engine/bit_info.h"
#include "engine/bit_ops.h"
#include "shell/shell.h"

namespace cv {
namespace {

uint32_t CellWord(HWND cell) {
    return static_cast<uint32_t>(GetWindowLongA(cell, 0));
}

void SetCellWord(HWND cell, uint32_t word) {
    SetWindowLongA(cell, 0, static_cast<LONG>(word));
}

void RepaintCell(HWND cell) {
    InvalidateRect(cell, nullptr, FALSE);
}

bool IsShadedCell(int bit) {
    if (DataType != IDM_REAL || ShadeExponent != 1) return false;
    const BinaryFormat* format = RealFormat(ByteCount);
    return format != nullptr && bit >= format->LowestExponentBit() && bit <= format->HighestExponentBit();
}

HGDIOBJ MarkPen(bool shaded, bool set) {
    if (shaded || ColorBits == 0) return GetStockObject(BLACK_PEN);
    return set ? SetBitPen : ClearBitPen;
}

// A set bit is a vertical stroke, a clear one an oval, in a black frame on white or light grey.
void PaintCell(HWND cell) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(cell, &paint);
    const uint32_t word = CellWord(cell);
    const bool set = (word & kCellSetFlag) != 0;
    const bool shaded = IsShadedCell(static_cast<int>(word & kCellBitMask));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(shaded ? LTGRAY_BRUSH : WHITE_BRUSH));
    RECT area;
    GetClientRect(cell, &area);
    Rectangle(dc, 0, 0, area.right, area.bottom);
    HGDIOBJ previousPen = SelectObject(dc, MarkPen(shaded, set));
    if (set) {
        MoveToEx(dc, area.right / 2, area.top + 2, nullptr);
        LineTo(dc, area.right / 2, area.bottom - 2);
    } else {
        Ellipse(dc, area.left + 2, area.top + 2, area.right - 2, area.bottom - 2);
    }
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    EndPaint(cell, &paint);
}

// A left press: toggle this cell's bit once per visit of a drag.
void ToggleCell(HWND cell, WPARAM keys) {
    // A press of the real button starts a new drag: the guard may still name this cell after a
    // release outside every cell, and the user's click must not be lost. The presses that the
    // program sends itself (drag moves, Space, the double-click) carry no MK_LBUTTON.
    if ((keys & MK_LBUTTON) != 0) LastToggledBit = kNoBit;
    const uint32_t word = CellWord(cell);
    const int bit = static_cast<int>(word & kCellBitMask);
    if (bit == LastToggledBit) return;
    LastToggledBit = bit;
    FocusBit = bit;
    SetCellWord(cell, word ^ kCellSetFlag);
    RepaintCell(cell);
    HWND parent = GetParent(cell);
    SendMessageA(parent, WM_SHOWBITFOCUS, 0, 0);
    ToggleBit(FocusBit);
    SendMessageA(parent, WM_RECALCVALUEBOX, 0, 0);
    SendMessageA(parent, WM_RECALCHEXBOX, 0, 0);
}

// A right press: select this cell's hex digit once per visit of a drag.
void SelectCellNibble(HWND cell) {
    const int nibble = static_cast<int>((CellWord(cell) & kCellBitMask) >> 2);
    if (nibble == LastNibble) return;
    LastNibble = nibble;
    SendMessageA(GetParent(cell), WM_SELECTNIBBLE, static_cast<WPARAM>(nibble), 0);
}

// Moves with a button held act as presses on the cell the pointer has entered.
void FollowDrag(HWND cell, WPARAM keys) {
    if ((keys & MK_RBUTTON) != 0) SendMessageA(cell, WM_RBUTTONDOWN, 0, 0);
    if ((keys & MK_LBUTTON) != 0) SendMessageA(cell, WM_LBUTTONDOWN, 0, 0);
}

void AskForBitInfo(HWND cell) {
    SendMessageA(GetParent(cell), WM_BITINFO, CellWord(cell), 0);
}

void MoveMarker(HWND marker, int x, int y) {
    SetWindowPos(marker, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    ShowWindow(marker, SW_SHOWNA);
}

}  // namespace

LRESULT CALLBACK CellProc(HWND cell, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: SetCellWord(cell, 0); return 0;
        case WM_DESTROY: return 0;
        case WM_PAINT: PaintCell(cell); return 0;
        case WM_LBUTTONDOWN: ToggleCell(cell, wParam); return 0;
        case WM_LBUTTONDBLCLK: SendMessageA(cell, WM_LBUTTONDOWN, 0, 0); return 0;
        case WM_LBUTTONUP: LastToggledBit = kNoBit; return 0;
        case WM_MOUSEMOVE: FollowDrag(cell, wParam); return 0;
        case WM_RBUTTONDOWN: SelectCellNibble(cell); return 0;
        case WM_RBUTTONUP: LastNibble = kNoNibble; return 0;
        case WM_RBUTTONDBLCLK: AskForBitInfo(cell); return 0;
        default: return DefWindowProcA(cell, message, wParam, lParam);
    }
}

void OnSelectNibble(HWND window, int nibble) {
    // Digit 0 is the last character of the hex text.
    const int limit = static_cast<int>(2 * ByteCount + 1);
    GetWindowTextA(HexBox, WorkText, limit < static_cast<int>(kWorkTextSize) ? limit : kWorkTextSize);
    const int length = static_cast<int>(std::strlen(WorkText));
    const int first = length - nibble - 1;
    if (first >= 0) {
        SendDlgItemMessageA(window, IDM_HEXBOX, EM_SETSEL, static_cast<WPARAM>(first), first + 1);
    } else {
        SendDlgItemMessageA(window, IDM_HEXBOX, EM_SETSEL, 0, 0);
    }
    SetFocus(HexBox);
    FocusIndex = kFocusHexBox;
    const POINT marker = NibbleMarkerPlace(nibble, ClientBottom);
    MoveMarker(NibbleMarker, marker.x, marker.y);
}

void OnShowBitFocus(HWND window) {
    SetFocus(window);
    FocusIndex = kFocusBitCells;
    const POINT marker = BitMarkerPlace(FocusBit, ClientBottom);
    MoveMarker(BitMarker, marker.x, marker.y);
}

void OnSyncBitCells(HWND /*window*/) {
    const uint32_t halves[2] = {BitValue[0], BitValue[1]};
    for (int i = 0; i < 32; ++i) {
        for (int half = 0; half < 2; ++half) {
            const int bit = 32 * half + i;
            HWND cell = CellWindows[bit];
            const bool valueSet = ((halves[half] >> i) & 1u) != 0;
            const bool cellSet = (CellWord(cell) & kCellSetFlag) != 0;
            if (valueSet == cellSet) continue;
            SetCellWord(cell,
                        valueSet ? (static_cast<uint32_t>(bit) | kCellSetFlag) : static_cast<uint32_t>(bit));
            RepaintCell(cell);
        }
    }
}

}  // namespace cv
