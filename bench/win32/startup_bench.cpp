// Start-up to an idle main window: gantrel.exe against a bare Win32 window program built the same
// way, and gantrel.exe over a full private list against an empty one, started in turns in the same
// run so that all meet the same machine. Each start is timed from CreateProcess until the process
// shows a top-level window and then waits for input.
//   startup_bench.exe GANTREL_EXE BARE_EXE [RUNS] [WINDIR]
// Both get "windir" = WINDIR (a scratch folder with an empty private list file, so no real one is
// read or written); gantrel.exe is also started over WINDIR-full, whose private list file holds
// 32,767 rows, for the full / empty ratio.
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

// A private list file of 32,767 rows (the most a list holds), in the list's own order, as
// gantrel.exe saves it: hosts padded to 20, a description.
std::string FullPrivateFile() {
  std::vector<std::string> rows;
  for (int i = 0; i < 32767; ++i) {
    std::string row = i % 8 ? "127.0." + std::to_string(i / 256) + "." + std::to_string(i % 256)
                            : "server" + std::to_string(i) + ".example.net";
    rows.push_back(row + std::string(row.size() < 20 ? 20 - row.size() : 0, ' ') + " games night " +
                   std::to_string(i % 97));
  }
  std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  std::string file;
  for (const std::string& row : rows) file += row + "\r\n";
  return file;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return ok;
}

// In each round: gantrel.exe over an empty private list file, the bare window, gantrel.exe over a
// full one, so that every ratio compares starts that met the same machine.
int Run(const std::string& gantrel, const std::string& bare, int runs, const std::string& windir) {
  const std::string fullDir = windir + "-full";
  CreateDirectoryA(fullDir.c_str(), nullptr);
  if (!WriteFileBytes(windir + "\\gantrel.ini", "") ||
      !WriteFileBytes(fullDir + "\\gantrel.ini", FullPrivateFile())) {
    std::fprintf(stderr, "startup_bench: cannot write the private list files\n");
    return 1;
  }
  std::vector<char> env[3] = {bench::EnvironmentWith(windir), bench::EnvironmentWith(windir),
                              bench::EnvironmentWith(fullDir)};
  const std::string exes[3] = {gantrel, bare, gantrel};
  const char* classes[3] = {"GantrelMain", "BareWindow", "GantrelMain"};
  std::vector<double> visible[3], idle[3];
  // One start of each first, not counted: the first start of a program reads it from disk.
  for (int round = -1; round < runs; ++round) {
    for (int which = 0; which < 3; ++which) {
      const Start s = TimeStart(exes[which], classes[which], env[which]);
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
  // Each round starts the programs back to back, so the ratio within a round sees nearly the
  // same load on the machine; the median of those ratios shrugs off the rounds that other work
  // disturbed. The fastest starts are printed too.
  const auto medianRatio = [&](int a, int b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < idle[a].size(); ++i) ratios.push_back(idle[a][i] / idle[b][i]);
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.2f", Median(ratios));
    return std::string(ratio);
  };
  const char* names[3] = {"gantrel.exe", "bare window",
                          "gantrel.exe with a full private list file (32,767 rows)"};
  for (int which = 0; which < 3; ++which) {
    Row("start-up to idle main window, " + std::string(names[which]) + ", median of " +
            std::to_string(runs),
        Ms(Median(idle[which])) + " (shown at " + Ms(Median(visible[which])) + "; fastest " +
            Ms(*std::min_element(idle[which].begin(), idle[which].end())) + ")",
        "");
  }
  Row("start-up ratio gantrel.exe / bare window (median of the rounds' ratios)", medianRatio(0, 1),
      "<= 1.3");
  Row("start-up ratio gantrel.exe, full / empty private list file (median of the rounds' ratios)",
      medianRatio(2, 0), "<= 2");
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
