#pragma once
// Entry points of librombo.dll, the system-wide mouse watcher. The program
// binds them at load time through the DLL's import library.
//
// Both use the C calling convention with C linkage, so the exported names are
// the bare names on i686 and x86_64 alike and no alias table is needed.
#include <windows.h>

#if defined(LIBROMBO_BUILDING)
// The .def file decides what is exported; nothing to decorate here.
#define LIBROMBO_API
#else
#define LIBROMBO_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Starts a thread of the library's own that installs a low-level mouse hook
// and runs its message loop, and returns once the hook is in place. A
// Ctrl+Alt+left-press then drops the signal file "rombodesktop.hook" into the
// user's temporary directory and posts LIBROMBO_SIGNAL_MESSAGE to `window`.
// The caller's thread needs no message loop, and nothing it does (or fails
// to do) can stall the mouse. Calling it again while installed only replaces
// the window.
LIBROMBO_API void __cdecl InstallMouseHook(HWND window);

// Removes the hook, ends the library's thread and waits for it; harmless when
// none is installed.
LIBROMBO_API void __cdecl UninstallMouseHook(void);

#ifdef __cplusplus
}
#endif

#include "signal.h"
