// The floor's window tree and the least window work that shows a view (see floor_window.h).
#include "bench/win/floor_window.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "shell/layout.h"

namespace floorbench {

namespace {

const char kFloorClassName[] = "CvFloor";
const char kFloorCellClassName[] = "CvFloorCell";
const char* const kRadioLabels[kRadios] = {"1", "2", "4", "8"};
constexpr LONG kButtonTypeMask = 0xF;
constexpr uint32_t kCellSetFlag = 0x80000000u;  // Corvane's cell word: the bit shown set
constexpr uint32_t kCellBitMask = ~kCellSetFlag;

Floor* FloorOf(HWND window) {
    return reinterpret_cast<Floor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void CopyText(char* target, size_t size, const char* text) {
    snprintf(target, size, "%s", text);
}

// ---- Cells: the same drawing as Corvane's, from the floor's memory ----

void PaintCell(HWND cell) {
    const Floor* floor = FloorOf(GetParent(cell));
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(cell, &paint);
    const int bit = static_cast<int>(static_cast<uint32_t>(GetWindowLongA(cell, 0)) & kCellBitMask);
    const bool set = ((floor->shown.bits >> bit) & 1) != 0;
    const bool shaded = ((floor->shown.shaded >> bit) & 1) != 0;
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(shaded ? LTGRAY_BRUSH : WHITE_BRUSH));
    RECT area;
    GetClientRect(cell, &area);
    Rectangle(dc, 0, 0, area.right, area.bottom);
    HGDIOBJ pen = shaded || !floor->shown.colorBits ? GetStockObject(BLACK_PEN)
                  : set                             ? floor->setBitPen
                                                    : floor->clearBitPen;
    HGDIOBJ previousPen = SelectObject(dc, pen);
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

// The pending view of an action, shown once.
void ShowPending(Floor& floor) {
    const FloorView* view = floor.pending;
    if (view == nullptr) return;
    floor.pending = nullptr;
    ShowView(floor, *view);
}

LRESULT CALLBACK FloorCellProc(HWND cell, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: PaintCell(cell); return 0;
        case WM_LBUTTONDOWN: ShowPending(*FloorOf(GetParent(cell))); return 0;
        case WM_LBUTTONUP: return 0;
        default: return DefWindowProcA(cell, message, wParam, lParam);
    }
}

// ---- The main window ----

void OnEditUpdate(Floor& floor, HWND box) {
    if (floor.pending == nullptr || box != floor.typedBox) return;
    // The edit control has taken the keystroke: its text and caret are the typed ones.
    if (box == floor.windows.valueBox) {
        CopyText(floor.shown.valueText, sizeof floor.shown.valueText, floor.typedText);
    } else {
        CopyText(floor.shown.hexText, sizeof floor.shown.hexText, floor.typedText);
        floor.shown.hexSelection = MAKELONG(floor.typedCaret, floor.typedCaret);
    }
    floor.typedBox = nullptr;
    ShowPending(floor);
}

LRESULT OnCtlColorStatic(const Floor& floor, WPARAM dc) {
    SetBkColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOW));
    SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(floor.windowBrush);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    Floor* floor = FloorOf(window);
    if (floor == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            floor->clearBitPen = CreatePen(PS_SOLID, 1, cv::kClearBitColour);
            floor->setBitPen = CreatePen(PS_SOLID, 1, cv::kSetBitColour);
            floor->windowBrush = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
            return 0;
        case WM_DESTROY:
            DeleteObject(floor->clearBitPen);
            DeleteObject(floor->setBitPen);
            DeleteObject(floor->windowBrush);
            floor->clearBitPen = floor->setBitPen = nullptr;
            floor->windowBrush = nullptr;
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            if (lParam == 0) {
                ShowPending(*floor);
            } else if (HIWORD(wParam) == EN_UPDATE) {
                OnEditUpdate(*floor, reinterpret_cast<HWND>(lParam));
            }
            return 0;
        case WM_CTLCOLORSTATIC: return OnCtlColorStatic(*floor, wParam);
        case WM_CTLCOLORBTN: {
            const LONG type = GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_STYLE) & kButtonTypeMask;
            if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW) break;
            return OnCtlColorStatic(*floor, wParam);
        }
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePlaced(const Floor& floor, const char* className, const char* text, DWORD style,
                  const cv::ChildPlace& place, int id) {
    return CreateWindowExA(0, className, text, style, place.x, place.y, place.width, place.height,
                           floor.windows.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(floor.windows.main, GWLP_HINSTANCE)),
                           nullptr);
}

