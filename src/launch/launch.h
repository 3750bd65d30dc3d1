#pragma once
#include "app/dialogs.h"
#include "app/list_box.h"
#include "launch/launcher.h"
#include "private_list/files.h"
#include "registry/registry.h"

namespace gantrel {

// The ports one launch click needs.
struct LaunchPorts {
  ListBox& list1;
  ListBox& list2;
  Dialogs& dialogs;
  Registry& registry;
  Files& files;
  Launcher& launcher;
};

void StarcraftFromGameList(const LaunchPorts& ports);     // Command2
void StarcraftFromPrivateList(const LaunchPorts& ports);  // Command6
void DiabloFromGameList(const LaunchPorts& ports);        // Command8
void DiabloFromPrivateList(const LaunchPorts& ports);     // Command9

}  // namespace gantrel
