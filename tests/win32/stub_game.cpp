// A game or link handler: leaves "<its path>.record" (start folder, show state, command line).
#include <windows.h>

#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA start{};
  GetStartupInfoA(&start);
  const std::string self = _pgmptr;  // this program's full path
  std::string cwd(MAX_PATH, '\0');
  cwd.resize(GetCurrentDirectoryA(MAX_PATH, cwd.data()));
  const int show = start.dwFlags & STARTF_USESHOWWINDOW ? start.wShowWindow : -1;
  std::ofstream(self + ".tmp", std::ios::binary) << cwd + '\n' + std::to_string(show) + '\n'
                                                 << GetCommandLineA();
  return !MoveFileExA((self + ".tmp").c_str(), (self + ".record").c_str(), 1);  // seen whole
}
