/* Ids shared by the resource script and the shell's code: menu commands, controls, the window's
   private messages, and the dialogs' controls. */
#ifndef CORVANE_RESOURCE_IDS_H
#define CORVANE_RESOURCE_IDS_H

/* The ids that are also the engine's values: data types, shift modes, IDM_HEXBOX and IDM_SHADE */
#include "engine/value_ids.h"

/* Options menu (IDM_SHADE 102 and the shift modes 103..105 come from the engine's values) */
#define IDM_COLOR 101
#define IDM_ERRORBOXES 106
#define IDM_REPORT 107
#define IDM_EXIT 108

/* Data Type menu: IDM_ANSI .. IDM_REAL (201..205), the stored DataType */

/* Help menu */
#define IDM_HELPCONTENTS 301
#define IDM_HELPSEARCH 302
#define IDM_HELPONHELP 303
#define IDM_ABOUT 304

/* Controls of the main window (IDM_HEXBOX 903 comes from the engine's values) */
#define IDM_VALUELABEL 900
#define IDM_VALUEBOX 901
#define IDM_HEXLABEL 902
#define IDM_BYTESGROUP 910
#define IDM_BYTES1 911
#define IDM_BYTES2 912
#define IDM_BYTES4 913
#define IDM_BYTES8 914
#define IDM_BITSHIFTL 920
#define IDM_BITSHIFTR 921
#define IDM_ZEROS 922
#define IDM_ONES 923
#define IDM_FLIP 924
#define IDM_NIBBLEMARK 925
#define IDM_BITMARK 926

/* Accelerator-only commands */
#define IDM_FOCUSVALUE 930
#define IDM_FOCUSHEX 931
#define IDM_FOCUSBYTES 932
#define IDM_KEYSHIFTL 933
#define IDM_KEYSHIFTR 934
#define IDM_KEYZEROS 935
#define IDM_KEYONES 936
#define IDM_KEYFLIP 937
#define IDM_FOCUSBITS 938

/* Private messages of the main window (WM_USER + 1 .. WM_USER + 6) */
#define WM_SELECTNIBBLE 1025
#define WM_SHOWBITFOCUS 1026
#define WM_BITINFO 1027
#define WM_SYNCBITCELLS 1028
#define WM_RECALCVALUEBOX 1029
#define WM_RECALCHEXBOX 1030

/* The information dialog's text control. */
#define IDC_INFOTEXT 100

/* Corvane's own help viewer (HelpDlgBox) and its text (CV_HELPTEXT). */
#define IDC_HELPCONTENTS 1001
#define IDC_HELPINDEX 1002
#define IDC_HELPUSING 1003
#define IDC_HELPFINDLABEL 1004
#define IDC_HELPFIND 1005
#define IDC_HELPLIST 1006
#define IDC_HELPTOPIC 1007
#define IDC_HELPBACK 1008

#endif
