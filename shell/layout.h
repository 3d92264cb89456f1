// The main window's geometry and styles: where every child stands, from the fixed system font's
// measures. Win32 only, no engine: the benchmark's floor program builds the same window tree from
// these without linking Corvane.
#pragma once

#include <windows.h>

namespace cv {

constexpr int kMainWindowWidth = 445;
constexpr int kMainWindowX = 20;
constexpr int kMainWindowY = 20;
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kMarkerStyle = WS_CHILD | SS_BLACKFRAME;  // created hidden
constexpr DWORD kValueBoxStyle = kVisibleChild | WS_BORDER;
constexpr DWORD kHexBoxStyle = kVisibleChild | WS_BORDER | ES_NOHIDESEL | ES_UPPERCASE;
// The distance between neighbouring bit cells, and between the markers' places over them.
constexpr int kCellPitch = 13;
constexpr int kNibbleMarkerWidth = 4 * kCellPitch;
constexpr int kBitMarkerWidth = kCellPitch;

// Cells: bit 0 stands at the right, 14 pixels wide at kCellPitch (neighbours share a frame line).
constexpr int kRightmostCellX = 416;
constexpr int kCellWidth = 14;
constexpr int kCellHeight = 20;
constexpr int kUpperRowAboveBottom = 33;
constexpr int kLowerRowBelowBottom = 7;
constexpr int kTallExtra = 40;  // uncovers the lower row of cells

// Marker geometry: x of nibble 0 and of bit 0, and their distance from the client bottom.
constexpr int kNibbleZeroX = 377;
constexpr int kNibblePitch = 4 * kCellPitch;
constexpr int kUpperNibbleAboveBottom = 37;
constexpr int kLowerNibbleBelowBottom = 31;
constexpr int kBitZeroX = 417;
constexpr int kLowerBitZeroX = kBitZeroX + 32 * kCellPitch;  // 833: bit 32 sits right under bit 0
constexpr int kUpperBitAboveBottom = 9;
constexpr int kLowerBitBelowBottom = 3;

constexpr COLORREF kClearBitColour = RGB(255, 0, 0);
constexpr COLORREF kSetBitColour = RGB(0, 128, 0);

// The fixed system font's measures that the layout is built from.
struct FontMeasures {
    int lineHeight;  // h
    int charWidth;   // a
};

inline FontMeasures MeasureFixedFont(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return {metrics.tmHeight + metrics.tmExternalLeading, metrics.tmAveCharWidth};
}

// The two window classes, apart from their procedures and names. The icon, menu and accelerator
// table are resources of shell/resources/corvane.rc.
constexpr const char* kAcceleratorsName = "CV_ACCELS";
constexpr int kCellWindowBytes = 4;  // the CellWord

inline WNDCLASSA MainWindowClass(HINSTANCE instance, WNDPROC procedure, const char* name) {
    WNDCLASSA mainClass = {};
    mainClass.lpfnWndProc = procedure;
    mainClass.hInstance = instance;
    mainClass.hIcon = LoadIconA(instance, "BASEICON");
    mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    mainClass.lpszMenuName = "CV_MENU";
    mainClass.lpszClassName = name;
    return mainClass;
}

inline WNDCLASSA CellWindowClass(HINSTANCE instance, WNDPROC procedure, const char* name) {
    WNDCLASSA cellClass = {};
    cellClass.style = CS_DBLCLKS;
    cellClass.lpfnWndProc = procedure;
    cellClass.cbWndExtra = kCellWindowBytes;
    cellClass.hInstance = instance;
    cellClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cellClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    cellClass.lpszClassName = name;
    return cellClass;
}

struct ChildPlace {
    int x, y, width, height;
};

// The margin M of the layout from the client width W and the average character width a.
inline int LayoutMargin(int clientWidth, int averageCharWidth) {
    const int margin = (clientWidth - 37 * averageCharWidth - 26) / 3;
    return margin < 0 ? 0 : margin;
}

inline int NormalWindowHeight(const FontMeasures& font) {
    return 7 * font.lineHeight + 66 + GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYCAPTION);
}

// Upper row: bit i; lower row: bit 32 + i, right under it.
inline ChildPlace CellPlace(int bit, int clientBottom) {
    const int column = bit % 32;
    const int y = bit < 32 ? clientBottom - kUpperRowAboveBottom : clientBottom + kLowerRowBelowBottom;
    return {kRightmostCellX - kCellPitch * column, y, kCellWidth, kCellHeight};
}

inline ChildPlace ValueLabelPlace(const FontMeasures& f, int margin) {
    return {margin + 13, f.lineHeight + f.lineHeight / 4, 6 * f.charWidth, f.lineHeight};
}
inline ChildPlace ValueBoxPlace(const FontMeasures& f, int margin) {
    return {margin + 6 * f.charWidth + 13, f.lineHeight, 24 * f.charWidth, 3 * f.lineHeight / 2};
}
inline ChildPlace HexLabelPlace(const FontMeasures& f, int margin) {
    return {margin + 13, 3 * f.lineHeight + f.lineHeight / 4, 4 * f.charWidth, f.lineHeight};
}
inline ChildPlace HexBoxPlace(const FontMeasures& f, int margin) {
    return {margin + 6 * f.charWidth + 13, 3 * f.lineHeight, 24 * f.charWidth, 3 * f.lineHeight / 2};
}
inline ChildPlace BytesGroupPlace(const FontMeasures& f, int margin, int clientWidth) {
    return {clientWidth - 7 * f.charWidth - margin - 13, f.lineHeight / 2, 7 * f.charWidth,
            13 * f.lineHeight / 2};
}
// Radio j of "1", "2", "4", "8".
inline ChildPlace RadioPlace(const FontMeasures& f, int margin, int clientWidth, int radio) {
    return {clientWidth - 5 * f.charWidth - margin - 13, (radio + 2) * f.lineHeight, 4 * f.charWidth,
            f.lineHeight};
}
// Push button k of "&<", "&>", "&0's", "&1's", "&Flip".
inline ChildPlace PushButtonPlace(const FontMeasures& f, int margin, int button) {
    return {margin + 6 * f.charWidth * button + 13, 11 * f.lineHeight / 2, 6 * f.charWidth,
            3 * f.lineHeight / 2};
}
constexpr const char* kPushButtonTexts[5] = {"&<", "&>", "&0's", "&1's", "&Flip"};

// Where the nibble marker stands over hex digit nibble (0..15), and the bit marker under a bit.
inline POINT NibbleMarkerPlace(int nibble, int clientBottom) {
    if (nibble < 8) return {kNibbleZeroX - kNibblePitch * nibble, clientBottom - kUpperNibbleAboveBottom};
    return {kNibbleZeroX - kNibblePitch * (nibble - 8), clientBottom + kLowerNibbleBelowBottom};
}
inline POINT BitMarkerPlace(int bit, int clientBottom) {
    if (bit < 32) return {kBitZeroX - kCellPitch * bit, clientBottom - kUpperBitAboveBottom};
    return {kLowerBitZeroX - kCellPitch * bit, clientBottom + kLowerBitBelowBottom};
}

}  // namespace cv
