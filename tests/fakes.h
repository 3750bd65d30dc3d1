#pragma once
// The world in memory: one object stands in for every port but the lists and logs what the
// program does to it ("box <title>|<text>", "reg <name>=<text>", "send <address> ..."), in order.
#include <algorithm>
#include <bit>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
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
constexpr uint32_t kRegSz = 1, kRegDword = 4;
const auto Blanks = [](size_t n) { return std::string(n, ' '); };

inline std::string Dotted(const Octets& b) {
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

// The script's next answer, or `otherwise` once it is used up.
template <typename T>
T Next(std::deque<T>& script, std::type_identity_t<T> otherwise) {
  if (script.empty()) return otherwise;
  otherwise = script.front();
  script.pop_front();
  return otherwise;
}

// A list box that keeps rows in the order added (the real private list sorts them; the program
// never relies on it). With `log` set, row writes are logged ("text 3", "data 3").
struct FakeListBox : ListBox {
  struct Entry {
    std::string text;
    int32_t data = 0;
  };
  explicit FakeListBox(const Strings& texts = {}) {
    for (const auto& t : texts) Add(t);
  }
  int16_t Count() const override { return static_cast<int16_t>(rows.size()); }
  int16_t Selected() const override { return selected; }
  std::string Row(int16_t row) const override { return rows.at(row).text; }
  std::string RowsText(std::string_view end) const override {
    std::string text;
    for (const auto& r : rows) text += r.text + std::string(end);
    return text;
  }
  void SetRow(int16_t row, const std::string& text) override { Write("text ", row).text = text; }
  int32_t ItemData(int16_t row) const override { return rows.at(row).data; }
  void SetItemData(int16_t row, int32_t data) override { Write("data ", row).data = data; }
  void Add(const std::string& text) override {
    if (Count() < kMaxRows) rows.push_back({text});
  }
  int16_t AddRows(const std::vector<std::string_view>& texts) override {
    const int16_t before = Count();
    for (const auto text : texts) Add(std::string(text));
    return static_cast<int16_t>(Count() - before);
  }
  void Remove(int16_t row) override {
    rows.erase(rows.begin() + (&rows.at(row) - rows.data()));  // no such row throws
    if (selected >= row) selected = selected == row ? -1 : selected - 1;
  }
  void Clear() override {
    rows.clear();
    selected = -1;
  }
  void Deselect(int16_t row) override { selected = selected == row ? -1 : selected; }
  Strings Texts() const {
    Strings texts;
    for (const auto& r : rows) texts.push_back(r.text);
    return texts;
  }
  Entry& Write(const std::string& what, int16_t row) {
    if (log) log->push_back(what + std::to_string(row));
    return rows.at(row);
  }

  std::vector<Entry> rows;
  int16_t selected = -1;
  Strings* log = nullptr;
};

struct World : Dialogs, WindowHost, Registry, Files, Launcher, NetApi {
  using S = const std::string&;
  // Message boxes, and input boxes that answer from `answers` ("" is Cancel). Boxes() gives the
  // boxes shown, and "end" where the program ended.
  void MsgBox(S text, S title, MsgIcon icon) override {
    log.push_back("box " + title + (icon == MsgIcon::Critical ? "!|" : "|") + text);
  }
  std::string InputBox(S prompt) override { return Log("input " + prompt, Next(answers, {})); }
  Strings Boxes() const {
    Strings boxes;
    std::copy_if(log.begin(), log.end(), std::back_inserter(boxes),
                 [](const std::string& line) { return line.starts_with("box ") || line == "end"; });
    return boxes;
  }

  // The windows; `onEvents` runs inside a yield.
  void ShowBusyWindow() override { log.push_back("show"); }
  void CloseBusyWindow() override { log.push_back("hide"); }
  void EnableMain(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
  void HandlePendingEvents() override {
    log.push_back("events");
    if (onEvents) onEvents();
  }
  void FocusMain() override { log.push_back("focus"); }
  void EndProgram() override { log.push_back("end"); }

  // The registry: values by root, key and name, each with its type and bytes.
  RawValue GetRaw(int32_t root, S key, S name, uint32_t maxBytes) override {
    const auto it = values.find({root, key, name});
    RawValue value = it == values.end() ? RawValue{} : it->second;
    if (value.bytes.size() > maxBytes) value.bytes.clear();  // there, but not read
    return value;
  }
  void SaveRaw(int32_t root, S key, S name, uint32_t type, S bytes) override {
    log.push_back("reg " + name + (type == kRegSz || type == kRegDword ? "=" + bytes : ""));
    values[{root, key, name}] = {true, true, type, bytes};
  }
  std::string GetString(int32_t root, S key, S name) override { return Typed(root, key, name, 1); }
  void SaveString(int32_t root, S key, S name, S text) override {
    SaveRaw(root, key, name, kRegSz, text);
  }
  int32_t GetDWord(int32_t root, S key, S name) override {
    return std::atoi(Typed(root, key, name, kRegDword).c_str());
  }
  void SaveDWord(int32_t root, S key, S name, int32_t n) override {
    SaveRaw(root, key, name, kRegDword, std::to_string(n));
  }
  // The bytes of a value of that type, or "".
  std::string Typed(int32_t root, S key, S name, uint32_t type) {
    const RawValue v = GetRaw(root, key, name, ~0u);
    return v.type == type ? v.bytes : "";
  }
  void Set(S key, S name, S text) {
    values[{kHkeyLocalMachine, key, name}] = {true, true, 1, text};
  }

  // Files, with faults to inject: a write that stops part-way, a move that fails.
  std::optional<std::string> ReadAll(S path) override {
    return files.contains(path) ? std::optional(files[path]) : std::nullopt;
  }
  bool WriteNew(S path, std::string_view bytes) override {
    return (files[path] = bytes.substr(0, failWriteAfter)) == bytes;
  }
  bool Replace(S from, S to) override {
    if (failReplace || !files.contains(from)) return false;
    files[to] = files[from];
    return files.erase(from);
  }
  void Delete(S path) override { Log("delete " + path, files.erase(path)); }
  std::string Environ(S name) override { return env[name]; }

  // The launcher: every start succeeds.
  int32_t ShellExecute(S operation, S file, S parameters, S dir, int32_t show) override {
    const std::string call = operation + " " + file + parameters + " dir=" + dir;
    return Log("shell " + call + " show=" + std::to_string(show), 42);
  }
  int32_t StartProcess(S application, S commandLine, int32_t show) override {
    return Log("start " + application + " cmd=" + commandLine + " show=" + std::to_string(show), 1);
  }
  int32_t TimeZoneBiasMinutes() override { return 60; }

  // Winsock, ICMP and the connection, on a clock that only waits move. Echo requests answer from
  // `echoes`, connections from `connects`, each after its time (an echo that ends after less than
  // 0 ms: from the call itself).
  struct Echo {
    uint32_t replies = 0;
    bool writes = false;  // into the reply area: the status and the round trip
    uint32_t status = 0, roundTrip = 0, error = 0;  // error: the platform's last error
    int32_t endsAfterMs = 0;
  };
  struct Connect {
    ConnectStart start = ConnectStart::Pending;
    bool made = false;
    int32_t afterMs = -1;  // never answers
  };
  // What the Winsock and ICMP calls give back.
  struct Faults {
    int32_t startup = 0;
    WinsockInfo writes{0x0101, 1};  // all zeros: as a start-up that writes nothing on first use
    int32_t cleanup = 0, lookUpError = 11001;
    bool opens = true, closes = true;
  };
  int32_t StartWinsock(uint16_t version, WinsockInfo& info) override {
    log.push_back("startup " + std::to_string(version));
    info = faults.writes;
    return faults.startup;
  }
  int32_t CleanUpWinsock() override { return Log("cleanup", faults.cleanup); }
  int32_t LastWinsockError() override { return faults.lookUpError; }
  HostLookup LookUpHost(S name) override { return Log("lookup " + name, hosts[name]); }
  bool OpenIcmp() override { return Log("open", icmpOpen = faults.opens); }
  std::optional<uint32_t> StartEcho(int32_t to, S data, uint8_t ttl, EchoReplyArea& reply,
                                    uint32_t timeOutMs) override {
    log.push_back("send " + Dotted(std::bit_cast<Octets>(to)) + " " + data +
                  " ttl=" + std::to_string(ttl) + " " + std::to_string(timeOutMs) + "ms");
    echo = Next(echoes, {});
    echoReply = &reply;
    echoEndsUs = nowUs + echo.endsAfterMs * 1000;
    if (echo.endsAfterMs >= 0) return std::nullopt;
    EndEcho();
    return echo.replies;
  }
  void EndEcho() {
    echoEndsUs.reset();
    if (!echo.writes) return;
    std::memcpy(echoReply->bytes.data() + 4, &echo.status, 4);
    std::memcpy(echoReply->bytes.data() + 8, &echo.roundTrip, 4);
  }
  uint32_t EchoReplies(EchoReplyArea&) override { return echo.replies; }
  uint32_t LastEchoError() override { return echo.error; }
  bool CloseIcmp() override {
    return Log("close", std::exchange(icmpOpen, false) && faults.closes);
  }
  ConnectStart StartConnect(int32_t to, uint16_t port) override {
    connect =
        Log("connect " + Dotted(std::bit_cast<Octets>(to)) + ":" + std::to_string(port) + Ms(),
            Next(connects, {}));
    if (connect.afterMs >= 0) connectEndsUs = nowUs + connect.afterMs * 1000;
    return connect.start;
  }
  void CloseConnection() override { connectEndsUs = Log("disconnect" + Ms(), std::nullopt); }
  NetEvent Wait(uint32_t maxMs) override {
    const int64_t limit = nowUs + int64_t{maxMs} * 1000;
    nowUs = std::min({limit, echoEndsUs.value_or(limit), connectEndsUs.value_or(limit)});
    if (echoEndsUs == nowUs) {
      EndEcho();
      return NetEvent::EchoEnded;
    }
    if (connectEndsUs != nowUs) return NetEvent::Nothing;
    connectEndsUs.reset();
    return connect.made ? NetEvent::Connected : NetEvent::ConnectFailed;
  }
  int64_t MicrosecondsNow() override { return nowUs; }
  bool UnderWine() override { return underWine; }
  std::string Ms() const { return " at " + std::to_string(nowUs / 1000); }
  // Logs the call, gives its result.
  template <typename T>
  T Log(const std::string& call, T result) {
    log.push_back(call);
    return result;
  }

  Strings log;
  FakeListBox gameList, privateList;
  std::deque<std::string> answers;
  std::function<void()> onEvents;
  std::map<std::tuple<int32_t, std::string, std::string>, RawValue> values;
  std::map<std::string, std::string> files, env;
  size_t failWriteAfter = std::string::npos;  // write this many bytes, then fail
  bool failReplace = false;
  Faults faults;
  std::map<std::string, HostLookup> hosts = {{"empty", {true, std::nullopt}}};  // no address
  bool icmpOpen = false, underWine = false;
  std::deque<Echo> echoes;
  Echo echo;
  EchoReplyArea* echoReply = nullptr;
  std::deque<Connect> connects;
  Connect connect;
  std::optional<int64_t> echoEndsUs, connectEndsUs;
  int64_t nowUs = 0;
};

}  // namespace gantrel::testing
