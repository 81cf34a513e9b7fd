#pragma once
// What probe.exe and probe_hook.dll agree on to read a popup menu.
#include <windows.h>

constexpr const wchar_t* kProbeMenuMessage = L"RomboProbeReadMenu";
constexpr const wchar_t* kProbeMenuMapping = L"RomboProbeMenuItems";
constexpr DWORD kProbeMenuBytes = 64 * 1024;
constexpr const char* kProbeHookProc = "ProbeCallWndProc";
