// probe: dialog controls: finding one, setting its text, reading a combo box.

#include <windows.h>

#include "probe_common.h"

namespace probe {

int cmd_child(const Args& a) {
  HWND parent;
  long long id;
  if (a.size() != 2 || !parse_ll(a[1], id)) return usage("child <parent> <id>");
  if (!need_window(a[0], parent)) return 1;
  HWND child = GetDlgItem(parent, static_cast<int>(id));
  if (!child) return 1;
  Line ln;
  ln.hwnd(child).emit();
  return 0;
}

int cmd_settext(const Args& a) {
  HWND h;
  if (a.size() != 2) return usage("settext <hwnd> <text>");
  if (!need_window(a[0], h)) return 1;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[1].c_str()),
                           SMTO_ABORTIFHUNG, 5000, &result))
    return 1;
  return result ? 0 : 1;
}

int cmd_combo(const Args& a) {
  HWND h;
  if (a.size() != 1) return usage("combo <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD_PTR count = 0, selected = 0;
  if (!SendMessageTimeoutW(h, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) ||
      !SendMessageTimeoutW(h, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected))
    return 2;
  Line head;
  head.add(static_cast<long long>(static_cast<LONG_PTR>(selected)))
      .add(static_cast<long long>(count))
      .emit();
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(h, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &got);
    Line ln;
    ln.add(std::wstring(text.data())).emit();
  }
  return 0;
}

}  // namespace probe
