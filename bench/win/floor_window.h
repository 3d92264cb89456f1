// The benchmark's floor: Corvane's main window tree rebuilt from the same classes, styles, places
// and resources (shell/layout.h, shell/resources), with none of Corvane's own logic. It is told what
// its windows must show next (a FloorView, read from Corvane's window after the same action) and
// makes only the window calls that differ: a text set where it changed, the cells whose drawing
// changed invalidated, a menu check, radio, font, marker, focus or height changed where it differs.
// It does not parse, validate, render or keep the value; it does not subclass the boxes and
// buttons (Corvane's keyboard cycle and width checks), never sets a text or font again that did not
// change, and keeps the cells' state in its own memory instead of the cell words.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "shell/resources/resource_ids.h"

namespace floorbench {

// The menu items whose check marks a view names, in this order.
constexpr UINT kMenuItems[] = {IDM_COLOR, IDM_SHADE, IDM_SHIFT0, IDM_SHIFT1,   IDM_ROTATE, IDM_ERRORBOXES,
                               IDM_ANSI,  IDM_OEM,   IDM_SIGNED, IDM_UNSIGNED, IDM_REAL};
constexpr int kMenuItemCount = sizeof kMenuItems / sizeof kMenuItems[0];
constexpr int kRadios = 4;
constexpr int kFocusMain = -2;  // FloorView::focus of the main window (controls give their id)
constexpr int kFocusNone = -1;

// Everything the main window tree shows.
struct FloorView {
    char caption[64];
    char valueText[64];
    char hexText[24];
    DWORD hexSelection;      // EM_GETSEL of the hex box (ES_NOHIDESEL shows it)
    uint64_t bits;           // cells drawn set
    uint64_t shaded;         // cells drawn shaded
    bool colorBits;          // set and clear marks in colour
    bool oemFont;            // the value box shows OEM_FIXED_FONT
    uint32_t checkedMenu;    // bit i: kMenuItems[i] checked
    int checkedRadio;        // -1: none
    uint32_t enabledRadios;  // bit j: radio j enabled
    uint32_t hiddenCells;    // bit i: cell 8 + i (of 8..31) hidden
    int windowHeight;
    POINT nibbleMarker, bitMarker;
    bool nibbleMarkerShown, bitMarkerShown;
    int focus;  // control id, kFocusMain or kFocusNone
};

// The windows of one main window tree (Corvane's or the floor's).
struct WindowTree {
    HWND main;
    HWND cells[64];
    HWND nibbleMarker, bitMarker;
    HWND valueLabel, valueBox, hexLabel, hexBox, bytesGroup;
    HWND radios[kRadios];
    HWND pushes[5];
};

// What the windows show apart from the cells' drawing (bits, shaded, colorBits), which only the
// tree's owner knows. Reads focus as the calling thread sees it.
FloorView ReadWindows(const WindowTree& tree);
// Names the first field in which the two views differ (into difference); true when none does.
bool SameView(const FloorView& expected, const FloorView& seen, char* difference, size_t size);

// The floor's tree, its drawing objects and what it shows now.
struct Floor {
    WindowTree windows;
    int clientBottom;
    HPEN clearBitPen, setBitPen;
    HBRUSH windowBrush;
    HACCEL accelerators;
    FloorView shown;
    // The view that the next action (a command, a keystroke's EN_UPDATE, a cell press) shows.
    const FloorView* pending;
    // For a keystroke: the box it is typed into, its text and caret once the edit control has
    // taken the character (the floor does not read them back).
    HWND typedBox;
    const char* typedText;
    DWORD typedCaret;
};

// Registers the classes (once per process), creates the tree at (x, y) as Corvane creates its own
// and shows Corvane's start-up view. False when a window could not be made.
bool CreateFloor(Floor& floor, HINSTANCE instance, int x, int y, int showCommand);
void DestroyFloor(Floor& floor);
// Makes the windows show view, with only the calls that differ from what they show now.
void ShowView(Floor& floor, const FloorView& view);
// Corvane's view once started: a 4-byte signed integer 0, the hex box's last digit selected, the
// focus on the main window with the bit marker under bit 0.
FloorView StartView(const Floor& floor);

}  // namespace floorbench
