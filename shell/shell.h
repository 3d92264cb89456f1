// The window shell: handles, geometry and procedures shared by the shell's files and its tests.
#pragma once

#include <windows.h>

#include "engine/bit_ops.h"
#include "engine/value_state.h"
#include "shell/layout.h"
#include "shell/resources/resource_ids.h"
#include "shell/window_state.h"

namespace cv {

static_assert(WM_SELECTNIBBLE == WM_USER + 1 && WM_RECALCHEXBOX == WM_USER + 6,
              "the private messages follow WM_USER");

// Positions of the focus cycle kept in FocusIndex.
constexpr uint32_t kFocusBeforeFirst = 0;  // only for a moment, at the start of a backward Tab
constexpr uint32_t kFocusValueBox = 1;
constexpr uint32_t kFocusHexBox = 2;
constexpr uint32_t kFocusRadio = 3;
constexpr uint32_t kFocusFirstPush = 4;  // "&<"; "&Flip" is kFocusFirstPush + 4
constexpr uint32_t kFocusLastPush = 8;
constexpr uint32_t kFocusBitCells = 9;
constexpr uint32_t kFocusPastEnd = 10;  // only for a moment, at the end of a forward Tab

// ---- Kept by start-up (startup.cpp) ----
extern HINSTANCE Instance;
extern HWND MainWindow;
extern HWND CellWindows[64];  // indexed by bit number
extern HWND NibbleMarker;     // IDM_NIBBLEMARK
extern HWND BitMarker;        // IDM_BITMARK
extern HWND ValueLabel, ValueBox, HexLabel, HexBox, BytesGroup;
extern HWND RadioButtons[kRadioCount];  // "1", "2", "4", "8": kSizeOfRadio
extern HWND PushButtons[5];             // "&<", "&>", "&0's", "&1's", "&Flip"
extern WNDPROC SavedEditProc, SavedRadioProc, SavedPushProc;
extern int WindowWidth, NormalHeight, TallHeight, ClientBottom;
extern HACCEL Accelerators;
extern char MainClassName[32];  // "Corvane"
extern char CellClassName[12];  // "CV_Child"

// Start-up, everything before the message loop: state (with the Win32 alerts installed), classes, main
// window, layout, subclassing, the three start messages, the accelerator table. Returns the main window, or
// nullptr when a class could not be registered or a window could not be created (the caller then exits with a
// non-zero code). A class that is already registered (a second start in one process, as in tests) is reused.
HWND StartCorvane(HINSTANCE instance, HINSTANCE previous, int showCommand);
// The message loop with the accelerators; returns the quit message's wParam
// (or a non-zero code when GetMessageA fails).
int RunMessageLoop();

// ---- Window procedures ----
LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);      // main_window.cpp
LRESULT CALLBACK CellProc(HWND, UINT, WPARAM, LPARAM);     // bit_cell.cpp
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);     // keyboard.cpp
LRESULT CALLBACK RBtnProc(HWND, UINT, WPARAM, LPARAM);     // keyboard.cpp
LRESULT CALLBACK PBtnProc(HWND, UINT, WPARAM, LPARAM);     // keyboard.cpp
INT_PTR CALLBACK InfoDlgProc(HWND, UINT, WPARAM, LPARAM);  // dialogs.cpp

// ---- Handlers that WndProc dispatches to other files ----
// bit_cell.cpp
void OnSelectNibble(HWND window, int nibble);  // WM_SELECTNIBBLE
void OnShowBitFocus(HWND window);              // WM_SHOWBITFOCUS
void OnSyncBitCells(HWND window);              // WM_SYNCBITCELLS
// Drawing objects made at WM_CREATE and deleted at WM_DESTROY (main_window.cpp).
extern HPEN ClearBitPen, SetBitPen;
extern HBRUSH WindowBrush;
// keyboard.cpp: WM_KEYDOWN of the main window (Tab step and the keys over the bit cells).
// Returns what DefWindowProcA gives for the key-down.
LRESULT OnMainKeyDown(HWND window, WPARAM key, LPARAM lParam);
// The move of the bit focus that a key over the bit cells makes; false for any other key.
bool FocusMoveOfKey(WPARAM key, FocusMove* move);
// edit_box.cpp: what EditProc does with typed, deleted and inserted text.
// A box without ES_AUTOHSCROLL takes no more text than fits its width. Some edit controls (Wine's)
// make room for a character typed into a text that no longer fits by deleting other characters,
// sometimes without telling the parent, which would silently change the value; so a character
// whose result would not fit is refused, as a full box refuses it.
bool TypedCharacterFits(HWND edit, WPARAM character);
// Backspace and Delete in a text wider than the box: the same edit controls then delete more than
// the key asks for. There the deletion is made on the text itself and put into the box while
// EditArmed is set, so that the main window judges it exactly as a keystroke; the caret then
// stands where the deletion was, as the control would leave it. Otherwise the control deletes.
LRESULT DeleteFromText(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, bool backspace);
// A paste (WM_PASTE), or a replacement of the selection sent from outside (EM_REPLACESEL), goes to
// the box as one edit when its result fits; otherwise it is refused whole with the input-error
// beep. Left to itself, an edit control trims an insertion that does not fit one character at a
// time, which takes minutes for a long text, and would leave a cut number in the box.
LRESULT InsertIfItFits(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
// A text set from outside (WM_SETTEXT) that is longer than the box's text limit is refused whole
// with the input-error beep before the control sees it: the control takes seconds over a long text
// and would leave it cut. The program's own texts (set with EditArmed cleared) pass as before.
LRESULT SetTextIfItFits(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
// dialogs.cpp
void OnBitInfo(HWND window, WPARAM cellWord);  // WM_BITINFO: InfoBox, then the dialog
void OpenReportDialog(HWND window);            // IDM_REPORT
void OpenAboutDialog(HWND window);             // IDM_ABOUT

// help.cpp: the three help commands (WinHelpA when a help file exists at HelpPath, else
// Corvane's own help viewer).
constexpr size_t kHelpPathSize = 32768 + 32;  // any current directory plus the file name
extern char HelpPath[kHelpPathSize];
void ShowHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data);
// WM_CREATE: HelpPath from the current directory ("\corvane.hlp", else "\..\help\corvane.hlp");
// empty when the current directory cannot be read.
void ComposeHelpPath();
// The help viewer window while it is open (a modeless dialog), else nullptr.
extern HWND HelpViewer;
// The message loop offers every message to the open help viewer first (its keyboard interface);
// true when the viewer has handled it.
bool HelpViewerTakesMessage(MSG* message);

// alerts.cpp: MessageBeep(0) and MessageBoxA behind the engine's alert interface.
void InstallWin32Alerts();

}  // namespace cv
