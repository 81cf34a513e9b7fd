#pragma once
/* What librombo.dll and the program agree on to ask for the cube. Plain C
   with no system header, so the program's logic can include it. */

/* The file the library drops into the user's temporary directory. */
#define LIBROMBO_SIGNAL_FILE_NAME "rombodesktop.hook"
/* Posted to the window given to InstallMouseHook each time the signal file
   is in place (WM_USER + 3). */
#define LIBROMBO_SIGNAL_MESSAGE 0x0403
