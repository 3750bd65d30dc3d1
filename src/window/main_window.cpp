#include "main_window.h"

#include "launch/about_links.h"
#include "launch/launch.h"
#include "ping_sort/ping_runs.h"
#include "private_list/private_list.h"
#include "server_list/server_list.h"

namespace gantrel {
namespace {

constexpr int32_t kPingTimeOutMs = 750;
constexpr int32_t kPingCount = 3;

LaunchPorts Launch(MainWindow& w) {
  return {w.gameList, w.privateList, w.dialogs, w.registry, w.files, w.launcher};
}

// The runs measure with the window's one echo engine, made at the first ping.
class EngineMeter final : public HostMeter {
 public:
  explicit EngineMeter(MainWindow& w) : w_(w) {}
  RoundTrip PingSite(const std::string& host) override { return w_.PingSite(host); }
  void EndRun() override {
    if (w_.echo) w_.echo->ReportRefusal();
  }

 private:
  MainWindow& w_;
};

}  // namespace

RoundTrip MainWindow::PingSite(const std::string& hostText) {
  if (!echo) echo = std::make_unique<EchoEngine>(net, dialogs, host, settings);
  return echo->PingSite(hostText);
}

void MainWindow::OnLoad() {
  // No step looks at another's result: each leaves its list or value as it found things.
  DeleteServerCache(registry, files);
  CheckServerVersion(registry);
  LoadPrivateList(files, privateList);
  ImportServerList(registry, gameList, privateList);
  settings.timeOutMs = kPingTimeOutMs;
  settings.count = kPingCount;
}

void MainWindow::OnRestore() { RestoreServerList(registry, files, gameList, privateList); }
void MainWindow::OnImport() { ImportServerList(registry, gameList, privateList); }
void MainWindow::OnPingGameList() {
  EngineMeter meter(*this);
  PingServerList(gameList, host, meter);
}
void MainWindow::OnStarcraftFromGameList() { StarcraftFromGameList(Launch(*this)); }
void MainWindow::OnDiabloFromGameList() { DiabloFromGameList(Launch(*this)); }

void MainWindow::OnAddPrivateServer() { AddPrivateServer(dialogs, privateList); }
void MainWindow::OnDeletePrivateServer() { DeletePrivateServer(dialogs, privateList); }
void MainWindow::OnSavePrivateList() { SavePrivateList(files, dialogs, privateList); }
void MainWindow::OnPingPrivateList() {
  EngineMeter meter(*this);
  PingPrivateList(privateList, host, meter);
}
void MainWindow::OnStarcraftFromPrivateList() { StarcraftFromPrivateList(Launch(*this)); }
void MainWindow::OnDiabloFromPrivateList() { DiabloFromPrivateList(Launch(*this)); }

void MainWindow::OnWebLink() { OpenWebPage(launcher, dialogs); }
void MainWindow::OnEmailLink() { OpenEmail(launcher, dialogs); }

void MainWindow::OnTabPress() {
  // Neither list keeps a selected row, so the game list's launch buttons then use the whole list.
  gameList.Deselect(gameList.Selected());
  privateList.Deselect(privateList.Selected());
}

}  // namespace gantrel
