#pragma once
// In-memory stand-ins for the ports. What the program does to them lands in one shared log, so a
// test can check what happened and in which order.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs.h"
#include "files.h"
#include "launcher.h"
#include "list_box.h"
#include "net_api.h"
#include "registry.h"
#include "window_host.h"

namespace gantrel::testing {

using Strings = std::vector<std::string>;

// How many message boxes the log shows.
inline long Boxes(const Strings& log) {
  return std::count_if(log.begin(), log.end(), [](auto& l) { return l.rfind("box ", 0) == 0; });
}

template <typename T>
T Next(std::deque<T>& script, T otherwise) {
  if (script.empty()) return otherwise;
  T next = script.front();
  script.pop_front();
  return next;
}

// A sorted list keeps the case-insensitive order of the real control. Row writes are logged
// when `log` is set ("text 3", "data 3").
class FakeListBox : public ListBox {
 public:
  struct Entry {
    std::string text;
    int32_t data = 0;
  };
  explicit FakeListBox(bool sorted = false, Strings texts = {}) : sorted_(sorted) {
    for (const auto& t : texts) Add(t);
  }
  int16_t Count() const override { return static_cast<int16_t>(rows.size()); }
  int16_t Selected() const override { return selected; }
  std::string Row(int16_t row) const override { return rows.at(At(row)).text; }
  void SetRow(int16_t row, const std::string& text) override {
    Log("text ", row);
    rows.at(At(row)).text = text;
  }
  int32_t ItemData(int16_t row) const override { return rows.at(At(row)).data; }
  void SetItemData(int16_t row, int32_t data) override {
    Log("data ", row);
    rows.at(At(row)).data = data;
  }
  bool Add(const std::string& text) override {
    if (rows.size() >= static_cast<size_t>(kMaxRows)) return false;
    auto at = !sorted_ ? rows.end()
                       : std::upper_bound(rows.begin(), rows.end(), text, [](auto& t, auto& r) {
                           return std::lexicographical_compare(
                               t.begin(), t.end(), r.text.begin(), r.text.end(),
                               [](char x, char y) { return std::tolower(x) < std::tolower(y); });
                         });
    rows.insert(at, Entry{text, 0});
    return true;
  }
  void Remove(int16_t row) override {
    rows.erase(rows.begin() + static_cast<long>(At(row)));
    selected = selected == row ? -1 : selected > row ? selected - 1 : selected;
  }
  void Deselect(int16_t row) override {
    if (selected == row) selected = -1;
  }
  Strings Texts() const {
    Strings out;
    for (const auto& r : rows) out.push_back(r.text);
    return out;
  }

  std::vector<Entry> rows;
  int16_t selected = -1;
  Strings* log = nullptr;

 private:
  size_t At(int16_t row) const {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) throw std::out_of_range("list row");
    return static_cast<size_t>(row);
  }
  void Log(const char* what, int16_t row) {
    if (log) log->push_back(what + std::to_string(row));
  }
  bool sorted_;
};

// Values by root, key and name, each with its registry type and bytes. Text and raw writes are
// logged as "reg <name>=<text>" and "reg <name>".
class FakeRegistry : public Registry {
 public:
  explicit FakeRegistry(Strings* log = nullptr) : log_(log) {}
  static constexpr uint32_t kSz = 1, kDWord = 4;
  using Key = std::tuple<int32_t, std::string, std::string>;

