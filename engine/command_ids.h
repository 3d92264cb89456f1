/* Command ids, control ids and private messages of Corvane.
   Plain #defines in C syntax so that the resource script can include this file too. */
#ifndef CORVANE_COMMAND_IDS_H
#define CORVANE_COMMAND_IDS_H

/* Options menu */
#define IDM_COLOR 101
#define IDM_SHADE 102
#define IDM_SHIFT0 103
#define IDM_SHIFT1 104
#define IDM_ROTATE 105
#define IDM_ERRORBOXES 106
#define IDM_REPORT 107
#define IDM_EXIT 108

/* Data Type menu: the id is also the stored DataType */
#define IDM_ANSI 201
#define IDM_OEM 202
#define IDM_SIGNED 203
#define IDM_UNSIGNED 204
#define IDM_REAL 205

/* Help menu */
#define IDM_HELPCONTENTS 301
#define IDM_HELPSEARCH 302
#define IDM_HELPONHELP 303
#define IDM_ABOUT 304

/* Controls of the main window */
#define IDM_VALUELABEL 900
#define IDM_VALUEBOX 901
#define IDM_HEXLABEL 902
#define IDM_HEXBOX 903
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

#endif
