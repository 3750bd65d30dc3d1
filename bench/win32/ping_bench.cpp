// Figures for PingSite over the real Winsock, ICMP and TCP calls, against the ICMP test responder
// (run through tools/bench-ping): the time each echo request costs above the scripted round trip,
// the time a connection to the game port shows above its scripted round trip, and what hosts
// that answer no echo request cost against PingCount x PingTimeOut. Prints figures; never fails
// on time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "echo/echo_engine.h"
#include "win32_net_api.h"

namespace {

class CountingDialogs : public gantrel::Dialogs {
 public:
  void MsgBox(const std::string& text, const std::string&, gantrel::MsgIcon) override {
    std::printf("  unexpected box: %s\n", text.c_str());
    ++boxes;
  }
  std::string InputBox(const std::string&) override { return ""; }
  int boxes = 0;
};

// Yields handle the thread's messages, as the program's do; nothing else of the window is needed.
class PumpingHost : public gantrel::WindowHost {
 public:
  void ShowBusyWindow() override {}
  void CloseBusyWindow() override {}
  void EnableMain(bool) override {}
  void HandlePendingEvents() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void FocusMain() override {}
  void EndProgram() override { ended = true; }
  bool ended = false;
};

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  gantrel::Win32NetApi net;
  CountingDialogs dialogs;
  PumpingHost host;
  gantrel::PingSettings settings{750, 3};
  gantrel::EchoEngine engine(net, dialogs, host, settings);

  struct Scripted {
    const char* host;
    int delayMs;
  };
  const Scripted hosts[] = {{"127.0.0.6", 0}, {"127.0.0.7", 20}, {"127.0.0.2", 40}};

  std::printf("PingSite, %d calls per host, %d requests each:\n", rounds, settings.count);
  std::printf("  %-10s %7s  %10s  %12s  %12s  %12s\n", "host", "script", "result", "wall/call",
              "over/request", "worst/req");
  for (const auto& h : hosts) {
    double total = 0, worst = 0;
    int minResult = 1 << 30, maxResult = -1;
    engine.PingSite(h.host);  // warm-up: first-use costs of Winsock and the ICMP service
    for (int i = 0; i < rounds; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const int32_t result = engine.PingSite(h.host).ms;
      const double ms = Ms(std::chrono::steady_clock::now() - start);
      total += ms;
      const double over = ms / settings.count - h.delayMs;
      if (over > worst) worst = over;
      if (result < minResult) minResult = result;
      if (result > maxResult) maxResult = result;
    }
    const double perCall = total / rounds;
    std::printf("  %-10s %5d ms  %4d..%-4d  %9.2f ms  %9.2f ms  %9.2f ms\n", h.host, h.delayMs,
                minResult, maxResult, perCall, perCall / settings.count - h.delayMs, worst);
  }

  // Hosts without echo replies whose game port answers: their time is the connection's. Requests
  // of 100 ms (the connection has 200 ms) keep each call short.
  gantrel::PingSettings shortWaits{100, 3};
  gantrel::EchoEngine tcpEngine(net, dialogs, host, shortWaits);
  const Scripted tcpHosts[] = {{"127.0.0.11", 0}, {"127.0.0.12", 20}, {"127.0.0.13", 40}};
  std::printf("Connections to the game port of hosts without echo replies, %d calls each:\n",
              rounds);
  std::printf("  %-10s %7s  %10s  %12s  %12s\n", "host", "script", "result", "over (mean)",
              "over (worst)");
  for (const auto& h : tcpHosts) {
    int total = 0, worst = -1, minResult = 1 << 30, notTcp = 0;
    for (int i = 0; i < rounds; ++i) {
      const gantrel::RoundTrip r = tcpEngine.PingSite(h.host);
      notTcp += r.overTcp ? 0 : 1;
      total += r.ms;
      worst = std::max(worst, r.ms - h.delayMs);
      minResult = std::min(minResult, r.ms);
    }
    std::printf("  %-10s %5d ms  %4d..%-4d  %9.2f ms  %9d ms%s\n", h.host, h.delayMs, minResult,
                worst + h.delayMs, static_cast<double>(total) / rounds - h.delayMs, worst,
                notTcp ? "  (some not measured by TCP)" : "");
  }

  // Hosts that cost the whole time: no echo reply, and a game port that is closed (127.0.0.4)
  // or does not answer (127.0.0.9).
  const int silentRounds = rounds >= 4 ? 3 : 1;
  const double budget = settings.count * settings.timeOutMs;
  const std::pair<const char*, const char*> silentHosts[] = {
      {"127.0.0.4", "Silent, port closed,"}, {"127.0.0.9", "Silent both ways,"}};
  for (const auto& [silent, label] : silentHosts) {
    double silentTotal = 0, silentWorst = 0;
    for (int i = 0; i < silentRounds; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const int32_t result = engine.PingSite(silent).ms;
      const double ms = Ms(std::chrono::steady_clock::now() - start);
      if (result != -1) std::printf("  %s gave %d\n", silent, result);
      silentTotal += ms;
      silentWorst = std::max(silentWorst, ms);
    }
    std::printf("%s host (%s), %d calls: %.1f ms per call (worst %.1f) against %.0f ms: %+.2f%%\n",
                label, silent,
                silentRounds, silentTotal / silentRounds, silentWorst, budget,
                (silentTotal / silentRounds - budget) / budget * 100.0);
  }
  return dialogs.boxes == 0 && !host.ended ? 0 : 1;
}
