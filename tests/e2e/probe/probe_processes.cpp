// probe: the product's process from outside: its file, its threads, its end, what it uses.

#include <windows.h>

#include <psapi.h>

#include <cstddef>
#include <cstdio>
#include <utility>

#include "probe_common.h"

namespace probe {

int cmd_hold(const Args& a) {
  if (a.size() != 1) return usage("hold <path>");
  HANDLE file = CreateFileW(a[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "probe: cannot open %s: %lu\n", utf8(a[0]).c_str(), GetLastError());
    return 1;
  }
  Line ln;
  ln.add(std::string("held")).emit();
  Sleep(INFINITE);
  CloseHandle(file);
  return 0;
}

int cmd_pid(const Args&) {
  Line ln;
  ln.add(static_cast<long long>(GetCurrentProcessId())).emit();
  return 0;
}

// Which program file a window belongs to: tells an installed copy from the
// one in the build tree, and shows how a non-ASCII folder name came through.
int cmd_exe_path(const Args& a) {
  HWND h;
  if (a.size() != 1) return usage("exe-path <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess(%lu) failed: %lu\n", pid, GetLastError());
    return 2;
  }
  // The longest path Windows has; a buffer this size never runs short.
  constexpr DWORD kMaxLongPath = 32768;
  std::wstring path(kMaxLongPath, L'\0');
  DWORD size = kMaxLongPath;
  if (!QueryFullProcessImageNameW(process.get(), 0, &path[0], &size)) {
    std::fprintf(stderr, "probe: QueryFullProcessImageName failed: %lu\n", GetLastError());
    return 2;
  }
  path.resize(size);
  Line ln;
  ln.add(path).emit();
  return 0;
}

// ---- the product's process from outside

int cmd_suspend_resume(const Args& a, bool suspend) {
  HWND h;
  if (a.size() != 1) return usage("suspend|resume <hwnd>");
  if (!need_window(a[0], h)) return 1;
  const DWORD tid = GetWindowThreadProcessId(h, nullptr);
  KernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, tid));
  if (!thread.get()) {
    std::fprintf(stderr, "probe: OpenThread failed: %lu\n", GetLastError());
    return 2;
  }
  const DWORD before = suspend ? SuspendThread(thread.get()) : ResumeThread(thread.get());
  if (before == static_cast<DWORD>(-1)) {
    std::fprintf(stderr, "probe: Suspend/ResumeThread failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(static_cast<long long>(tid)).emit();
  return 0;
}

int cmd_suspend(const Args& a) { return cmd_suspend_resume(a, true); }
int cmd_resume(const Args& a) { return cmd_suspend_resume(a, false); }

HANDLE open_process_of(HWND h, DWORD access) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid ? OpenProcess(access, FALSE, pid) : nullptr;
}

