// A game or link handler: leaves "<its path>.record" (start folder, show state, command line).
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  STARTUPINFOA start{};
  GetStartupInfoA(&start);
  const int show = start.dwFlags & STARTF_USESHOWWINDOW ? start.wShowWindow : -1;
  std::ofstream record(_pgmptr + std::string(".record"), std::ios::binary);
  record << std::filesystem::current_path().string() << '\n' << show << '\n' << GetCommandLineA();
  return 0;
}
