/* The values the engine's operations take: the data types, the shift modes and the modes of
   ValidateInput. The window uses the same numbers as its menu and control ids, so they keep the
   window's names; plain #defines in C syntax because the resource script includes them too. */
#ifndef CORVANE_VALUE_IDS_H
#define CORVANE_VALUE_IDS_H

/* The stored DataType (the Data Type menu's ids) */
#define IDM_ANSI 201
#define IDM_OEM 202
#define IDM_SIGNED 203
#define IDM_UNSIGNED 204
#define IDM_REAL 205

/* ShiftMode, besides 0 (the Options menu's ids) */
#define IDM_SHIFT0 103
#define IDM_SHIFT1 104
#define IDM_ROTATE 105

/* The modes of ValidateInput besides a data type: the hex box's text (its control id) and the
   classification of a real (the shading option's id) */
#define IDM_HEXBOX 903
#define IDM_SHADE 102

#endif
