#pragma once
// The probe's commands, one per name in the table of probe.cpp. Each takes the
// arguments after its name and returns the exit status (see probe.cpp).
#include "probe_common.h"

namespace probe {

// probe_windows.cpp
int cmd_list(const Args& a);
int cmd_find(const Args& a);
int cmd_rect(const Args& a);
int cmd_post(const Args& a);
int cmd_send(const Args& a);
int cmd_activate(const Args& a);
int cmd_foreground(const Args& a);
int cmd_text(const Args& a);
int cmd_move(const Args& a);
int cmd_window(const Args& a);
int cmd_screen(const Args& a);
int cmd_monitors(const Args& a);
int cmd_display_mode(const Args& a);

// probe_input.cpp
int cmd_hotkey_free(const Args& a);
int cmd_keys(const Args& a);
int cmd_wait(const Args& a);
int cmd_watch(const Args& a);
int cmd_mouse_move(const Args& a);
int cmd_trace(const Args& a);
int cmd_hotkey_hold(const Args& a);

// probe_tray_menu.cpp
int cmd_tray(const Args& a);
int cmd_tray_has(const Args& a);
int cmd_tray_del(const Args& a);
int cmd_menu(const Args& a);

// probe_dialogs.cpp
int cmd_child(const Args& a);
int cmd_settext(const Args& a);
int cmd_combo(const Args& a);

// probe_processes.cpp
int cmd_hold(const Args& a);
int cmd_pid(const Args& a);
int cmd_exe_path(const Args& a);
int cmd_suspend(const Args& a);
int cmd_resume(const Args& a);
int cmd_crash(const Args& a);
int cmd_terminate(const Args& a);
int cmd_usage(const Args& a);

}  // namespace probe