void SetFixedFont(HWND box) {
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)), 0);
}

// The children in Corvane's order of creation, at Corvane's places.
bool CreateChildren(Floor& floor) {
    WindowTree& w = floor.windows;
    const cv::FontMeasures font = cv::MeasureFixedFont(w.main);
    const int normalHeight = cv::NormalWindowHeight(font);
    SetWindowPos(w.main, nullptr, 0, 0, cv::kMainWindowWidth, normalHeight, SWP_NOZORDER | SWP_NOMOVE);
    RECT client = {};
    GetClientRect(w.main, &client);
    floor.clientBottom = client.bottom;
    const int margin = cv::LayoutMargin(client.right, font.charWidth);
    for (int i = 0; i < 32; ++i) {
        for (int bit : {i, 32 + i}) {
            w.cells[bit] = CreatePlaced(floor, kFloorCellClassName, nullptr, cv::kVisibleChild,
                                        cv::CellPlace(bit, floor.clientBottom), i);
            if (w.cells[bit] == nullptr) return false;
            SetWindowLongA(w.cells[bit], 0, bit);
        }
    }
    w.nibbleMarker = CreatePlaced(floor, "static", nullptr, cv::kMarkerStyle,
                                  {0, 0, cv::kNibbleMarkerWidth, 1}, IDM_NIBBLEMARK);
    w.bitMarker =
        CreatePlaced(floor, "static", nullptr, cv::kMarkerStyle, {0, 0, cv::kBitMarkerWidth, 1}, IDM_BITMARK);
    w.valueLabel = CreatePlaced(floor, "static", "&Value:", cv::kVisibleChild | SS_LEFT,
                                cv::ValueLabelPlace(font, margin), IDM_VALUELABEL);
    w.valueBox = CreatePlaced(floor, "edit", nullptr, cv::kValueBoxStyle, cv::ValueBoxPlace(font, margin),
                              IDM_VALUEBOX);
    if (w.valueBox != nullptr) SetFixedFont(w.valueBox);
    w.hexLabel = CreatePlaced(floor, "static", "He&x:", cv::kVisibleChild | SS_LEFT,
                              cv::HexLabelPlace(font, margin), IDM_HEXLABEL);
    w.hexBox =
        CreatePlaced(floor, "edit", nullptr, cv::kHexBoxStyle, cv::HexBoxPlace(font, margin), IDM_HEXBOX);
    if (w.nibbleMarker == nullptr || w.bitMarker == nullptr || w.valueLabel == nullptr ||
        w.valueBox == nullptr || w.hexLabel == nullptr || w.hexBox == nullptr)
        return false;
    SetFixedFont(w.hexBox);
    w.bytesGroup = CreatePlaced(floor, "button", "&Bytes", cv::kVisibleChild | BS_GROUPBOX,
                                cv::BytesGroupPlace(font, margin, client.right), IDM_BYTESGROUP);
    if (w.bytesGroup == nullptr) return false;
    for (int j = 0; j < kRadios; ++j) {
        w.radios[j] = CreatePlaced(floor, "button", kRadioLabels[j], cv::kVisibleChild | BS_RADIOBUTTON,
                                   cv::RadioPlace(font, margin, client.right, j), IDM_BYTES1 + j);
        if (w.radios[j] == nullptr) return false;
    }
    for (int k = 0; k < 5; ++k) {
        w.pushes[k] =
            CreatePlaced(floor, "button", cv::kPushButtonTexts[k], cv::kVisibleChild | BS_PUSHBUTTON,
                         cv::PushButtonPlace(font, margin, k), IDM_BITSHIFTL + k);
        if (w.pushes[k] == nullptr) return false;
    }
    return true;
}

int FocusOf(const WindowTree& tree) {
    HWND focus = GetFocus();
    if (focus == nullptr) return kFocusNone;
    if (focus == tree.main) return kFocusMain;
    return GetDlgCtrlID(focus);
}