int cmd_crash(const Args& a) {
  HWND h;
  if (a.size() != 1) return usage("crash <hwnd>");
  if (!need_window(a[0], h)) return 1;
  KernelHandle process(open_process_of(h, PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                              PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                              PROCESS_VM_READ));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess failed: %lu\n", GetLastError());
    return 2;
  }
  // Execution at address 0 faults at once, in a thread of the target.
  KernelHandle thread(CreateRemoteThread(process.get(), nullptr, 0, nullptr, nullptr, 0, nullptr));
  if (!thread.get()) {
    std::fprintf(stderr, "probe: CreateRemoteThread failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(std::string("crashing")).emit();
  return 0;
}

int cmd_terminate(const Args& a) {
  HWND h;
  long long code;
  if (a.size() != 2 || !parse_ll(a[1], code)) return usage("terminate <hwnd> <code>");
  if (!need_window(a[0], h)) return 1;
  KernelHandle process(open_process_of(h, PROCESS_TERMINATE));
  if (!process.get() || !TerminateProcess(process.get(), static_cast<UINT>(code))) {
    std::fprintf(stderr, "probe: TerminateProcess failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(std::string("terminated")).emit();
  return 0;
}

// Handles the process holds, from the system's table of all handles. Wine
// answers GetProcessHandleCount with 0 but does keep this table.
long long handles_in_system_table(DWORD pid) {
  using QueryFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  struct Entry {
    ULONG owner_pid;
    BYTE object_type;
    BYTE flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  constexpr size_t kFirstSize = 1 << 16, kLargestSize = 1 << 26;
  for (size_t size = kFirstSize; size <= kLargestSize; size *= 2) {
    std::vector<unsigned char> buffer(size);
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(size), &needed);
    if (status == kInfoLengthMismatch) continue;
    if (status < 0) return -1;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    const size_t fit = (size - offsetof(Table, entries)) / sizeof(Entry);
    long long count = 0;
    for (size_t i = 0; i < table->count && i < fit; ++i) {
      if (table->entries[i].owner_pid == pid) ++count;
    }
    return count;
  }
  return -1;
}

// GDI objects in use in the process's GDI handle table, which the PEB points
// to (Windows and Wine alike); stock objects are not counted. -1 when the
// table cannot be read. Each entry: object (8 bytes), owner (4), unique (2,
// the stock flag in bit 7), type (1, 0 when free), flags (1), user data (8).
long long gdi_in_shared_table(HANDLE process) {
  using QueryFn = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query) return -1;
  struct BasicInformation {
    LONG_PTR exit_status;
    void* peb;
    ULONG_PTR affinity;
    LONG_PTR priority;
    ULONG_PTR pid;
    ULONG_PTR parent_pid;
  } basic = {};
  constexpr ULONG kProcessBasicInformation = 0;
  if (query(process, kProcessBasicInformation, &basic, sizeof basic, nullptr) < 0 || !basic.peb)
    return -1;
#ifdef _WIN64
  constexpr size_t kPebGdiTable = 0xF8;
#else
  constexpr size_t kPebGdiTable = 0x94;
#endif
  void* table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, static_cast<const char*>(basic.peb) + kPebGdiTable, &table,
                         sizeof table, &got) ||
      !table)
    return -1;
#pragma pack(push, 1)
  struct Entry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
  };
#pragma pack(pop)
  static_assert(sizeof(Entry) == 24, "GDI handle table entry");
  constexpr size_t kEntries = 0x10000;
  constexpr USHORT kStockFlag = 0x80;
  std::vector<Entry> entries(kEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &got))
    return -1;
  long long count = 0;
  for (const Entry& e : entries) {
    if (e.type != 0 && (e.unique & kStockFlag) == 0) ++count;
  }
  return count;
}

BOOL CALLBACK count_window_of(HWND h, LPARAM lp) {
  auto* count = reinterpret_cast<std::pair<DWORD, long long>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == count->first) ++count->second;
  return TRUE;
}

// Windows (top-level and child) that the process owns: the part of its USER
// objects that can be counted from outside where GetGuiResources cannot.
long long windows_of(DWORD pid) {
  std::pair<DWORD, long long> count(pid, 0);
  for (HWND top : top_level_windows()) {
    count_window_of(top, reinterpret_cast<LPARAM>(&count));
    EnumChildWindows(top, count_window_of, reinterpret_cast<LPARAM>(&count));
  }
  return count.second;
}

// Committed private memory in the process's address space, region by region:
// what Windows counts as private bytes. Under Wine it leaves out what the
// Unix side of the process allocates, which the system's answer includes.
long long committed_private(HANDLE process) {
  long long total = 0;
  const char* at = nullptr;
  MEMORY_BASIC_INFORMATION region;
  while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      total += static_cast<long long>(region.RegionSize);
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

int cmd_usage(const Args& a) {
  HWND h;
  if (a.size() != 1) return usage("usage <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess failed: %lu\n", GetLastError());
    return 2;
  }
  DWORD handles = 0;
  if (!GetProcessHandleCount(process.get(), &handles)) handles = 0;
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory)) {
    std::fprintf(stderr, "probe: GetProcessMemoryInfo failed: %lu\n", GetLastError());
  }
  // Windows reports the commit charge in both; Wine fills only the older one
  // for another process.
  const SIZE_T private_bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  Line ln;
  ln.add(static_cast<long long>(GetGuiResources(process.get(), GR_GDIOBJECTS)))
      .add(static_cast<long long>(GetGuiResources(process.get(), GR_USEROBJECTS)))
      .add(static_cast<long long>(handles))
      .add(static_cast<long long>(private_bytes))
      .add(gdi_in_shared_table(process.get()))
      .add(handles_in_system_table(pid))
      .add(windows_of(pid))
      .add(committed_private(process.get()))
      .emit();
  return 0;
}

}  // namespace probe
