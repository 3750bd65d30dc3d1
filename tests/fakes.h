#pragma once
// The world in memory: one object stands in for every port but the lists and logs what the program
// does to it ("box <title>|<text>", "reg <name>=<text>", "send <address> ..."), in order.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
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
inline const auto Blanks = [](size_t n) { return std::string(n, ' '); };
template <typename T>
T Next(std::deque<T>& script, T otherwise) {
  if (!script.empty()) otherwise = script.front(), script.pop_front();
  return otherwise;
}

// A sorted list keeps the real control's order, letter case ignored. Row writes are logged
// ("text 3", "data 3") when `log` is set. One line an operation, so that they read as a table.
// clang-format off
struct FakeListBox : ListBox {
  struct Entry { std::string text; int32_t data = 0; };
  explicit FakeListBox(bool isSorted = false, Strings texts = {}) : sorted(isSorted) { for (const auto& t : texts) Add(t); }
  int16_t Count() const override { return static_cast<int16_t>(rows.size()); }
  int16_t Selected() const override { return selected; }
  std::string Row(int16_t row) const override { return rows.at(row).text; }
  std::string RowsText(std::string_view end) const override { std::string text; for (const auto& r : rows) text += r.text + std::string(end); return text; }
  void SetRow(int16_t row, const std::string& text) override { Log("text ", row).text = text; }
  int32_t ItemData(int16_t row) const override { return rows.at(row).data; }
  void SetItemData(int16_t row, int32_t data) override { Log("data ", row).data = data; }
  void Add(const std::string& text) override {
    const auto less = [](auto& t, auto& r) { return std::lexicographical_compare(t.begin(), t.end(), r.text.begin(), r.text.end(), [](char a, char b) { return tolower(a) < tolower(b); }); };
    if (rows.size() < size_t{kMaxRows}) rows.insert(sorted ? std::upper_bound(rows.begin(), rows.end(), text, less) : rows.end(), {text});
  }
  int16_t AddRows(const std::vector<std::string_view>& texts) override { int16_t n = 0; for (; size_t(n) < texts.size() && Count() < kMaxRows; ++n) Add(std::string(texts[n])); return n; }
  void Clear() override { rows.clear(), selected = -1; }
  void Remove(int16_t row) override { rows.erase(rows.begin() + (&rows.at(row) - rows.data())), selected = selected == row ? -1 : selected > row ? selected - 1 : selected; }  // at(): no such row throws
  void Deselect(int16_t row) override { selected = selected == row ? -1 : selected; }
  Strings Texts() const { Strings out; for (const auto& r : rows) out.push_back(r.text); return out; }
  Entry& Log(const char* what, int16_t row) { return log ? log->push_back(what + std::to_string(row)) : void(), rows.at(row); }
  bool sorted;
  std::vector<Entry> rows;
  int16_t selected = -1;
  Strings* log = nullptr;
};

