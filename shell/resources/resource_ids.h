/* Ids shared by the resource script and the shell's code. */
#ifndef CORVANE_RESOURCE_IDS_H
#define CORVANE_RESOURCE_IDS_H

#include "engine/command_ids.h"

/* The information dialog's text control. */
#define IDC_INFOTEXT 100

#endif
