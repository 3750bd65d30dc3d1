#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "dialogs.h"
#include "echo/echo_engine.h"
#include "files.h"
#include "launcher.h"
#include "list_box.h"
#include "net_api.h"
#include "registry.h"
#include "window_host.h"

namespace gantrel {

// What the main window's handlers work on: its two lists and the ports to the world. Each
// handler runs to its end before the next window event.
struct MainWindow {
  ListBox& gameList;
  ListBox& privateList;
  Dialogs& dialogs;
  WindowHost& host;
  Registry& registry;
  Files& files;
  Launcher& launcher;
  NetApi& net;

  PingSettings settings;
  std::unique_ptr<EchoEngine> echo;  // made by the first ping, kept for the whole run

  // The start-up sequence, before the window is first shown.
  void OnLoad();
  // "Blizzard Servers" tab.
  void OnRestore();
  void OnImport();
  void OnPingGameList();
  void OnStarcraftFromGameList();
  void OnDiabloFromGameList();
  // "Other Servers" tab.
  void OnAddPrivateServer();
  void OnDeletePrivateServer();
  void OnSavePrivateList();
  void OnPingPrivateList();
  void OnStarcraftFromPrivateList();
  void OnDiabloFromPrivateList();
  // "About" tab.
  void OnWebLink();
  void OnEmailLink();
  // A mouse button pressed on the tab control itself (a tab header or an empty part of a page).
  void OnTabPress();

  RoundTrip PingSite(const std::string& hostText);
};

}  // namespace gantrel
