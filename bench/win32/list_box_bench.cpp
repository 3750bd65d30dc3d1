// Import, sort, private save and load through the real LISTBOX controls, the real registry and a
// real Windows folder: what start-up and the buttons cost beyond the logic alone. Prints
// tab-separated rows for tools/bench.
//   list_box_bench.exe [--repeats N] [--rows N] [--shown] [--no-redraw]
// By default the lists sit in a hidden window, as they are while start-up fills them. --shown
// shows the window, as it is when a button is pressed; --no-redraw turns the lists' redrawing off
// around each operation (WM_SETREDRAW), to show what that would change.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench_hosts.h"
#include "bench_rows.h"
#include "ping_sort/ping_runs.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"
#include "win32_files.h"
#include "win32_list_box.h"
#include "win32_registry.h"

namespace gantrel {
namespace {

using bench::Median;
using bench::Ms;
using bench::NowMs;
using bench::Row;

struct Options {
  int repeats = 3;
  int rows = kMaxRows;
  bool shown = false;
  bool noRedraw = false;
};

// The real folder calls, with the Windows folder moved to a scratch folder of our own.
class ScratchFiles : public Win32Files {
 public:
  explicit ScratchFiles(std::string windir) : windir_(std::move(windir)) {}
  std::string Environ(const std::string& name) override {
    if (_stricmp(name.c_str(), "windir") == 0) return windir_;
    return Win32Files::Environ(name);
  }

 private:
  std::string windir_;
};

// Counts the boxes a failed save would show.
class CountingDialogs : public Dialogs {
 public:
  void MsgBox(const std::string&, const std::string&, MsgIcon) override { ++boxes; }
  std::string InputBox(const std::string&) override { return ""; }
  int boxes = 0;
};

void Clear(HWND list) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

class Bench {
 public:
  Bench(const Options& options, HWND h1, HWND h2) : options_(options), h1_(h1), h2_(h2) {
    const std::string rows =
        options.rows == kMaxRows ? "" : ", " + std::to_string(options.rows) + " rows";
    suffix_ =
        rows + (options.shown ? ", shown window" : "") + (options.noRedraw ? ", redraw off" : "");
  }

  // Runs `setUp` (not timed) and `run` (timed) a few times; prints the median, or "failed" when
  // `check` finds the result wrong. A figure for fewer rows than a full list also gives the full
  // list's figure at the same cost per row.
  void Measure(const std::string& name, const std::function<void()>& setUp,
               const std::function<void()>& run, const std::function<bool()>& check) {
    std::vector<double> times;
    for (int i = 0; i < options_.repeats; ++i) {
      // Filling the lists for the run is not what is measured: done with redrawing off.
      SetRedraw(false);
      setUp();
      SetRedraw(true);
      const double start = NowMs();
      if (options_.noRedraw) SetRedraw(false);
      run();
      if (options_.noRedraw) SetRedraw(true);
      times.push_back(NowMs() - start);
      if (!check()) {
        Row(name + suffix_, "failed", "< 1 s");
        return;
      }
    }
    std::string figure = Ms(Median(times));
    if (options_.rows != kMaxRows) {
      char full[64];
      std::snprintf(full, sizeof full, " (%.2f ms/row: %.0f s at 32,767)",
                    Median(times) / options_.rows, Median(times) / options_.rows * kMaxRows / 1000);
      figure += full;
    }
    Row(name + suffix_, figure, "< 1 s at 32,767");
  }

 private:
  void SetRedraw(bool on) {
    for (HWND h : {h1_, h2_}) {
      SendMessageA(h, WM_SETREDRAW, on, 0);
      if (on) InvalidateRect(h, nullptr, TRUE);
    }
  }

  Options options_;
  HWND h1_;
  HWND h2_;
  std::string suffix_;
};

int Run(const Options& options) {
  // The manifest asks for Common Controls 6, as gantrel.exe's does: its LISTBOX is the one the
  // program gets.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "GantrelListBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "list bench", WS_OVERLAPPEDWINDOW, 0, 0, 640,
                                480, nullptr, nullptr, instance, nullptr);
  const DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  HWND h1 =
      CreateWindowExA(0, "LISTBOX", "", style, 0, 0, 300, 400, window, nullptr, instance, nullptr);
  HWND h2 = CreateWindowExA(0, "LISTBOX", "", style | LBS_SORT, 320, 0, 300, 400, window, nullptr,
                            instance, nullptr);
  if (!window || !h1 || !h2) {
    std::fprintf(stderr, "list_box_bench: no window\n");
    return 1;
  }
  if (options.shown) ShowWindow(window, SW_SHOW);
  // Drawing held back as in the program; nothing here thaws the lists.
  Win32ListBox gameList;
  Win32ListBox privateList;
  gameList.Attach(h1, window);
  privateList.Attach(h2, window);
  const int16_t rows = static_cast<int16_t>(options.rows);
  auto full = [rows](const ListBox& l) { return l.Count() == rows; };
  Bench bench(options, h1, h2);

