// probe_hook.dll: loaded by the system into the process of a popup menu
// that `probe menu` wants to read. Menus cannot be read from another
// process, so this hook reads the menu inside its owner's process, when the
// probe sends the menu window a registered message, and hands the items back
// through named shared memory. It also reports each hotkey message that a
// traced program's thread takes from its queue to `probe trace`. Test tool
// only; it links no product code.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include "probe_hook.h"

#include <string>
#include <vector>

namespace {

std::wstring ItemLine(HMENU menu, int index) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_ID;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info)) return L"?";
  std::vector<wchar_t> text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info);
  std::wstring flags;
  auto add = [&flags](const wchar_t* flag) {
    if (!flags.empty()) flags += L',';
    flags += flag;
  };
  if (info.fType & MFT_SEPARATOR) add(L"separator");
  if (info.fState & MFS_DEFAULT) add(L"default");
  if (info.fState & MFS_DISABLED) add(L"disabled");
  if (info.fState & MFS_CHECKED) add(L"checked");
  // Where the item is drawn on the screen, for a click on it.
  RECT where = {0, 0, 0, 0};
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &where);
  std::wstring line = std::to_wstring(index) + L"\t" + std::wstring(text.data()) + L"\t" + flags;
  for (LONG edge : {where.left, where.top, where.right, where.bottom}) {
    line += L"\t" + std::to_wstring(edge);
  }
  return line + L"\n";
}

void Dump(HWND menuWindow) {
  const HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kProbeMenuMapping);
  if (!mapping) return;
  auto* out = static_cast<wchar_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kProbeMenuBytes));
  if (out) {
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    std::wstring all = L"ok\n";
    const int count = menu ? GetMenuItemCount(menu) : -1;
    for (int i = 0; i < count; ++i) all += ItemLine(menu, i);
    const size_t room = kProbeMenuBytes / sizeof(wchar_t) - 1;
    if (all.size() > room) all.resize(room);
    all.copy(out, all.size());
    out[all.size()] = L'\0';
    UnmapViewOfFile(out);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (call->message == RegisterWindowMessageW(kProbeMenuMessage)) Dump(call->hwnd);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs in the traced thread whenever it takes a message from its queue; a
// WM_HOTKEY removed there is one the program will handle.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    ProbeGetMessageProc(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (message->message == WM_HOTKEY) {
      const HWND trace = FindWindowW(kProbeTraceClass, nullptr);
      if (trace) PostMessageW(trace, kProbeTraceHotkey, message->wParam, 0);
    }
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}
