// The Import button of the real gantrel.exe on a long game list: the list is on the shown tab, so
// this is what a player with a long Server List waits for. Also times start-up with that list
// (--no-click: start-up only).
//   button_bench.exe GANTREL_EXE [ROWS] [--no-click]
// Writes a Server List of ROWS loopback addresses and host names to the prefix's registry for the
// run and puts the old value back afterwards. Nothing is ever pinged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_rows.h"
#include "gantrel_driver.h"
#include "server_list/server_list.h"
#include "win32_registry.h"

namespace gantrel {
namespace {

using bench::Ms;
using bench::NowMs;
using bench::Row;

constexpr const char* kMainClass = "GantrelMain";
constexpr const char* kSyncName = "Gantrel.Sync";

int Run(const std::string& exe, int rows, bool click, const std::string& windir) {
  const std::string suffix = ", " + std::to_string(rows) + "-row Server List";
  Win32Registry registry;
  const std::string oldValue =
      registry.GetString(kHkeyLocalMachine, kBattleNetKey, kServerListValue);
  std::string value;
  for (int i = 0; i < rows; ++i) {
    if (i) value += ';';
    value += i % 8 == 0 ? "server" + std::to_string(i) + ".example.net"
                        : "127.0." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256);
  }
  registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, value);

  int rc = 1;
  std::vector<char> env = bench::EnvironmentWith(windir);
  PROCESS_INFORMATION pi{};
  const double t0 = NowMs();
  if (bench::StartProgram(exe, env, pi)) {
    HWND found = nullptr;
    while (!found && NowMs() - t0 < 60000 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
      found = driver::FindWindowOf(pi.dwProcessId, kMainClass);
      if (!found) Sleep(1);
    }
    const bool idle = found && WaitForInputIdle(pi.hProcess, 60000) == 0;
    if (idle) {
      Row("start-up to idle main window, gantrel.exe" + suffix, Ms(NowMs() - t0), "");
      rc = 0;
    } else {
      Row("start-up of gantrel.exe" + suffix, "failed (no idle main window)", "");
    }
    if (idle && click) {
      // The click is posted (a sent one would wait for the handler); the marker posted behind it
      // is handled only once the import is done.
      HWND tab = GetDlgItem(found, kIdTabs);
      HWND import = GetDlgItem(tab, kIdImport);
      HWND gameList = GetDlgItem(tab, kIdGameList);
      const UINT sync = RegisterWindowMessageA(kSyncName);
      const double t1 = NowMs();
      PostMessageA(import, BM_CLICK, 0, 0);
      PostMessageA(found, sync, 1, 0);
      while (reinterpret_cast<INT_PTR>(GetPropA(found, kSyncName)) < 1 && NowMs() - t1 < 600000)
        Sleep(1);
      const double took = NowMs() - t1;
      const bool ok =
          SendMessageA(gameList, LB_GETCOUNT, 0, 0) == rows && IsWindowVisible(gameList);
      char figure[96];
      std::snprintf(figure, sizeof figure, "%s (%.2f ms/row: %.0f s at 32,767)", Ms(took).c_str(),
                    took / rows, took / rows * kMaxRows / 1000);
      Row("import button in gantrel.exe, game list shown" + suffix, ok ? figure : "failed",
          "< 1 s at 32,767");
      rc = ok ? 0 : 1;
    }
    if (found) PostMessageA(found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, oldValue);
  return rc;
}

}  // namespace
}  // namespace gantrel

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: button_bench GANTREL_EXE [ROWS] [--no-click]\n");
    return 2;
  }
  const int rows =
      argc > 2 ? std::max(2, std::min(std::atoi(argv[2]), static_cast<int>(gantrel::kMaxRows)))
               : 1000;
  const bool click = !(argc > 3 && std::strcmp(argv[3], "--no-click") == 0);
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string windir = std::string(temp) + "gantrel-button-bench";
  CreateDirectoryA(windir.c_str(), nullptr);
  return gantrel::Run(gantrel::bench::WindowsPath(argv[1]), rows, click, windir);
}
