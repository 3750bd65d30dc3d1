// Win32Files, the private-list file and the cache-file removal in real Windows folders.
#include "private_list/win32_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_list_box.h"
#include "private_list/private_list.h"
#include "registry/server_list.h"
#include "registry/win32_registry.h"
#include "win32/test_support.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeListBox;
using testing::FileExists;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// A fresh folder that stands in for the Windows folder, with "windir" pointing at it.
class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char saved[MAX_PATH];
    if (GetEnvironmentVariableA("windir", saved, MAX_PATH) > 0) savedWindir_ = saved;
    SetEnvironmentVariableA("windir", dir_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("windir", savedWindir_ ? savedWindir_->c_str() : nullptr);
  }

  testing::TempFolder temp_;
  const std::string dir_ = temp_.Path();
  const std::string listFile_ = dir_ + "\\gantrel.ini";
  Win32Files files_;
  FakeDialogs dialogs_;
  std::optional<std::string> savedWindir_;
};

TEST_F(Win32FilesTest, ReadWriteReplaceDelete) {
  const std::string a = dir_ + "\\a.bin";
  const std::string b = dir_ + "\\b.bin";
  EXPECT_FALSE(files_.ReadAll(a));

  const std::string bytes("x\0y\r\n\xff", 6);
  ASSERT_TRUE(files_.WriteNew(a, bytes));
  EXPECT_EQ(ReadFileBytes(a), bytes);
  EXPECT_EQ(files_.ReadAll(a), bytes);

  // Emptied when present; more than one read or write piece.
  std::string big(3 * 1024 * 1024 + 17, 'q');
  big[12345] = '\0';
  ASSERT_TRUE(files_.WriteNew(a, big));
  EXPECT_EQ(files_.ReadAll(a), big);
  ASSERT_TRUE(files_.WriteNew(a, ""));
  EXPECT_EQ(files_.ReadAll(a), "");

  ASSERT_TRUE(WriteFileBytes(b, "old"));
  ASSERT_TRUE(files_.WriteNew(a, "new"));
  EXPECT_TRUE(files_.Replace(a, b));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(ReadFileBytes(b), "new");
  EXPECT_FALSE(files_.Replace(a, b));
  EXPECT_EQ(ReadFileBytes(b), "new");

  EXPECT_TRUE(files_.Delete(b));
  EXPECT_FALSE(FileExists(b));
  EXPECT_FALSE(files_.Delete(b));
  EXPECT_FALSE(files_.WriteNew(dir_ + "\\no-such-folder\\x", "x"));
}

TEST_F(Win32FilesTest, Environ) {
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
  EXPECT_EQ(ReadFileBytes(listFile_),
            PrivateRow("10.1.1.1", "lan party") + "\r\nAlpha\r\nbeta [N/A]\r\nzeta.host\r\n");
  EXPECT_FALSE(FileExists(listFile_ + ".tmp"));

  FakeListBox loaded(true);
  LoadPrivateList(files_, loaded);
  EXPECT_EQ(loaded.Texts(), list2.Texts());
}

TEST_F(Win32FilesTest, FailedSaveKeepsTheOldFileAndSaysSo) {
  const std::string old = "old.host\r\n";
  FakeListBox list2(true);
  list2.Fill({"new.host"});

  // The old list cannot be replaced while another program holds it open without sharing.
  ASSERT_TRUE(WriteFileBytes(listFile_, old));
  HANDLE held = CreateFileA(listFile_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SavePrivateList(files_, dialogs_, list2);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(listFile_), old);
  EXPECT_FALSE(FileExists(listFile_ + ".tmp"));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].text, "The private server list could not be saved to " + listFile_);

  // A Windows folder that does not exist.
  const std::string missing = dir_ + "\\missing";
  SetEnvironmentVariableA("windir", missing.c_str());
  SavePrivateList(files_, dialogs_, list2);
  EXPECT_FALSE(FileExists(missing));
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
  testing::SavedRegistryValue savedInstall_{HKEY_LOCAL_MACHINE, kStarcraftKey, kInstallPathValue};
  Win32Registry registry_;
};

TEST_F(DriveRootTest, WithoutWindirNothingTouchesTheDriveRoot) {
  if (FileExists("C:\\gantrel.ini")) GTEST_SKIP() << "C:\\gantrel.ini exists already; left alone";
  SetEnvironmentVariableA("windir", nullptr);
  FakeListBox list2(true);
  LoadPrivateList(files_, list2);
  EXPECT_EQ(list2.ListCount(), 0);
  list2.Fill({"a"});
  SavePrivateList(files_, dialogs_, list2);
  EXPECT_FALSE(FileExists("C:\\gantrel.ini"));
  EXPECT_FALSE(FileExists("C:\\gantrel.ini.tmp"));
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
}

TEST_F(DriveRootTest, DeletesTheCacheFileInTheInstallFolderOnly) {
  const std::string install = temp_.Folder("Starcraft");
  ASSERT_TRUE(WriteFileBytes(install + "\\bncache.dat", "cache"));
  ASSERT_TRUE(WriteFileBytes(install + "\\Starcraft.exe", "game"));
  registry_.SaveString(kHkeyLocalMachine, kStarcraftKey, kInstallPathValue, install);
  DeleteServerCache(registry_, files_);
  EXPECT_FALSE(FileExists(install + "\\bncache.dat"));
  EXPECT_TRUE(FileExists(install + "\\Starcraft.exe"));

  // Without an install folder the root of the drive is left alone.
  if (FileExists("C:\\bncache.dat")) GTEST_SKIP() << "C:\\bncache.dat exists already; left alone";
  ASSERT_TRUE(WriteFileBytes("C:\\bncache.dat", "not the game's"));
  registry_.SaveString(kHkeyLocalMachine, kStarcraftKey, kInstallPathValue, "");
  DeleteServerCache(registry_, files_);
  EXPECT_TRUE(FileExists("C:\\bncache.dat"));
  savedInstall_.Remove();
  DeleteServerCache(registry_, files_);
  EXPECT_TRUE(FileExists("C:\\bncache.dat"));

  // The bare name does reach that file: the checks above would see a delete.
  EXPECT_TRUE(DeleteFileA("\\bncache.dat"));
  EXPECT_FALSE(FileExists("C:\\bncache.dat"));
}

}  // namespace
}  // namespace gantrel
