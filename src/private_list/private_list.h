#pragma once
#include <string>

#include "app/dialogs.h"
#include "app/list_box.h"
#include "private_list/files.h"

namespace gantrel {

// A private row: address padded to 20, a blank, description cut to 22, trimmed of blanks.
std::string PrivateRow(std::string address, std::string description);

// "Add ": asks for address and description through two input boxes.
void AddPrivateServer(Dialogs& dialogs, ListBox& list2);
// "Del": removes the selected row, or says that one must be selected.
void DeletePrivateServer(Dialogs& dialogs, ListBox& list2);
// "Save": writes List2 to %windir%\gantrel.ini without ever losing the saved list.
void SavePrivateList(Files& files, Dialogs& dialogs, const ListBox& list2);
// Start-up: fills List2 from %windir%\gantrel.ini; silent on any failure.
void LoadPrivateList(Files& files, ListBox& list2);

}  // namespace gantrel
