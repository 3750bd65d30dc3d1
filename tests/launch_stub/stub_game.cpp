// A stand-in for a game or a link handler: records how it was started into "<its own path>.record"
// and ends at once. The record appears whole (written aside, then renamed) so a waiting test never
// reads half of it.
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  char self[MAX_PATH] = {}, cwd[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, cwd);
  const std::string record = std::string("module=") + self + "\ncmdline=" + GetCommandLineA() +
                             "\ncwd=" + cwd + "\nflags=" + std::to_string(startup.dwFlags) +
                             "\nshow=" + std::to_string(startup.wShowWindow) +
                             "\npid=" + std::to_string(GetCurrentProcessId()) + "\n";
  const std::string aside = std::string(self) + ".record.tmp";
  {
    std::ofstream out(aside, std::ios::binary);
    if (!(out << record).flush()) return 1;
  }
  return MoveFileExA(aside.c_str(), (std::string(self) + ".record").c_str(),
                     MOVEFILE_REPLACE_EXISTING)
             ? 0
             : 1;
}