  std::string GetString(int32_t root, const std::string& key, const std::string& name) override {
    const RawValue v = GetRaw(root, key, name, ~0u);
    return v.type == kSz ? v.bytes : "";
  }
  void SaveString(int32_t root, const std::string& key, const std::string& name,
                  const std::string& text) override {
    Save(root, key, name, kSz, text, "=" + text);
  }
  int32_t GetDWord(int32_t root, const std::string& key, const std::string& name) override {
    const RawValue v = GetRaw(root, key, name, ~0u);
    int32_t n = 0;
    if (v.type == kDWord && v.bytes.size() == 4) std::memcpy(&n, v.bytes.data(), 4);
    return n;
  }
  void SaveDWord(int32_t root, const std::string& key, const std::string& name,
                 int32_t value) override {
    Save(root, key, name, kDWord, std::string(reinterpret_cast<const char*>(&value), 4), "");
  }
  RawValue GetRaw(int32_t root, const std::string& key, const std::string& name,
                  uint32_t maxBytes) override {
    auto it = values.find({root, key, name});
    if (it == values.end()) return {};
    if (it->second.bytes.size() > maxBytes) return {true, false, it->second.type, ""};
    return {true, true, it->second.type, it->second.bytes};
  }
  void SaveRaw(int32_t root, const std::string& key, const std::string& name, uint32_t type,
               const std::string& bytes) override {
    Save(root, key, name, type, bytes, "");
    if (log_) log_->push_back("reg " + name);
  }

  // Test helpers: a text under HKEY_LOCAL_MACHINE, read or set.
  std::string Text(const std::string& key, const std::string& name) {
    return GetString(kHkeyLocalMachine, key, name);
  }
  void Set(const std::string& key, const std::string& name, const std::string& text) {
    values[{kHkeyLocalMachine, key, name}] = {true, true, kSz, text};
  }

  std::map<Key, RawValue> values;
  bool readOnly = false;  // a refused write: the old value stays
  int writes = 0;

 private:
  void Save(int32_t root, const std::string& key, const std::string& name, uint32_t type,
            const std::string& bytes, const std::string& shown) {
    ++writes;
    if (!readOnly) values[{root, key, name}] = {true, true, type, bytes};
    if (log_ && type == kSz) log_->push_back("reg " + name + shown);
  }
  Strings* log_;
};

