#include "launch/launch.h"

#include <optional>
#include <string>

#include "gateways/gateway_list.h"
#include "private_list/private_list.h"
#include "row_text.h"
#include "server_list/server_list.h"

namespace gantrel {
namespace {

constexpr const char* kEmptyGameList =
    "You must either restore the server list or use a private server";
constexpr const char* kNoPrivateServerStarcraft =
    "You must select a server from the list before you can run Starcraft";
constexpr const char* kNoPrivateServerDiablo =
    "You must select a server from the list before you can run Diablo";

constexpr const char* kStarcraft = "Starcraft";
constexpr const char* kDiablo = "Diablo";

constexpr const char* kBroodWarValue = "Brood War";
constexpr const char* kProgramValue = "Program";
constexpr const char* kArchivesKey = "SOFTWARE\\Blizzard Entertainment\\Archives";
constexpr const char* kDiabloInstallValue = "DiabloInstall";

constexpr const char* kBroodWarExe = "\\BROOD.EXE";
constexpr const char* kStarcraftExe = "\\Starcraft.exe";
constexpr const char* kDiabloExe = "\\Diablo.exe";

constexpr const char* kOpen = "Open";
// ShellExecuteA results above this mean the program was started.
constexpr int32_t kShellFailureLimit = 32;

// Message lines are split by a lone carriage return; an empty line is two of them.
constexpr const char* kLineBreak = "\r";
constexpr const char* kEmptyLine = "\r\r";

constexpr const char* kNotFoundHead =
    "The registry key used to locate the executable does not exist... this means your "
    "installation of ";
constexpr const char* kNotFoundTail = " is either corrupted or an illegal copy.";
constexpr const char* kStartFailureHead =
    "The registry key used to locate the executable points to an illegal entry... this means "
    "your installation of ";
constexpr const char* kStartFailureTail = ":";
constexpr const char* kMovedLine = "1) has been moved from the original install directory";
constexpr const char* kCorruptedLine = "or 2) is corrupted ";
constexpr const char* kIllegalCopyLine = "or 3) is an illegal copy.";
constexpr const char* kReinstallHead = "Re-install ";
constexpr const char* kReinstallTail =
    " for this feature to work.  If you continue to receive this error, please contact me via "
    "email.";
constexpr const char* kStillValidHead =
    "Note:  The server list should still be valid so you may still execute ";
constexpr const char* kStillValidTail = " manually";

// The two closing blocks both failure messages share.
std::string ClosingBlocks(const std::string& game) {
  return std::string(kEmptyLine) + kReinstallHead + game + kReinstallTail + kEmptyLine +
         kStillValidHead + game + kStillValidTail;
}

std::string NotFoundMessage(const std::string& game) {
  return kNotFoundHead + game + kNotFoundTail + ClosingBlocks(game);
}

std::string StartFailureMessage(const std::string& game) {
  return kStartFailureHead + game + kStartFailureTail + kEmptyLine + kMovedLine + kLineBreak +
         kCorruptedLine + kLineBreak + kIllegalCopyLine + ClosingBlocks(game);
}

// What a click writes: the server text for "Server List", and the server the gateway lists select
// with the name a new gateway gets (the host itself when empty).
struct Choice {
  std::string servers;
  std::string gateway;
  std::string name;
};

// A game-list click: the selected row's address alone, or else the addresses of all rows in
// display order joined by ";". Nothing when the list is empty; the user is told.
std::optional<Choice> GameListChoice(const LaunchPorts& ports) {
  const ListBox& list = ports.gameList;
  if (list.Count() <= 0) {
    ports.dialogs.MsgBox(kEmptyGameList);
    return std::nullopt;
  }
  if (list.Selected() != -1) {
    const std::string address = RowAddress(list.Row(list.Selected()));
    return Choice{address, address, ""};
  }
  Choice choice{"", RowAddress(list.Row(0)), ""};
  const auto last = static_cast<int16_t>(list.Count() - 1);
  for (int16_t row = 0; row <= last; ++row) {
    if (row > 0) choice.servers += ';';
    choice.servers += RowAddress(list.Row(row));
  }
  return choice;
}

// A private-list click: the selected row's address, without its padding and description. Nothing
// when no row is selected; the user is told.
std::optional<Choice> PrivateListChoice(const LaunchPorts& ports, const char* noSelection) {
  const ListBox& list = ports.privateList;
  if (list.Selected() == -1) {
    ports.dialogs.MsgBox(noSelection);
    return std::nullopt;
  }
  const std::string row = list.Row(list.Selected());
  return Choice{RowAddress(row), RowAddress(row), PrivateRowDescription(row)};
}

// Older game versions read "Server List", newer ones their gateway lists: both get the choice.
void WriteChoice(const LaunchPorts& ports, const Choice& choice) {
  ports.registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, choice.servers);
  SelectServerInGateways(ports.registry, choice.gateway, choice.name,
                         ports.launcher.TimeZoneBiasMinutes());
}

bool ShellStart(const LaunchPorts& ports, const std::string& exe, const std::string& installFolder) {
  return ports.launcher.ShellExecute(kOpen, exe, "", installFolder, kSwHide) > kShellFailureLimit;
}

// Brood War when its value is set, else the "Program" path; either way a failed start falls
// back to Starcraft.exe in the install folder.
void StartStarcraft(const LaunchPorts& ports) {
  Registry& reg = ports.registry;
  const std::string broodWar = reg.GetString(kHkeyLocalMachine, kStarcraftKey, kBroodWarValue);
  const std::string installFolder =
      reg.GetString(kHkeyLocalMachine, kStarcraftKey, kInstallPathValue);
  std::string exe;
  if (broodWar.empty()) {
    exe = reg.GetString(kHkeyLocalMachine, kStarcraftKey, kProgramValue);
  } else if (!installFolder.empty()) {
    exe = installFolder + kBroodWarExe;
  }
  if (exe.empty()) {
    ports.dialogs.MsgBox(NotFoundMessage(kStarcraft));
    return;
  }
  if (ShellStart(ports, exe, installFolder)) return;
  // Without an install folder the fallback would name "\Starcraft.exe" in the root of the
  // current drive, which is no installation of the game: never start that.
  if (installFolder.empty() || !ShellStart(ports, installFolder + kStarcraftExe, installFolder)) {
    ports.dialogs.MsgBox(StartFailureMessage(kStarcraft));
  }
}

void StartDiablo(const LaunchPorts& ports) {
  const std::string installFolder =
      ports.registry.GetString(kHkeyLocalMachine, kArchivesKey, kDiabloInstallValue);
  if (installFolder.empty()) {
    ports.dialogs.MsgBox(NotFoundMessage(kDiablo));
    return;
  }
  // The executable is named on its own and quoted on the command line: a bare path with a blank
  // in it ("C:\Program Files\Diablo\Diablo.exe") would let Windows try "C:\Program.exe" first.
  const std::string exe = installFolder + kDiabloExe;
  if (ports.launcher.StartProcess(exe, '"' + exe + '"', kSwShowMinimized) == 0) {
    ports.dialogs.MsgBox(StartFailureMessage(kDiablo));
  }
}

}  // namespace

