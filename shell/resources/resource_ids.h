/* Ids shared by the resource script and the shell's code. */
#ifndef CORVANE_RESOURCE_IDS_H
#define CORVANE_RESOURCE_IDS_H

#include "engine/command_ids.h"

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
