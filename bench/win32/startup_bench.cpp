// Start-up to an idle main window: gantrel.exe against a bare Win32 window program built the same
// way, started in turns in the same run so that both meet the same machine. Each start is timed
// from CreateProcess until the process shows a top-level window and then waits for input.
//   startup_bench.exe GANTREL_EXE BARE_EXE [RUNS] [WINDIR]
// Both get "windir" = WINDIR (a scratch folder, so no real private list is read or written).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_rows.h"

namespace gantrel {
namespace {

using bench::Median;
using bench::Ms;
using bench::NowMs;
using bench::Row;

// The program's shown top-level window of the class given. FindWindow costs the Wine server far
// less than walking every window, so polling for it hardly slows the start it is timing.
HWND ShownWindow(const char* className, DWORD pid) {
  HWND hwnd = FindWindowA(className, nullptr);
  DWORD owner = 0;
  if (!hwnd || (GetWindowThreadProcessId(hwnd, &owner), owner != pid) || !IsWindowVisible(hwnd))
    return nullptr;
  return hwnd;
}

struct Start {
  bool ok = false;
  double visibleMs = 0;
  double idleMs = 0;
};

Start TimeStart(const std::string& exe, const char* className, std::vector<char>& env) {
  Start result;
  PROCESS_INFORMATION pi{};
  const double t0 = NowMs();
  if (!bench::StartProgram(exe, env, pi)) return result;
  HWND shown = nullptr;
  while (NowMs() - t0 < 30000) {
    shown = ShownWindow(className, pi.dwProcessId);
    if (shown || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  if (shown) {
    result.visibleMs = NowMs() - t0;
    result.ok = WaitForInputIdle(pi.hProcess, 30000) == 0;
    result.idleMs = NowMs() - t0;
    PostMessageA(shown, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    result.ok = false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

int Run(const std::string& gantrel, const std::string& bare, int runs, const std::string& windir) {
  std::vector<char> env = bench::EnvironmentWith(windir);
  const std::string exes[2] = {gantrel, bare};
  const char* classes[2] = {"GantrelMain", "BareWindow"};
  std::vector<double> visible[2], idle[2];
  // One start of each first, not counted: the first start of a program reads it from disk.
  for (int round = -1; round < runs; ++round) {
    for (int which = 0; which < 2; ++which) {
      const Start s = TimeStart(exes[which], classes[which], env);
      if (!s.ok) {
        std::fprintf(stderr, "startup_bench: %s did not reach an idle window\n",
                     exes[which].c_str());
        Row("start-up to idle window", "failed", "ratio <= 1.3");
        return 1;
      }
      if (round < 0) continue;
      visible[which].push_back(s.visibleMs);
      idle[which].push_back(s.idleMs);
    }
  }
  // Each round starts both programs back to back, so the ratio within a round sees nearly the
  // same load on the machine; the median of those ratios shrugs off the rounds that other work
  // disturbed. The fastest starts are printed too.
  std::vector<double> ratios;
  for (size_t i = 0; i < idle[0].size(); ++i) ratios.push_back(idle[0][i] / idle[1][i]);
  const char* names[2] = {"gantrel.exe", "bare window"};
  for (int which = 0; which < 2; ++which) {
    Row("start-up to idle main window, " + std::string(names[which]) + ", median of " +
            std::to_string(runs),
        Ms(Median(idle[which])) + " (shown at " + Ms(Median(visible[which])) + "; fastest " +
            Ms(*std::min_element(idle[which].begin(), idle[which].end())) + ")",
        "");
  }
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.2f", Median(ratios));
  Row("start-up ratio gantrel.exe / bare window (median of the rounds' ratios)", ratio, "<= 1.3");
  return 0;
}

}  // namespace
}  // namespace gantrel

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench GANTREL_EXE BARE_EXE [RUNS] [WINDIR]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 30;
  std::string windir;
  if (argc > 4) {
    windir = gantrel::bench::WindowsPath(argv[4]);
  } else {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    windir = std::string(temp) + "gantrel-startup-bench";
  }
  CreateDirectoryA(windir.c_str(), nullptr);
  return gantrel::Run(gantrel::bench::WindowsPath(argv[1]), gantrel::bench::WindowsPath(argv[2]),
                      runs, windir);
}
