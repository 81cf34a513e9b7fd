#pragma once
// The user's temporary directory, found the same way by the program (which
// looks for the signal file there) and by librombo.dll (which drops it).
//
// The program works with ANSI paths. Where every character of the directory
// has one in the ANSI code page, this is exactly GetTempPathA's answer;
// where not (a profile name in another script), GetTempPathA's answer names
// no directory at all, and the directory's short (8.3) name, which is ASCII,
// is given instead.
#include <windows.h>

// Same contract as GetTempPathA: on success copies the path with its
// terminating zero and returns its length without it; when the buffer is
// too small returns the size needed, zero included, and leaves the buffer
// alone; returns 0 when no ANSI name of the directory can be had.
DWORD GetAnsiTempPath(DWORD bufferLength, char* buffer);