HWND WindowOfFocus(const WindowTree& tree, int focus) {
    if (focus == kFocusMain) return tree.main;
    return focus == kFocusNone ? nullptr : GetDlgItem(tree.main, focus);
}

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

void MoveMarker(HWND marker, POINT from, bool wasShown, POINT to, bool shown) {
    if (!SamePoint(from, to)) SetWindowPos(marker, HWND_TOP, to.x, to.y, 0, 0, SWP_NOSIZE);
    if (shown != wasShown) ShowWindow(marker, shown ? SW_SHOWNA : SW_HIDE);
}

void InvalidateCells(const Floor& floor, uint64_t cells) {
    for (int bit = 0; bit < 64; ++bit) {
        if ((cells >> bit) & 1) InvalidateRect(floor.windows.cells[bit], nullptr, FALSE);
    }
}

POINT MarkerPlace(HWND marker, HWND main) {
    RECT place;
    GetWindowRect(marker, &place);
    POINT corner = {place.left, place.top};
    ScreenToClient(main, &corner);
    return corner;
}

}  // namespace

FloorView ReadWindows(const WindowTree& tree) {
    FloorView view = {};
    GetWindowTextA(tree.main, view.caption, sizeof view.caption);
    GetWindowTextA(tree.valueBox, view.valueText, sizeof view.valueText);
    GetWindowTextA(tree.hexBox, view.hexText, sizeof view.hexText);
    view.hexSelection = static_cast<DWORD>(SendMessageA(tree.hexBox, EM_GETSEL, 0, 0));
    view.oemFont = reinterpret_cast<HGDIOBJ>(SendMessageA(tree.valueBox, WM_GETFONT, 0, 0)) ==
                   GetStockObject(OEM_FIXED_FONT);
    HMENU menu = GetMenu(tree.main);
    for (int i = 0; i < kMenuItemCount; ++i) {
        if (GetMenuState(menu, kMenuItems[i], MF_BYCOMMAND) & MF_CHECKED) view.checkedMenu |= 1u << i;
    }
    view.checkedRadio = -1;
    for (int j = 0; j < kRadios; ++j) {
        if (SendMessageA(tree.radios[j], BM_GETCHECK, 0, 0) == BST_CHECKED) view.checkedRadio = j;
        if (IsWindowEnabled(tree.radios[j])) view.enabledRadios |= 1u << j;
    }
    for (int i = 0; i < 24; ++i) {
        if ((GetWindowLongA(tree.cells[8 + i], GWL_STYLE) & WS_VISIBLE) == 0) view.hiddenCells |= 1u << i;
    }
    RECT frame;
    GetWindowRect(tree.main, &frame);
    view.windowHeight = frame.bottom - frame.top;
    view.nibbleMarker = MarkerPlace(tree.nibbleMarker, tree.main);
    view.bitMarker = MarkerPlace(tree.bitMarker, tree.main);
    view.nibbleMarkerShown = (GetWindowLongA(tree.nibbleMarker, GWL_STYLE) & WS_VISIBLE) != 0;
    view.bitMarkerShown = (GetWindowLongA(tree.bitMarker, GWL_STYLE) & WS_VISIBLE) != 0;
    view.focus = FocusOf(tree);
    return view;
}

