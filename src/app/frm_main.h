#pragma once
#include <memory>
#include <string>

#include "app/dialogs.h"
#include "app/list_box.h"
#include "app/window_host.h"
#include "icmp/icmp_echo.h"
#include "launch/launcher.h"
#include "private_list/files.h"
#include "registry/registry.h"

namespace gantrel {

// Everything the main window's handlers work on: its two lists and the ports to the world.
struct App {
  ListBox& List1;
  ListBox& List2;
  Dialogs& dialogs;
  WindowHost& host;
  Registry& registry;
  Files& files;
  Launcher& launcher;
  NetApi& net;

  PingSettings settings;
  std::unique_ptr<ICMPEcho> echo;  // created by the first ping, kept for the whole run

  int32_t PingSite(const std::string& hostText);
};

// Handlers of frmMain; each runs to its end before the next window event.
void Form_Load(App& app);
void Command10_Click(App& app);  // "Ping" (game list)
void Command4_Click(App& app);   // "Ping" (private list)
void Command3_Click(App& app);   // "Restore"
void Command11_Click(App& app);  // "Import"
void Command1_Click(App& app);   // "Add "
void Command5_Click(App& app);   // "Del"
void Command7_Click(App& app);   // "Save"
void Command2_Click(App& app);   // "Starcraft" (game list)
void Command6_Click(App& app);   // "Starcraft" (private list)
void Command8_Click(App& app);   // "Diablo" (game list)
void Command9_Click(App& app);   // "Diablo" (private list)
void Label4_Click(App& app);     // web page link
void Label6_Click(App& app);     // e-mail link
void SSTab1_MouseDown(App& app);

}  // namespace gantrel
