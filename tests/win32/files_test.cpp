// Win32Files, the private-list file and the cache-file removal in real Windows folders.
#include "private_list/win32_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_list_box.h"
#include "private_list/private_list.h"
#include "registry/server_list.h"
#include "registry/win32_registry.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeListBox;
using Rows = std::vector<std::string>;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Read with the C library, independently of Win32Files.
std::optional<std::string> ReadBytes(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  } else {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

std::optional<std::string> GetEnv(const char* name) {
  char value[32768];
  SetLastError(ERROR_SUCCESS);
  const DWORD got = GetEnvironmentVariableA(name, value, sizeof value);
  if (got == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  return std::string(value, got);
}

// A fresh folder under the temp folder that stands in for the Windows folder, with "windir"
// pointing at it for the test's duration.
class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    static int counter = 0;
    dir_ = std::string(temp) + "gantrel-files-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    savedWindir_ = GetEnv("windir");
    SetEnvironmentVariableA("windir", dir_.c_str());
    listFile_ = dir_ + "\\gantrel.ini";
  }
  void TearDown() override {
    SetEnvironmentVariableA("windir", savedWindir_ ? savedWindir_->c_str() : nullptr);
    RemoveTree(dir_);
  }

  Win32Files files_;
  FakeDialogs dialogs_;
  std::string dir_;
  std::string listFile_;
  std::optional<std::string> savedWindir_;
};

TEST_F(Win32FilesTest, ReadWriteReplaceDelete) {
  const std::string a = dir_ + "\\a.bin";
  const std::string b = dir_ + "\\b.bin";
  EXPECT_FALSE(files_.ReadAll(a));

  const std::string bytes("x\0y\r\n\xff", 6);
  ASSERT_TRUE(files_.WriteNew(a, bytes));
  EXPECT_EQ(ReadBytes(a), bytes);
  EXPECT_EQ(files_.ReadAll(a), bytes);

  // Emptied when present; more than one read or write piece.
  std::string big(3 * 1024 * 1024 + 17, 'q');
  big[12345] = '\0';
  ASSERT_TRUE(files_.WriteNew(a, big));
  EXPECT_EQ(files_.ReadAll(a), big);
  ASSERT_TRUE(files_.WriteNew(a, ""));
  EXPECT_EQ(files_.ReadAll(a), "");

  ASSERT_TRUE(WriteBytes(b, "old"));
  ASSERT_TRUE(files_.WriteNew(a, "new"));
  EXPECT_TRUE(files_.Replace(a, b));
  EXPECT_FALSE(Exists(a));
  EXPECT_EQ(ReadBytes(b), "new");
  EXPECT_FALSE(files_.Replace(a, b));
  EXPECT_EQ(ReadBytes(b), "new");

  EXPECT_TRUE(files_.Delete(b));
  EXPECT_FALSE(Exists(b));
  EXPECT_FALSE(files_.Delete(b));
  EXPECT_FALSE(files_.WriteNew(dir_ + "\\no-such-folder\\x", "x"));
}

TEST_F(Win32FilesTest, Environ) {
  SetEnvironmentVariableA("GANTREL_TEST_VAR", "some value");
  EXPECT_EQ(files_.Environ("GANTREL_TEST_VAR"), "some value");
  const std::string longValue(5000, 'v');
  SetEnvironmentVariableA("GANTREL_TEST_VAR", longValue.c_str());
  EXPECT_EQ(files_.Environ("GANTREL_TEST_VAR"), longValue);
  SetEnvironmentVariableA("GANTREL_TEST_VAR", nullptr);
  EXPECT_EQ(files_.Environ("GANTREL_TEST_VAR"), std::nullopt);
  EXPECT_EQ(files_.Environ("windir"), dir_);
}

TEST_F(Win32FilesTest, SaveWritesCrLfLinesAndLoadReadsThemBack) {
  FakeListBox list2(true);
  list2.Fill({"zeta.host", PrivateRow("10.1.1.1", "lan party"), "Alpha", "beta [N/A]"});
  SavePrivateList(files_, dialogs_, list2);
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_EQ(ReadBytes(listFile_),
            PrivateRow("10.1.1.1", "lan party") + "\r\nAlpha\r\nbeta [N/A]\r\nzeta.host\r\n");
  EXPECT_FALSE(Exists(listFile_ + ".tmp"));

  FakeListBox loaded(true);
  LoadPrivateList(files_, loaded);
  EXPECT_EQ(loaded.Texts(), list2.Texts());

  FakeListBox empty(true);
  SavePrivateList(files_, dialogs_, empty);
  EXPECT_EQ(ReadBytes(listFile_), "");
  EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(Win32FilesTest, LoadReadsAFileWrittenElsewhere) {
  ASSERT_TRUE(WriteBytes(listFile_, "c\r\n\r\nA\rb\nd"));
  FakeListBox list2(true);
  LoadPrivateList(files_, list2);
  EXPECT_EQ(list2.Texts(), (Rows{"A", "b", "c", "d"}));
}

TEST_F(Win32FilesTest, FailedSaveKeepsTheOldFileAndSaysSo) {
  const std::string old = "old.host\r\n";
  FakeListBox list2(true);
  list2.Fill({"new.host"});

  // The old list cannot be replaced while another program holds it open without sharing.
  ASSERT_TRUE(WriteBytes(listFile_, old));
  HANDLE held = CreateFileA(listFile_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SavePrivateList(files_, dialogs_, list2);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(listFile_), old);
  EXPECT_FALSE(Exists(listFile_ + ".tmp"));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "The private server list could not be saved to " + listFile_);
  EXPECT_EQ(dialogs_.boxes[0].title, "Gantrel");
  EXPECT_EQ(dialogs_.boxes[0].icon, MsgIcon::None);

  // A Windows folder that does not exist.
  const std::string missing = dir_ + "\\missing";
  SetEnvironmentVariableA("windir", missing.c_str());
  SavePrivateList(files_, dialogs_, list2);
  EXPECT_FALSE(Exists(missing));
  ASSERT_EQ(dialogs_.boxes.size(), 2u);
  EXPECT_EQ(dialogs_.boxes[1].text,
            "The private server list could not be saved to " + missing + "\\gantrel.ini");
}