void StarcraftFromGameList(const LaunchPorts& ports) {
  const auto choice = GameListChoice(ports);
  if (!choice) return;
  WriteChoice(ports, *choice);
  DeleteServerCache(ports.registry, ports.files);
  StartStarcraft(ports);
  ImportServerList(ports.registry, ports.gameList, ports.privateList);
}

void StarcraftFromPrivateList(const LaunchPorts& ports) {
  const auto choice = PrivateListChoice(ports, kNoPrivateServerStarcraft);
  if (!choice) return;
  WriteChoice(ports, *choice);
  // This button leaves the Battle.net cache alone.
  StartStarcraft(ports);
  ImportServerList(ports.registry, ports.gameList, ports.privateList);
}

void DiabloFromGameList(const LaunchPorts& ports) {
  const auto choice = GameListChoice(ports);
  if (!choice) return;
  WriteChoice(ports, *choice);
  DeleteServerCache(ports.registry, ports.files);
  StartDiablo(ports);
  ImportServerList(ports.registry, ports.gameList, ports.privateList);
}

void DiabloFromPrivateList(const LaunchPorts& ports) {
  const auto choice = PrivateListChoice(ports, kNoPrivateServerDiablo);
  if (!choice) return;
  WriteChoice(ports, *choice);
  DeleteServerCache(ports.registry, ports.files);
  StartDiablo(ports);
  ImportServerList(ports.registry, ports.gameList, ports.privateList);
}

}  // namespace gantrel
