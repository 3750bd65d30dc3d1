#pragma once
// Shared by the Windows-side benchmark programs: a wall clock and the rows they print, one per
// figure, as tab-separated "name, figure, target" for tools/bench to put into its table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace gantrel::bench {

inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / perMs;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 10 ? "%.2f ms" : "%.0f ms", ms);
  return text;
}

// A Unix path as Wine's Z: drive names it; other paths unchanged.
inline std::string WindowsPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

// This process's environment block with "windir" set to `windir` (left out when empty).
inline std::vector<char> EnvironmentWith(const std::string& windir) {
  std::vector<char> env;
  char* block = GetEnvironmentStringsA();
  for (const char* p = block; *p; p += std::strlen(p) + 1) {
    if (_strnicmp(p, "windir=", 7) == 0) continue;
    env.insert(env.end(), p, p + std::strlen(p) + 1);
  }
  FreeEnvironmentStringsA(block);
  if (!windir.empty()) {
    const std::string v = "windir=" + windir;
    env.insert(env.end(), v.c_str(), v.c_str() + v.size() + 1);
  }
  env.push_back('\0');
  return env;
}

// Starts a program as the desktop would (no standard handles) with the environment given.
inline bool StartProgram(const std::string& exe, std::vector<char>& env, PROCESS_INFORMATION& pi) {
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, env.data(), nullptr,
                        &si, &pi) != FALSE;
}

inline void Row(const std::string& name, const std::string& figure, const std::string& target) {
  std::printf("%s\t%s\t%s\n", name.c_str(), figure.c_str(), target.c_str());
  std::fflush(stdout);
}

}  // namespace gantrel::bench