// Files and environment in memory, with faults to inject. Deletes are logged as "delete <path>".
class FakeFiles : public Files {
 public:
  explicit FakeFiles(Strings* log = nullptr) : log_(log) {}
  std::optional<std::string> ReadAll(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteNew(const std::string& path, std::string_view bytes) override {
    if (failCreate) return false;
    files[path] = std::string(bytes.substr(0, failWriteAfter));
    return failWriteAfter >= bytes.size() && !failFlush;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (failReplace || !files.count(from)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  bool Delete(const std::string& path) override {
    if (log_) log_->push_back("delete " + path);
    return files.erase(path) > 0;
  }
  std::optional<std::string> Environ(const std::string& name) override {
    auto it = env.find(name);
    return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
  }

  std::map<std::string, std::string> files;
  std::map<std::string, std::string> env;
  bool failCreate = false, failFlush = false, failReplace = false;
  size_t failWriteAfter = std::string::npos;  // write this many bytes, then fail

 private:
  Strings* log_;
};

// Boxes are logged as "box <title>|<text>" (a critical icon adds "!"); input boxes as
// "input <prompt>", answered from a script where "" is Cancel.
class FakeDialogs : public Dialogs {
 public:
  explicit FakeDialogs(Strings& log) : log_(log) {}
  void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override {
    log_.push_back("box " + title + (icon == MsgIcon::Critical ? "!" : "") + "|" + text);
  }
  std::string InputBox(const std::string& prompt) override {
    log_.push_back("input " + prompt);
    return Next<std::string>(answers, "");
  }
  std::deque<std::string> answers;

 private:
  Strings& log_;
};

// Window calls logged as "show", "disable", "events", "close", "enable", "focus", "end".
class FakeWindowHost : public WindowHost {
 public:
  explicit FakeWindowHost(Strings& log) : log_(log) {}
  void ShowBusyWindow() override { Log("show"); }
  void CloseBusyWindow() override { Log("close"); }
  void EnableMain(bool enabled) override { Log(enabled ? "enable" : "disable"); }
  void HandlePendingEvents() override {
    Log("events");
    if (onEvents) onEvents();
  }
  void FocusMain() override { Log("focus"); }
  void EndProgram() override { Log("end"); }
  std::function<void()> onEvents;

 private:
  void Log(const char* what) { log_.push_back(what); }
  Strings& log_;
};

// Starts logged as "shell <operation> <file> dir=<directory> show=<n>" and
// "start <application> cmd=<command line> show=<n>"; results from scripts.
class FakeLauncher : public Launcher {
 public:
  explicit FakeLauncher(Strings& log) : log_(log) {}
  int32_t ShellExecute(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int32_t show) override {
    log_.push_back("shell " + operation + " " + file + parameters + " dir=" + directory +
                   " show=" + std::to_string(show));
    return Next<int32_t>(shellResults, 42);
  }
  int32_t StartProcess(const std::string& application, const std::string& commandLine,
                       int32_t show) override {
    log_.push_back("start " + application + " cmd=" + commandLine + " show=" + std::to_string(show));
    return Next<int32_t>(processResults, 4242);
  }
  int32_t TimeZoneBiasMinutes() override { return biasMinutes; }
  std::deque<int32_t> shellResults, processResults;
  int32_t biasMinutes = 60;

 private:
  Strings& log_;
};

// Winsock and ICMP calls logged as "startup", "lookup <name>", "lasterror", "open", "send <dest
// as a.b.c.d> <bytes> ttl=<n> <ms>ms", "close", "cleanup"; echo requests answer from `echoes`.
class FakeNetApi : public NetApi {
 public:
  struct Echo {
    uint32_t replies = 0;
    bool writes = false;
    uint32_t status = 0, roundTrip = 0;
  };

  explicit FakeNetApi(Strings& log) : log_(log) {}
  int32_t StartWinsock(uint16_t version, WinsockInfo& info) override {
    log_.push_back("startup " + std::to_string(version));
    if (startupWrites) info = *startupWrites;
    return startupResult;
  }
  int32_t CleanUpWinsock() override { return Log("cleanup"), cleanupResult; }
  int32_t LastWinsockError() override { return Log("lasterror"), lastError; }
  HostLookup LookUpHost(const std::string& name) override {
    log_.push_back("lookup " + name);
    auto it = hosts.find(name);
    return it == hosts.end() ? HostLookup{} : it->second;
  }
  bool OpenIcmp() override { return Log("open"), open = openResult; }
  uint32_t SendEcho(int32_t dest, const std::string& data, uint8_t ttl, EchoReplyArea& reply,
                    uint32_t ms) override {
    uint8_t b[4];
    std::memcpy(b, &dest, 4);
    log_.push_back("send " + std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                   std::to_string(b[2]) + "." + std::to_string(b[3]) + " " + data + " ttl=" +
                   std::to_string(ttl) + " " + std::to_string(ms) + "ms");
    const Echo e = Next<Echo>(echoes, Echo{});
    if (e.writes) {
      std::memcpy(reply.bytes.data() + 4, &e.status, 4);
      std::memcpy(reply.bytes.data() + 8, &e.roundTrip, 4);
    }
    return e.replies;
  }
  bool CloseIcmp() override {
    Log("close");
    const bool wasOpen = open;
    open = false;
    return wasOpen && closeResult;
  }

  int32_t startupResult = 0, cleanupResult = 0, lastError = 11001;
  std::optional<WinsockInfo> startupWrites = WinsockInfo{0x0101, 32767};
  std::map<std::string, HostLookup> hosts;
  bool openResult = true, closeResult = true, open = false;
  std::deque<Echo> echoes;

 private:
  void Log(const char* what) { log_.push_back(what); }
  Strings& log_;
};

// Every port over one log, as the main window's handlers see them.
struct World {
  Strings log;
  FakeListBox gameList{false};
  FakeListBox privateList{true};
  FakeDialogs dialogs{log};
  FakeWindowHost host{log};
  FakeRegistry registry{&log};
  FakeFiles files{&log};
  FakeLauncher launcher{log};
  FakeNetApi net{log};
};

}  // namespace gantrel::testing
