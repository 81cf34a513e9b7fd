#pragma once
// What probe.exe and probe_hook.dll agree on: reading a popup menu, and
// tracing the hotkey messages a program's thread takes from its queue.
#include <windows.h>

constexpr const wchar_t* kProbeMenuMessage = L"RomboProbeReadMenu";
constexpr const wchar_t* kProbeMenuMapping = L"RomboProbeMenuItems";
constexpr DWORD kProbeMenuBytes = 64 * 1024;
constexpr const char* kProbeHookProc = "ProbeCallWndProc";

// `probe trace`: the window that receives one posted kProbeTraceHotkey per
// WM_HOTKEY the traced thread retrieves (wParam: the hotkey's identifier).
constexpr const wchar_t* kProbeTraceClass = L"RomboProbeTrace";
constexpr UINT kProbeTraceHotkey = WM_APP + 0x51;
constexpr const char* kProbeGetMessageProc = "ProbeGetMessageProc";
