// The information dialog (datatype report or bit information) and the About box: one dialog
// procedure, told by InfoMode what to prepare.
#include <cstdint>

#include "engine/bit_info.h"
#include "shell/shell.h"

namespace cv {

namespace {

// The report takes no more of the main window's texts than it keeps. The caption gets a buffer of
// its own size; the two boxes are read through a buffer of the value box's size.
constexpr int kCaptionChars = static_cast<int>(kReportCaptionChars);
constexpr int kValueChars = static_cast<int>(kReportValueChars);
constexpr int kHexChars = static_cast<int>(kReportHexChars);
constexpr int kBoxBufferSize = static_cast<int>(kLastValueTextSize);

void ShowInfoText(HWND dialog, int stockFont, const char* text) {
    SendDlgItemMessageA(dialog, IDC_INFOTEXT, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(stockFont)),
                        0);
    SetDlgItemTextA(dialog, IDC_INFOTEXT, text);
}

void PrepareReport(HWND dialog) {
    SetWindowTextA(dialog, "Datatype Information");
    HWND mainWindow = GetParent(dialog);
    char caption[kCaptionChars + 1] = "";
    char valueText[kBoxBufferSize] = "";
    char hexText[kBoxBufferSize] = "";
    GetWindowTextA(mainWindow, caption, kCaptionChars + 1);
    GetDlgItemTextA(mainWindow, IDM_VALUEBOX, valueText, kValueChars + 1);
    GetDlgItemTextA(mainWindow, IDM_HEXBOX, hexText, kHexChars + 1);
    char report[kReportSize] = "";
    ComposeReport(caption, valueText, hexText, report);
    // The report shows the value as the value box does: OEM characters in the OEM font.
    ShowInfoText(dialog, DataType == IDM_OEM ? OEM_FIXED_FONT : SYSTEM_FIXED_FONT, report);
}

void PrepareBitInfo(HWND dialog) {
    SetWindowTextA(dialog, "Bit Information");
    ShowInfoText(dialog, SYSTEM_FIXED_FONT, MessageText);
}

void OnInitInfoDialog(HWND dialog) {
    switch (InfoMode) {
        case IDM_REPORT: PrepareReport(dialog); break;
        case IDM_ABOUT: break;  // the template says it all
        case WM_BITINFO: PrepareBitInfo(dialog); break;
        default: ReportInternalError(dialog, "Unexpected Message ID in WM_INITDIALOG"); break;
    }
    InfoMode = 0;
}

void OpenDialog(HWND window, const char* templateName) {
    DialogBoxParamA(Instance, templateName, window, InfoDlgProc, 0);
}

}  // namespace

INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitInfoDialog(dialog);
            return TRUE;  // the dialog manager focuses "OK", the first tab stop
        case WM_COMMAND:
            // Only "OK" (or Enter) closes; Escape and the close box send IDCANCEL, which is ignored.
            if (LOWORD(wParam) != IDOK) return FALSE;
            EndDialog(dialog, 0);
            return TRUE;
        default: return FALSE;
    }
}

void OnBitInfo(HWND window, WPARAM cellWord) {
    // A CellWord with its set flag arrives sign-extended in a 64-bit WPARAM: keep its 32 bits.
    const uint32_t word = static_cast<uint32_t>(cellWord);
    InfoBox(window, word, (word & kCellSetFlag) != 0 ? 1u : 0u);
    InfoMode = WM_BITINFO;
    OpenDialog(window, "InfoDlgBox");
}

void OpenReportDialog(HWND window) {
    InfoMode = IDM_REPORT;
    OpenDialog(window, "InfoDlgBox");
}

void OpenAboutDialog(HWND window) {
    InfoMode = IDM_ABOUT;
    OpenDialog(window, "AboutDlgBox");
}

}  // namespace cv
