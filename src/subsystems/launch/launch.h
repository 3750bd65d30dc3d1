#pragma once
#include "dialogs.h"
#include "files.h"
#include "launcher.h"
#include "list_box.h"
#include "registry.h"

namespace gantrel {

// The ports one launch click needs.
struct LaunchPorts {
  ListBox& gameList;
  ListBox& privateList;
  Dialogs& dialogs;
  Registry& registry;
  Files& files;
  Launcher& launcher;
};

// The four launch buttons: each writes the chosen servers into "Server List" and selects the
// first of them in the gateway lists, then starts the game and shows the list just written.
void StarcraftFromGameList(const LaunchPorts& ports);
void StarcraftFromPrivateList(const LaunchPorts& ports);
void DiabloFromGameList(const LaunchPorts& ports);
void DiabloFromPrivateList(const LaunchPorts& ports);

}  // namespace gantrel
