// probe: looks at the Windows desktop from outside the product, for e2e tests.
//
// Output is one record per line, fields separated by TAB, UTF-8, "\r\n"
// line ends (the harness strips CRs). Window handles print as 0x<hex> and are
// accepted as hex (0x...) or decimal. Exit status: 0 ok, 1 "not found" /
// negative answer, 2 usage or API error. A missing or unknown command prints
// the usage list below (exit 2).
//
// The commands live by topic: probe_windows.cpp, probe_input.cpp,
// probe_tray_menu.cpp, probe_dialogs.cpp, probe_processes.cpp.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "probe_commands.h"

namespace probe {
namespace {

struct Command {
  const wchar_t* name;
  const char* usage;  // the arguments, then what it prints
  int (*run)(const Args&);
};

const Command kCommands[] = {
    {L"list", "list                         hwnd class title l t r b visible exstyle pid style",
     cmd_list},
    // class/title: exact, '*' and '?' wildcards
    {L"find", "find <class|-> [title|-] [--pid N] [--visible]", cmd_find},
    {L"rect", "rect <hwnd>                  l t r b", cmd_rect},
    {L"post", "post <hwnd> <msg> <wp> <lp>  msg: number or WM_CLOSE, WM_COMMAND, ...", cmd_post},
    {L"send", "send <hwnd> <msg> <wp> <lp>  prints the LRESULT; exit 1 on timeout", cmd_send},
    {L"activate", "activate <hwnd>              prints the foreground hwnd afterwards",
     cmd_activate},
    {L"foreground", "foreground                   hwnd class title", cmd_foreground},
    {L"text", "text <hwnd>                  window text, then: hwnd class text per child",
     cmd_text},
    {L"move", "move <hwnd> <x> <y>          prints the rect read back", cmd_move},
    // Prints its hwnd, then runs until closed; --tray also adds notification
    // icon uid 1; --ignore-close swallows WM_CLOSE (a copy that never answers
    // a close request).
    {L"window",
     "window <x> <y> <w> <h> <title> [--layered] [--topmost] [--toolwindow] [--color RRGGBB] "
     "[--tray] [--class NAME] [--ignore-close]",
     cmd_window},
    {L"hotkey-free", "hotkey-free <mods> <vk>      \"free\" or \"taken <GetLastError>\"",
     cmd_hotkey_free},
    {L"tray", "tray                         taskbar window, then its children (as in list)",
     cmd_tray},
    {L"tray-has", "tray-has <hwnd> <uid>        \"present\" / \"absent\" (exit 1)", cmd_tray_has},
    // Removes that notification icon, as a shell restart loses every icon.
    {L"tray-del", "tray-del <hwnd> <uid>", cmd_tray_del},
    // Opens the file without sharing, prints "held", keeps it open until killed.
    {L"hold", "hold <path>", cmd_hold},
    {L"screen", "screen                       width height", cmd_screen},
    // "virtual l t r b", then "monitor l t r b" per monitor, the primary first.
    {L"monitors", "monitors", cmd_monitors},
    // Sets \\.\DISPLAY<n> to w x h (as the display settings do); prints the result.
    {L"display-mode", "display-mode <n> <w> <h>", cmd_display_mode},
    // Ctrl+Alt+arrow by SendInput, from a window of its own in front (no
    // window manager passes keys from outside).
    {L"keys", "keys <Left|Right>", cmd_keys},
    {L"child", "child <parent> <id>          hwnd of the dialog control with that id", cmd_child},
    {L"settext", "settext <hwnd> <text>        WM_SETTEXT (as typing would, it notifies)",
     cmd_settext},
    {L"combo", "combo <hwnd>                 selected index and count, then one item per line",
     cmd_combo},
    // The open popup menu: "index text flags l t r b" per item, flags from
    // separator,default,disabled,checked, l t r b the item's rectangle on the
    // screen (needs probe_hook.dll beside probe.exe).
    {L"menu", "menu [timeout_ms]", cmd_menu},
    {L"exe-path", "exe-path <hwnd>              full path of the executable that owns the window",
     cmd_exe_path},
    // Suspends the thread that owns the window; prints its thread id (stays
    // suspended after the probe exits).
    {L"suspend", "suspend <hwnd>", cmd_suspend},
    {L"resume", "resume <hwnd>                resumes that thread; prints its thread id",
     cmd_resume},
    // Starts a thread at address 0 in the window's process, which crashes it.
    {L"crash", "crash <hwnd>", cmd_crash},
    // Ends the window's process with that exit code (TerminateProcess, as End
    // task does).
    {L"terminate", "terminate <hwnd> <code>", cmd_terminate},
    // Of the window's process: gdi user handles private_bytes (the system's
    // answers), then GDI objects counted in the process's GDI handle table,
    // handles counted in the system handle table and windows owned (for where
    // those answers are stubs, as under Wine; -1: unknown), and the committed
    // private bytes of its address space.
    {L"usage", "usage <hwnd>", cmd_usage},
    // Waits until every condition holds; a condition is <hwnd>:visible=0|1,
    // <hwnd>:left=N or key:<vk>=0|1 (down, as GetAsyncKeyState sees it; 1 is
    // the left button); exit 1 on timeout, after a line per condition: "met:"
    // or "not met:", the condition, then what was found (hwnd visible V left
    // L, or key K).
    {L"wait", "wait <ms> <cond>...", cmd_wait},
    // Prints "watching", then polls the windows' visibility for ms
    // milliseconds; per window prints hwnd and the states seen ("1 0 1").
    {L"watch", "watch <ms> <hwnd>...", cmd_watch},
    // Moves the mouse there as input does and prints the milliseconds until
    // the cursor stands there; exit 1 after 10 s.
    {L"mouse-move", "mouse-move <x> <y>", cmd_mouse_move},
    // Prints "tracing", then until killed a line per arrow key and left press
    // the system takes in ("key Left|Right down|up ctrl|- alt|- tick", "press
    // down ctrl|- alt|- tick") and per WM_HOTKEY the window's thread takes
    // from its queue ("hotkey id tick") (needs probe_hook.dll beside
    // probe.exe).
    {L"trace", "trace <hwnd>", cmd_trace},
    // Holds the hotkeys as another program would: registers each <mods> <vk>
    // pair, prints "held", keeps them until killed; exit 1 if one is taken
    // already.
    {L"hotkey-hold", "hotkey-hold <mods> <vk>...", cmd_hotkey_hold},
    {L"pid", "pid                          own process id (sanity check of the harness)", cmd_pid},
};

int usage_list(const char* why) {
  std::fprintf(stderr, "probe: %s; the commands:\n", why);
  for (const Command& c : kCommands) std::fprintf(stderr, "  probe %s\n", c.usage);
  return 2;
}

// Frees the argv block from CommandLineToArgvW.
struct ArgvBlock {
  explicit ArgvBlock(LPWSTR* p) : argv(p) {}
  ~ArgvBlock() {
    if (argv) LocalFree(argv);
  }
  ArgvBlock(const ArgvBlock&) = delete;
  ArgvBlock& operator=(const ArgvBlock&) = delete;
  LPWSTR* argv;
};

}  // namespace
}  // namespace probe

int main() {
  int argc = 0;
  probe::ArgvBlock block(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!block.argv || argc < 2) return probe::usage_list("missing command");
  const std::wstring cmd = block.argv[1];
  const probe::Args a(block.argv + 2, block.argv + argc);
  for (const probe::Command& c : probe::kCommands) {
    if (cmd == c.name) return c.run(a);
  }
  return probe::usage_list("unknown command");
}