// Runs in the prefix's own C: drive, so the root of the current drive is a throwaway folder.
class DriveRootTest : public Win32FilesTest {
 protected:
  void SetUp() override {
    Win32FilesTest::SetUp();
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    savedCwd_ = cwd;
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedCwd_.c_str());
    Win32FilesTest::TearDown();
  }
  std::string savedCwd_;
};

TEST_F(DriveRootTest, WithoutWindirNothingTouchesTheDriveRoot) {
  if (Exists("C:\\gantrel.ini")) GTEST_SKIP() << "C:\\gantrel.ini exists already; left alone";
  SetEnvironmentVariableA("windir", nullptr);
  FakeListBox list2(true);
  LoadPrivateList(files_, list2);
  EXPECT_EQ(list2.ListCount(), 0);
  list2.Fill({"a"});
  SavePrivateList(files_, dialogs_, list2);
  EXPECT_FALSE(Exists("C:\\gantrel.ini"));
  EXPECT_FALSE(Exists("C:\\gantrel.ini.tmp"));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text,
            "The private server list could not be saved: the Windows folder is not known.");
}

// Sets "InstallPath" for the test and puts back what was there before.
class InstallPathTest : public DriveRootTest {
 protected:
  void SetUp() override {
    DriveRootTest::SetUp();
    HKEY key = nullptr;
    parentExisted_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kParent, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    key = nullptr;
    keyExisted_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kStarcraftKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(key, kInstallPathValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        saved_ = std::string(size, '\0');
        RegQueryValueExA(key, kInstallPathValue, nullptr, &savedType_,
                         reinterpret_cast<BYTE*>(saved_->data()), &size);
        saved_->resize(size);
      }
      RegCloseKey(key);
    }
  }
  void TearDown() override {
    if (!parentExisted_) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, kParent);
    } else if (!keyExisted_) {
      RegDeleteTreeA(HKEY_LOCAL_MACHINE, kStarcraftKey);
    } else {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kStarcraftKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (saved_) {
          RegSetValueExA(key, kInstallPathValue, 0, savedType_,
                         reinterpret_cast<const BYTE*>(saved_->data()), static_cast<DWORD>(saved_->size()));
        } else {
          RegDeleteValueA(key, kInstallPathValue);
        }
        RegCloseKey(key);
      }
    }
    DriveRootTest::TearDown();
  }
  void SetInstallPath(const std::string& path) {
    registry_.SaveString(kHkeyLocalMachine, kStarcraftKey, kInstallPathValue, path);
  }
  void RemoveInstallPath() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kStarcraftKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kInstallPathValue);
      RegCloseKey(key);
    }
  }

  static constexpr const char* kParent = "SOFTWARE\\Blizzard Entertainment";
  Win32Registry registry_;
  bool parentExisted_ = false;
  bool keyExisted_ = false;
  std::optional<std::string> saved_;
  DWORD savedType_ = REG_SZ;
};

TEST_F(InstallPathTest, DeletesTheCacheFileInTheInstallFolder) {
  const std::string install = dir_ + "\\Starcraft";
  ASSERT_TRUE(CreateDirectoryA(install.c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(install + "\\bncache.dat", "cache"));
  ASSERT_TRUE(WriteBytes(install + "\\Starcraft.exe", "game"));
  SetInstallPath(install);

  DeleteServerCache(registry_, files_);
  EXPECT_FALSE(Exists(install + "\\bncache.dat"));
  EXPECT_TRUE(Exists(install + "\\Starcraft.exe"));
  // Again, with the file gone: nothing to do, nothing reported.
  DeleteServerCache(registry_, files_);
  EXPECT_TRUE(Exists(install + "\\Starcraft.exe"));
}

TEST_F(InstallPathTest, WithoutInstallFolderTheDriveRootIsLeftAlone) {
  if (Exists("C:\\bncache.dat")) GTEST_SKIP() << "C:\\bncache.dat exists already; left alone";
  char full[MAX_PATH];
  ASSERT_GT(GetFullPathNameA("\\bncache.dat", MAX_PATH, full, nullptr), 0u);
  ASSERT_STREQ(full, "C:\\bncache.dat");
  ASSERT_TRUE(WriteBytes("C:\\bncache.dat", "not the game's"));

  SetInstallPath("");
  DeleteServerCache(registry_, files_);
  EXPECT_TRUE(Exists("C:\\bncache.dat"));
  RemoveInstallPath();
  DeleteServerCache(registry_, files_);
  EXPECT_TRUE(Exists("C:\\bncache.dat"));

  // The bare name does reach that file: the check above would see a delete.
  EXPECT_TRUE(DeleteFileA("\\bncache.dat"));
  EXPECT_FALSE(Exists("C:\\bncache.dat"));
}

}  // namespace
}  // namespace gantrel