bool SameView(const FloorView& expected, const FloorView& seen, char* difference, size_t size) {
    const auto differs = [&](const char* field, long long want, long long got) {
        snprintf(difference, size, "%s: expected %lld (0x%llX), seen %lld (0x%llX)", field, want,
                 static_cast<unsigned long long>(want), got, static_cast<unsigned long long>(got));
        return false;
    };
    const auto textDiffers = [&](const char* field, const char* want, const char* got) {
        snprintf(difference, size, "%s: expected \"%s\", seen \"%s\"", field, want, got);
        return false;
    };
    const FloorView& e = expected;
    const FloorView& s = seen;
    if (std::strcmp(e.caption, s.caption) != 0) return textDiffers("caption", e.caption, s.caption);
    if (std::strcmp(e.valueText, s.valueText) != 0) return textDiffers("value box", e.valueText, s.valueText);
    if (std::strcmp(e.hexText, s.hexText) != 0) return textDiffers("hex box", e.hexText, s.hexText);
    if (e.hexSelection != s.hexSelection) return differs("hex selection", e.hexSelection, s.hexSelection);
    if (e.bits != s.bits)
        return differs("cells set", static_cast<long long>(e.bits), static_cast<long long>(s.bits));
    if (e.shaded != s.shaded)
        return differs("cells shaded", static_cast<long long>(e.shaded), static_cast<long long>(s.shaded));
    if (e.colorBits != s.colorBits) return differs("colour", e.colorBits, s.colorBits);
    if (e.oemFont != s.oemFont) return differs("OEM font", e.oemFont, s.oemFont);
    if (e.checkedMenu != s.checkedMenu) return differs("menu checks", e.checkedMenu, s.checkedMenu);
    if (e.checkedRadio != s.checkedRadio) return differs("radio checked", e.checkedRadio, s.checkedRadio);
    if (e.enabledRadios != s.enabledRadios)
        return differs("radios enabled", e.enabledRadios, s.enabledRadios);
    if (e.hiddenCells != s.hiddenCells) return differs("cells hidden", e.hiddenCells, s.hiddenCells);
    if (e.windowHeight != s.windowHeight) return differs("window height", e.windowHeight, s.windowHeight);
    if (!SamePoint(e.nibbleMarker, s.nibbleMarker) || e.nibbleMarkerShown != s.nibbleMarkerShown)
        return differs("nibble marker x", e.nibbleMarker.x, s.nibbleMarker.x);
    if (!SamePoint(e.bitMarker, s.bitMarker) || e.bitMarkerShown != s.bitMarkerShown)
        return differs("bit marker x", e.bitMarker.x, s.bitMarker.x);
    if (e.focus != s.focus) return differs("focus", e.focus, s.focus);
    return true;
}