  // The game's list in the bench prefix's registry; the old value is put back afterwards.
  Win32Registry registry;
  const std::string oldValue =
      registry.GetString(kHkeyLocalMachine, kBattleNetKey, kServerListValue);
  const std::vector<std::string> hosts = bench::Hosts(rows);
  std::string value;
  for (const std::string& h : hosts) value += (value.empty() ? "" : ";") + h;
  registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, value);

  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string folder =
      std::string(temp) + "gantrel-bench-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string listFile = folder + "\\gantrel.ini";
  ScratchFiles files(folder);
  CountingDialogs dialogs;

  if (!options.shown) {
    bench.Measure(
        "import at start-up, real game list + sorted private list",
        [&] {
          Clear(h1);
          Clear(h2);
        },
        [&] { ImportServerList(registry, gameList, privateList); },
        [&] { return full(gameList) && full(privateList); });
  }
  // With the private list not empty, the button refills the game list only.
  bench.Measure(
      "import button, real game list refilled",
      [&] {
        if (privateList.Count() == 0) privateList.Add("kept");
        if (gameList.Count() != rows) ImportServerList(registry, gameList, privateList);
      },
      [&] { ImportServerList(registry, gameList, privateList); }, [&] { return full(gameList); });

  // Measured rows as a ping run leaves them, in random order of time.
  std::mt19937 rng(7);
  std::vector<int32_t> data;
  for (int i = 0; i < rows; ++i)
    data.push_back(rng() % 10 == 0 ? 9999 : static_cast<int32_t>(1 + rng() % 400));
  bench.Measure(
      "sort, real game list",
      [&] {
        Clear(h1);
        for (int i = 0; i < rows; ++i) {
          std::string row = hosts[static_cast<size_t>(i)];
          row.resize(20, ' ');
          row += "[" + std::to_string(data[static_cast<size_t>(i)]) + " ms]";
          gameList.Add(row);
          gameList.SetItemData(static_cast<int16_t>(i), data[static_cast<size_t>(i)]);
        }
      },
      [&] { SortServerList(gameList); },
      [&] {
        for (int16_t i = 1; i < gameList.Count(); ++i)
          if (gameList.ItemData(static_cast<int16_t>(i - 1)) > gameList.ItemData(i)) return false;
        return full(gameList);
      });

  // The private list's file chores run at start-up (load, hidden) or only read the list (save).
  if (!options.shown) {
    bench.Measure(
        "private save, real sorted private list + file",
        [&] {
          if (privateList.Count() == rows) return;
          Clear(h2);
          for (size_t i = 0; i < hosts.size(); ++i)
            privateList.Add(PrivateRow(hosts[i], "games night " + std::to_string(i % 97)));
        },
        [&] { SavePrivateList(files, dialogs, privateList); },
        [&] {
          return dialogs.boxes == 0 &&
                 GetFileAttributesA(listFile.c_str()) != INVALID_FILE_ATTRIBUTES;
        });
    bench.Measure(
        "private load, saved file into real sorted private list", [&] { Clear(h2); },
        [&] { LoadPrivateList(files, privateList); }, [&] { return full(privateList); });

    // A file edited by hand, in no order.
    std::vector<std::string> lines;
    for (int16_t i = 0; i < privateList.Count(); ++i) lines.push_back(privateList.Row(i));
    std::shuffle(lines.begin(), lines.end(), std::mt19937(5));
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\r\n";
    files.WriteNew(listFile, bytes);
    bench.Measure(
        "private load, shuffled file into real sorted private list", [&] { Clear(h2); },
        [&] { LoadPrivateList(files, privateList); }, [&] { return full(privateList); });
  }

  DeleteFileA(listFile.c_str());
  DeleteFileA((listFile + ".tmp").c_str());
  RemoveDirectoryA(folder.c_str());
  if (oldValue.empty()) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBattleNetKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kServerListValue);
      RegCloseKey(key);
    }
  } else {
    registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, oldValue);
  }
  DestroyWindow(window);
  return 0;
}

}  // namespace
}  // namespace gantrel

int main(int argc, char** argv) {
  gantrel::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--repeats" && i + 1 < argc) {
      options.repeats = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--rows" && i + 1 < argc) {
      options.rows = std::clamp(std::atoi(argv[++i]), 2, static_cast<int>(gantrel::kMaxRows));
    } else if (arg == "--shown") {
      options.shown = true;
    } else if (arg == "--no-redraw") {
      options.noRedraw = true;
    } else {
      std::fprintf(stderr,
                   "usage: list_box_bench [--repeats N] [--rows N] [--shown] [--no-redraw]\n");
      return 2;
    }
  }
  return gantrel::Run(options);
}
