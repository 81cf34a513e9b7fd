// A stand-in for a system DLL planted beside the program (opengl32.dll,
// glu32.dll): loaded, it leaves a file named after itself in the temporary
// folder. The program must never load it.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char temp[MAX_PATH];
  char module[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH || GetModuleFileNameA(self, module, MAX_PATH) == 0) {
    return TRUE;
  }
  const std::string name(module);
  const std::string marker =
      std::string(temp) + "planted-" + name.substr(name.find_last_of('\\') + 1) + ".loaded";
  const HANDLE file =
      CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