struct World : Dialogs, WindowHost, Registry, Files, Launcher, NetApi {
  using S = const std::string&;
  void MsgBox(S text, S title, MsgIcon icon) override { log.push_back("box " + title + (icon == MsgIcon::Critical ? "!|" : "|") + text); }
  std::string InputBox(S prompt) override { return log.push_back("input " + prompt), Next<std::string>(answers, ""); }  // "" is Cancel
  void ShowBusyWindow() override { log.push_back("show"); }
  void CloseBusyWindow() override { log.push_back("hide"); }
  void EnableMain(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
  void HandlePendingEvents() override { log.push_back("events"), onEvents ? onEvents() : void(); }
  void FocusMain() override { log.push_back("focus"); }
  void EndProgram() override { log.push_back("end"); }
  // The registry: values by root, key and name, each with its type and bytes.
  std::string GetString(int32_t root, S key, S name) override { return Get(root, key, name, 1).value_or(""); }
  void SaveString(int32_t root, S key, S name, S text) override { SaveRaw(root, key, name, 1, text); }
  int32_t GetDWord(int32_t root, S key, S name) override { return std::stoi(Get(root, key, name, 4).value_or("0")); }
  void SaveDWord(int32_t root, S key, S name, int32_t n) override { SaveRaw(root, key, name, 4, std::to_string(n)); }
  RawValue GetRaw(int32_t root, S key, S name, uint32_t maxBytes) override {
    const auto it = values.find({root, key, name});
    return it == values.end() ? RawValue{} : it->second.bytes.size() > maxBytes ? RawValue{.found = true, .type = it->second.type, .bytes = {}} : it->second;
  }
  void SaveRaw(int32_t root, S key, S name, uint32_t type, S bytes) override {
    log.push_back("reg " + name + (type == 1 || type == 4 ? "=" + bytes : ""));
    values[{root, key, name}] = {true, true, type, bytes};
  }
  std::optional<std::string> Get(int32_t root, S key, S name, uint32_t type) { const RawValue v = GetRaw(root, key, name, ~0u); return v.type == type ? std::optional(v.bytes) : std::nullopt; }
  void Set(S key, S name, S text) { values[{kHkeyLocalMachine, key, name}] = {true, true, 1, text}; }
  // Files, with faults to inject: a write that stops part-way, a move that fails.
  std::optional<std::string> ReadAll(S path) override { return files.count(path) ? std::optional(files[path]) : std::nullopt; }
  bool WriteNew(S path, std::string_view bytes) override { return (files[path] = bytes.substr(0, failWriteAfter)) == bytes; }
  bool Replace(S from, S to) override { return !failReplace && files.count(from) && (files[to] = files[from], files.erase(from)); }
  void Delete(S path) override { log.push_back("delete " + path), files.erase(path); }
  std::string Environ(S name) override { return env[name]; }
  // The launcher: results from scripts.
  int32_t ShellExecute(S operation, S file, S parameters, S dir, int32_t show) override {
    log.push_back("shell " + operation + " " + file + parameters + " dir=" + dir + " show=" + std::to_string(show));
    return Next<int32_t>(shellResults, 42);
  }
  int32_t StartProcess(S application, S commandLine, int32_t show) override {
    log.push_back("start " + application + " cmd=" + commandLine + " show=" + std::to_string(show));
    return Next<int32_t>(processResults, 4242);
  }
  int32_t TimeZoneBiasMinutes() override { return 60; }
  // Winsock, ICMP and the connection, on a clock that only waits move: echo requests answer from
  // `echoes`, connections from `connects`, each after its time (`endsAfterMs` < 0: at once, from
  // the call itself); window messages arrive at `messagesAtMs`.
  struct Echo {
    uint32_t replies = 0;
    bool writes = false;
    uint32_t status = 0, roundTrip = 0, error = 0;  // error: the platform's last error
    int32_t endsAfterMs = 0;
  };
  struct Connect {
    ConnectStart start = ConnectStart::Pending;
    bool made = false;
    int32_t afterMs = -1;  // never answers
  };
  int32_t StartWinsock(uint16_t version, WinsockInfo& info) override {
    log.push_back("startup " + std::to_string(version));
    if (startupWrites) info = *startupWrites;
    return startupResult;
  }
  int32_t CleanUpWinsock() override { return log.push_back("cleanup"), cleanupResult; }
  int32_t LastWinsockError() override { return log.push_back("lasterror"), lastError; }
  HostLookup LookUpHost(S name) override { return log.push_back("lookup " + name), hosts.count(name) ? hosts[name] : HostLookup{}; }
  bool OpenIcmp() override { return log.push_back("open"), icmpOpen = openResult; }
  static std::string Dotted(int32_t dest) { const auto b = std::bit_cast<Octets>(dest); return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]); }
  std::optional<uint32_t> StartEcho(int32_t dest, S data, uint8_t ttl, EchoReplyArea& reply, uint32_t ms) override {
    log.push_back("send " + Dotted(dest) + " " + data + " ttl=" + std::to_string(ttl) + " " + std::to_string(ms) + "ms");
    echo = Next<Echo>(echoes, {}), echoReply = &reply;
    if (echo.endsAfterMs >= 0) return echoEndsUs = nowUs + echo.endsAfterMs * 1000, std::nullopt;
    return EndEcho(), echo.replies;
  }
  void EndEcho() {
    echoError = echo.error, echoEndsUs.reset();
    if (echo.writes) std::memcpy(echoReply->bytes.data() + 4, &echo.status, 4), std::memcpy(echoReply->bytes.data() + 8, &echo.roundTrip, 4);
  }
  uint32_t EchoReplies(EchoReplyArea&) override { return echo.replies; }
  uint32_t LastEchoError() override { return echoError; }
  bool CloseIcmp() override { return log.push_back("close"), std::exchange(icmpOpen, false) && closeResult; }
  ConnectStart StartConnect(int32_t dest, uint16_t port) override {
    log.push_back("connect " + Dotted(dest) + ":" + std::to_string(port) + " at " + std::to_string(nowUs / 1000));
    connect = Next<Connect>(connects, {});
    if (connect.start == ConnectStart::Pending && connect.afterMs >= 0) connectEndsUs = nowUs + connect.afterMs * 1000;
    return connect.start;
  }
  void CloseConnection() override { log.push_back("disconnect at " + std::to_string(nowUs / 1000)), connectEndsUs.reset(); }
  NetEvent Wait(uint32_t maxMs) override {
    const int64_t limit = nowUs + int64_t{maxMs} * 1000, message = messagesAtMs.empty() ? limit : messagesAtMs.front() * 1000;
    const int64_t next = std::min({limit, echoEndsUs.value_or(limit), connectEndsUs.value_or(limit), message});
    nowUs = std::max(nowUs, next);
    if (echoEndsUs == next) return EndEcho(), NetEvent::EchoEnded;
    if (connectEndsUs == next) return connectEndsUs.reset(), connect.made ? NetEvent::Connected : NetEvent::ConnectFailed;
    if (next == message && !messagesAtMs.empty()) return messagesAtMs.pop_front(), NetEvent::Messages;
    return NetEvent::Nothing;
  }
  int64_t MicrosecondsNow() override { return nowUs; }
  bool UnderWine() override { return underWine; }
  Strings Boxes() const { Strings b; std::copy_if(log.begin(), log.end(), std::back_inserter(b), [](auto& l) { return l.rfind("box ", 0) == 0; }); return b; }

  Strings log;
  FakeListBox gameList{false}, privateList{true};
  std::deque<std::string> answers;
  std::function<void()> onEvents;
  std::map<std::tuple<int32_t, std::string, std::string>, RawValue> values;
  std::map<std::string, std::string> files, env;
  size_t failWriteAfter = std::string::npos;  // write this many bytes, then fail
  bool failReplace = false;
  std::deque<int32_t> shellResults, processResults;
  int32_t startupResult = 0, cleanupResult = 0, lastError = 11001;
  std::optional<WinsockInfo> startupWrites = WinsockInfo{0x0101, 32767};
  std::map<std::string, HostLookup> hosts;
  bool openResult = true, closeResult = true, icmpOpen = false, underWine = false;
  uint32_t echoError = 0;
  std::deque<Echo> echoes;
  Echo echo;
  EchoReplyArea* echoReply = nullptr;
  std::deque<Connect> connects;
  Connect connect;
  std::optional<int64_t> echoEndsUs, connectEndsUs;
  std::deque<int64_t> messagesAtMs;
  int64_t nowUs = 0;
};
// clang-format on

}  // namespace gantrel::testing
