#include "app/frm_main.h"

#include "launch/about_links.h"
#include "launch/launch.h"
#include "ping_sort/ping_runs.h"
#include "private_list/private_list.h"
#include "registry/server_list.h"

namespace gantrel {

namespace {
constexpr int32_t kPingTimeOut = 750;
constexpr int32_t kPingCount = 3;

LaunchPorts Launch(App& app) {
  return {app.List1, app.List2, app.dialogs, app.registry, app.files, app.launcher};
}

PingSiteFn Pinger(App& app) {
  return [&app](const std::string& host) { return app.PingSite(host); };
}
}  // namespace

int32_t App::PingSite(const std::string& hostText) {
  // One engine serves every ping of the program; it is made on first use.
  if (!echo) echo = std::make_unique<ICMPEcho>(net, dialogs, host, settings);
  return echo->PingSite(hostText);
}

void Form_Load(App& app) {
  // No step looks at another's result: each leaves its list or value as it found things.
  DeleteServerCache(app.registry, app.files);
  CheckServerVersion(app.registry);
  LoadPrivateList(app.files, app.List2);
  ImportServerList(app.registry, app.List1, app.List2);
  app.settings.PingTimeOut = kPingTimeOut;
  app.settings.PingCount = kPingCount;
}

void Command10_Click(App& app) { PingServerList(app.List1, app.host, Pinger(app)); }
void Command4_Click(App& app) { PingPrivateList(app.List2, app.host, Pinger(app)); }
void Command3_Click(App& app) { RestoreServerList(app.registry, app.files, app.List1, app.List2); }
void Command11_Click(App& app) { ImportServerList(app.registry, app.List1, app.List2); }
void Command1_Click(App& app) { AddPrivateServer(app.dialogs, app.List2); }
void Command5_Click(App& app) { DeletePrivateServer(app.dialogs, app.List2); }
void Command7_Click(App& app) { SavePrivateList(app.files, app.dialogs, app.List2); }

void Command2_Click(App& app) { StarcraftFromGameList(Launch(app)); }
void Command6_Click(App& app) { StarcraftFromPrivateList(Launch(app)); }
void Command8_Click(App& app) { DiabloFromGameList(Launch(app)); }
void Command9_Click(App& app) { DiabloFromPrivateList(Launch(app)); }

void Label4_Click(App& app) { OpenWebPage(app.launcher, app.dialogs); }
void Label6_Click(App& app) { OpenEmail(app.launcher, app.dialogs); }

void SSTab1_MouseDown(App& app) {
  // A press on the tab control itself leaves neither list with a selected row, so the launch
  // buttons of the game list then use the whole list.
  if (app.List1.ListIndex() != -1) app.List1.Deselect(app.List1.ListIndex());
  if (app.List2.ListIndex() != -1) app.List2.Deselect(app.List2.ListIndex());
}

}  // namespace gantrel
