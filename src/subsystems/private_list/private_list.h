#pragma once
#include <string>

#include "dialogs.h"
#include "files.h"
#include "list_box.h"

namespace gantrel {

// A private row: address padded to 20, a blank, description cut to 22, trimmed of blanks.
std::string PrivateRow(std::string address, std::string description);

// The description of a private row: its text after the address, without the blanks around it
// and without the time a ping run put at its end.
std::string PrivateRowDescription(const std::string& row);

// "Add ": asks for address and description through two input boxes.
void AddPrivateServer(Dialogs& dialogs, ListBox& privateList);
// "Del": removes the selected row, or says that one must be selected.
void DeletePrivateServer(Dialogs& dialogs, ListBox& privateList);
// "Save": writes the private list to %windir%\gantrel.ini without ever losing the saved list.
void SavePrivateList(Files& files, Dialogs& dialogs, const ListBox& privateList);
// Start-up: fills the private list from %windir%\gantrel.ini; silent on any failure.
void LoadPrivateList(Files& files, ListBox& privateList);

}  // namespace gantrel