void ShowView(Floor& floor, const FloorView& view) {
    const WindowTree& w = floor.windows;
    FloorView& now = floor.shown;
    if (std::strcmp(now.caption, view.caption) != 0) SetWindowTextA(w.main, view.caption);
    HMENU menu = GetMenu(w.main);
    for (int i = 0; i < kMenuItemCount; ++i) {
        const uint32_t item = 1u << i;
        if ((now.checkedMenu ^ view.checkedMenu) & item) {
            CheckMenuItem(menu, kMenuItems[i],
                          MF_BYCOMMAND | (view.checkedMenu & item ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    for (int j = 0; j < kRadios; ++j) {
        const uint32_t radio = 1u << j;
        if (((now.enabledRadios ^ view.enabledRadios) & radio) && (view.enabledRadios & radio))
            EnableWindow(w.radios[j], TRUE);
    }
    if (now.checkedRadio != view.checkedRadio) {
        if (now.checkedRadio >= 0) SendMessageA(w.radios[now.checkedRadio], BM_SETCHECK, 0, 0);
        if (view.checkedRadio >= 0) SendMessageA(w.radios[view.checkedRadio], BM_SETCHECK, 1, 0);
    }
    if (now.oemFont != view.oemFont) {
        const int font = view.oemFont ? OEM_FIXED_FONT : SYSTEM_FIXED_FONT;
        SendMessageA(w.valueBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(font)), 0);
    }
    if (std::strcmp(now.valueText, view.valueText) != 0) SetWindowTextA(w.valueBox, view.valueText);
    if (std::strcmp(now.hexText, view.hexText) != 0) {
        SetWindowTextA(w.hexBox, view.hexText);
        now.hexSelection = 0;  // a new text leaves the caret at its start
    }
    uint64_t changedCells = (now.bits ^ view.bits) | (now.shaded ^ view.shaded);
    if (now.colorBits != view.colorBits) changedCells = ~0ull;
    // The cells paint from shown, so it holds the new drawing before they are invalidated.
    now.bits = view.bits;
    now.shaded = view.shaded;
    now.colorBits = view.colorBits;
    InvalidateCells(floor, changedCells);
    if (now.hexSelection != view.hexSelection)
        SendMessageA(w.hexBox, EM_SETSEL, LOWORD(view.hexSelection), HIWORD(view.hexSelection));
    for (int i = 0; i < 24; ++i) {
        const uint32_t cell = 1u << i;
        if ((now.hiddenCells ^ view.hiddenCells) & cell)
            ShowWindow(w.cells[8 + i], view.hiddenCells & cell ? SW_HIDE : SW_SHOWNA);
    }
    if (now.windowHeight != view.windowHeight)
        SetWindowPos(w.main, nullptr, 0, 0, cv::kMainWindowWidth, view.windowHeight,
                     SWP_NOMOVE | SWP_NOZORDER);
    MoveMarker(w.nibbleMarker, now.nibbleMarker, now.nibbleMarkerShown, view.nibbleMarker,
               view.nibbleMarkerShown);
    MoveMarker(w.bitMarker, now.bitMarker, now.bitMarkerShown, view.bitMarker, view.bitMarkerShown);
    if (now.focus != view.focus) SetFocus(WindowOfFocus(w, view.focus));
    for (int j = 0; j < kRadios; ++j) {
        const uint32_t radio = 1u << j;
        if (((now.enabledRadios ^ view.enabledRadios) & radio) && !(view.enabledRadios & radio))
            EnableWindow(w.radios[j], FALSE);
    }
    now = view;
}

FloorView StartView(const Floor& floor) {
    FloorView view = {};
    CopyText(view.caption, sizeof view.caption, "Corvane - Signed Integer");
    CopyText(view.valueText, sizeof view.valueText, "0");
    CopyText(view.hexText, sizeof view.hexText, "00000000");
    view.hexSelection = MAKELONG(7, 8);
    view.colorBits = true;
    // Color Bits, Shade FP Exponent, Shift in 0's, Error Boxes and Signed Integer.
    view.checkedMenu = 1u << 0 | 1u << 1 | 1u << 2 | 1u << 5 | 1u << 8;
    view.checkedRadio = 2;
    view.enabledRadios = 0x7;  // a signed integer has no 8-byte size
    RECT frame;
    GetWindowRect(floor.windows.main, &frame);
    view.windowHeight = frame.bottom - frame.top;
    view.nibbleMarker = cv::NibbleMarkerPlace(0, floor.clientBottom);
    view.bitMarker = cv::BitMarkerPlace(0, floor.clientBottom);
    view.nibbleMarkerShown = view.bitMarkerShown = true;
    view.focus = kFocusMain;
    return view;
}

bool CreateFloor(Floor& floor, HINSTANCE instance, int x, int y, int showCommand) {
    floor = Floor{};
    const WNDCLASSA mainClass = cv::MainWindowClass(instance, FloorProc, kFloorClassName);
    const WNDCLASSA cellClass = cv::CellWindowClass(instance, FloorCellProc, kFloorCellClassName);
    for (const WNDCLASSA* windowClass : {&mainClass, &cellClass}) {
        if (RegisterClassA(windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    floor.windows.main = CreateWindowExA(0, kFloorClassName, kFloorClassName, cv::kMainWindowStyle, x, y, 0,
                                         0, nullptr, nullptr, instance, &floor);
    if (floor.windows.main == nullptr) return false;
    if (!CreateChildren(floor)) {
        DestroyWindow(floor.windows.main);
        floor.windows.main = nullptr;
        return false;
    }
    // What the windows show as created: the resource's menu, the texts the boxes were made with.
    floor.shown = ReadWindows(floor.windows);
    floor.shown.colorBits = true;
    // As Corvane: texts, checks and radio before the window shows; markers and focus after.
    const FloorView start = StartView(floor);
    FloorView hidden = start;
    hidden.nibbleMarkerShown = hidden.bitMarkerShown = false;
    hidden.nibbleMarker = floor.shown.nibbleMarker;
    hidden.bitMarker = floor.shown.bitMarker;
    hidden.hexSelection = floor.shown.hexSelection;
    hidden.focus = floor.shown.focus;
    ShowView(floor, hidden);
    ShowWindow(floor.windows.main, showCommand);
    ShowView(floor, start);
    UpdateWindow(floor.windows.main);
    floor.accelerators = LoadAcceleratorsA(instance, cv::kAcceleratorsName);
    return true;
}

void DestroyFloor(Floor& floor) {
    if (floor.windows.main != nullptr) DestroyWindow(floor.windows.main);
    floor.windows.main = nullptr;
}

}  // namespace floorbench
