// A stand-in for a game or a link handler: records how it was started into "<its own path>.record"
// and ends at once. The record appears whole (written aside, then renamed) so a waiting test never
// reads half of it.
#include <windows.h>

#include <string>

namespace {

std::string ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  const DWORD n = GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder, n < MAX_PATH ? n : 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const std::string self = ModulePath();
  const std::string record = "module=" + self + "\n" + "cmdline=" + GetCommandLineA() + "\n" +
                             "cwd=" + CurrentFolder() + "\n" +
                             "flags=" + std::to_string(startup.dwFlags) + "\n" +
                             "show=" + std::to_string(startup.wShowWindow) + "\n" +
                             "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
  const std::string aside = self + ".record.tmp";
  HANDLE file = CreateFileA(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != record.size()) return 1;
  return MoveFileExA(aside.c_str(), (self + ".record").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
