#include "private_list/private_list.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "ping_sort/measured_row.h"

namespace gantrel {

namespace {

constexpr const char* kAddressPrompt = "Enter server address";
constexpr const char* kDescriptionPrompt = "Enter description of server";
constexpr const char* kSelectBeforeDelete =
    "You must select a server before attempting to delete it";
constexpr const char* kSaveFailed = "The private server list could not be saved to ";
constexpr const char* kSaveNoWindowsFolder =
    "The private server list could not be saved: the Windows folder is not known.";

constexpr const char* kWindowsFolderVariable = "windir";
constexpr const char* kListFileName = "\\gantrel.ini";
constexpr const char* kTempSuffix = ".tmp";
constexpr const char* kLineEnd = "\r\n";

constexpr std::size_t kAddressWidth = 20;
constexpr std::size_t kDescriptionWidth = 22;

// The list file's path, or nothing when the Windows folder is not known. An unset or empty
// "windir" would name "\gantrel.ini" in the root of the current drive, which is not ours.
std::optional<std::string> ListFilePath(Files& files) {
  const std::string folder = files.Environ(kWindowsFolderVariable);
  if (folder.empty()) return std::nullopt;
  return folder + kListFileName;
}

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string PrivateRow(std::string address, std::string description) {
  // Padding the address to 20 lines the descriptions up in one column of the fixed-pitch list.
  description = description.substr(0, kDescriptionWidth);
  if (address.size() < kAddressWidth) address.resize(kAddressWidth, ' ');
  return TrimBlanks(address + " " + description);
}

std::string PrivateRowDescription(const std::string& row) {
  const std::string bare = RemoveEarlierSuffix(row);
  const std::size_t blank = bare.find(' ');
  return blank == std::string::npos ? std::string() : TrimBlanks(bare.substr(blank));
}

void AddPrivateServer(Dialogs& dialogs, ListBox& privateList) {
  const std::string address = dialogs.InputBox(kAddressPrompt);
  if (address.empty()) return;
  // A cancelled description is an empty one: the row is still added.
  const std::string description = dialogs.InputBox(kDescriptionPrompt);
  privateList.Add(PrivateRow(address, description));
}

void DeletePrivateServer(Dialogs& dialogs, ListBox& privateList) {
  if (privateList.Selected() != -1) {
    privateList.Remove(privateList.Selected());
    return;
  }
  dialogs.MsgBox(kSelectBeforeDelete, kAppTitle, MsgIcon::None);
}

void SavePrivateList(Files& files, Dialogs& dialogs, const ListBox& privateList) {
  const std::optional<std::string> path = ListFilePath(files);
  if (!path) {
    dialogs.MsgBox(kSaveNoWindowsFolder, kAppTitle, MsgIcon::None);
    return;
  }

  const std::string bytes = privateList.RowsText(kLineEnd);
  // The new list is written beside the old one and moved over it only once it is complete and on
  // disk, so a failure at any step leaves the saved list exactly as it was.
  const std::string temp = *path + kTempSuffix;
  if (files.WriteNew(temp, bytes) && files.Replace(temp, *path)) return;
  files.Delete(temp);
  dialogs.MsgBox(kSaveFailed + *path, kAppTitle, MsgIcon::None);
}

void LoadPrivateList(Files& files, ListBox& privateList) {
  const std::optional<std::string> path = ListFilePath(files);
  if (!path) return;
  // A missing or unreadable file loads nothing, silently.
  const std::optional<std::string> content = files.ReadAll(*path);
  if (!content) return;

  // A line ends at a CR or an LF, so CR LF ends one line and an empty one, and empty lines are
  // skipped: every other line is a row as it stands. A full list ends the load.
  const std::string_view text = *content;
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;
       start < text.size() && lines.size() < static_cast<std::size_t>(kMaxRows);) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  privateList.AddRows(lines);
}

}  // namespace gantrel
