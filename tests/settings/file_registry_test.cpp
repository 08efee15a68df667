// SPDX-License-Identifier: MIT
// The file store on disk: where the file goes, its exact bytes, damaged and hostile files, and
// saves that are never half-written, even when the program is killed in the middle of one.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "page_run.h"
#include "settings/file_registry.h"
#include "settings/reg_export.h"
#include "store_backend.h"
#include "ui/control_ids.h"

namespace qup::settings::testing {
namespace {

namespace fs = std::filesystem;
using namespace qup::ui;

constexpr std::string_view kZeros = "00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00";

std::string DefaultFile() {
  std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\r\n";
  for (const char* name :
       {"HourlyRate", "SocSec", "StTax", "FedTax", "WorkComp", "Insur", "Health"}) {
    text += "\"" + std::string(name) + "\"=hex(1):" + std::string(kZeros) + "\r\n";
  }
  text += "\"Radios\"=hex(1):31,30,31,30,31,30,00,00,00,00,00,00,00,00,00,00\r\n\r\n";
  return text;
}

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class FileStoreTest : public ::testing::Test {
 protected:
  std::string FilePath() const { return folder_.path() + "/Kestrane/QU.reg"; }
  TempFolder folder_;
  FileRegistry registry_{FilePath()};
};

TEST_F(FileStoreTest, FirstRunWritesTheDefaultsInExportFormat) {
  PageRun run(registry_);
  EXPECT_EQ(ReadWholeFile(FilePath()), DefaultFile());
  // Only the user may look into the folder that holds the figures.
  struct stat info {};
  ASSERT_EQ(::stat((folder_.path() + "/Kestrane").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(FileStoreTest, SavedFileHoldsTheRadiosAndTextsBytes) {
  {
    PageRun run(registry_);
    run.Click(kWorkCompDollarRadio);
    run.Type(kRate1099Edit, "50");
    run.Calculate();
    run.CloseButton();
  }
  const std::string text = ReadWholeFile(FilePath());
  EXPECT_NE(
      text.find("\r\n\"HourlyRate\"=hex(1):35,30,00,00,00,00,00,00,00,00,00,00,00,00,00,00\r\n"),
      std::string::npos);
  EXPECT_NE(text.find("\r\n\"Radios\"=hex(1):30,31,31,30,31,30,00,00,00,00,00,00,00,00,00,00\r\n"),
            std::string::npos);
}

TEST_F(FileStoreTest, DefaultPlaceFollowsXdgConfigHome) {
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string kept = saved ? saved : "";
  ::setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1);
  EXPECT_EQ(FileRegistry::DefaultPath(), folder_.path() + "/Kestrane/QU.reg");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(FileRegistry::DefaultPath(),
            std::string(std::getenv("HOME")) + "/.config/Kestrane/QU.reg");
  if (saved) ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
}

TEST_F(FileStoreTest, OpenFailsWhenTheFileIsMissingAndCreatesNothing) {
  RegKey key = 0;
  EXPECT_FALSE(registry_.OpenKey(kHkeyLocalMachine, kKeyPath, kKeyAllAccess, key));
  EXPECT_FALSE(fs::exists(folder_.path() + "/Kestrane"));
}

TEST_F(FileStoreTest, FailedQueryLeavesTheBufferAsItWas) {
  PageRun run(registry_);
  RegKey key = 0;
  ASSERT_TRUE(registry_.OpenKey(kHkeyLocalMachine, kKeyPath, kKeyAllAccess, key));
  ASSERT_TRUE(registry_.SetValue(key, "Long", kRegSz, Bytes(17, 'x')));
  std::array<std::uint8_t, 16> buffer;
  buffer.fill(0xEE);
  std::size_t size = buffer.size();
  EXPECT_FALSE(registry_.QueryValue(key, "Long", buffer, size));
  EXPECT_EQ(size, 17u);
  size = buffer.size();
  EXPECT_FALSE(registry_.QueryValue(key, "Missing", buffer, size));
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0xEE; }));
  registry_.CloseKey(key);
}

TEST_F(FileStoreTest, UnchangedKeyIsNotRewrittenAndASaveIsOneReplace) {
  { PageRun run(registry_); }
  const ino_t created = InodeOf(FilePath());
  {
    PageRun run(registry_);  // open, read, flush and close with nothing changed
    EXPECT_EQ(InodeOf(FilePath()), created);
    run.CloseButton();
  }
  EXPECT_NE(InodeOf(FilePath()), created);  // replaced by rename, never written in place
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_.path() + "/Kestrane")) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"QU.reg"});
}

TEST_F(FileStoreTest, FlushWritesTheChangesBeforeClose) {
  { PageRun run(registry_); }
  RegKey key = 0;
  ASSERT_TRUE(registry_.OpenKey(kHkeyLocalMachine, kKeyPath, kKeyAllAccess, key));
  ASSERT_TRUE(registry_.SetValue(key, "FedTax", kRegSz, Slot16("9")));
  EXPECT_TRUE(registry_.FlushKey(key));
  EXPECT_NE(ReadWholeFile(FilePath()).find("\"FedTax\"=hex(1):39,00"), std::string::npos);
  registry_.CloseKey(key);
}

// A path taken by something that is not a regular file: refused at once, never waited on.
struct NotAFileRow {
  const char* name;
  void (*make)(const std::string& path);
};

class NotAFileTest : public FileStoreTest, public ::testing::WithParamInterface<NotAFileRow> {};

TEST_P(NotAFileTest, IsReportedAndNothingIsSaved) {
  fs::create_directories(folder_.path() + "/Kestrane");
  GetParam().make(FilePath());
  PageRun run(registry_);
  ASSERT_EQ(run.platform.messages.size(), 1u);
  EXPECT_EQ(run.platform.messages[0].text, "Cannot create QU key");
  run.CloseButton();
  EXPECT_EQ(run.platform.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NotAFileTest,
    ::testing::Values(
        NotAFileRow{"Fifo",
                    [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        NotAFileRow{"Folder", [](const std::string& path) { fs::create_directory(path); }},
        NotAFileRow{"LinkToDevice",
                    [](const std::string& path) { fs::create_symlink("/dev/zero", path); }}),
    [](const auto& info) { return info.param.name; });

// Damaged files: the program starts with what it can read, says nothing, and the next save
// writes a clean file.
struct DamagedRow {
  const char* name;
  std::string contents;
  std::string rate_shown;  // the hourly rate the page shows at start
};

class DamagedFileTest : public FileStoreTest, public ::testing::WithParamInterface<DamagedRow> {};

TEST_P(DamagedFileTest, StartsWithWhatCanBeReadAndTheNextSaveIsClean) {
  fs::create_directories(folder_.path() + "/Kestrane");
  WriteWholeFile(FilePath(), GetParam().contents);
  {
    PageRun run(registry_);
    EXPECT_TRUE(run.platform.messages.empty());
    EXPECT_EQ(run.page.GetText(kRate1099Edit), GetParam().rate_shown);
    EXPECT_EQ(run.page.GetCheck(kWorkCompPercentRadio), 1);
    run.CloseButton();
  }
  std::string expected = DefaultFile();
  if (!GetParam().rate_shown.empty()) {
    const std::string rate = "\"HourlyRate\"=hex(1):35,30,00,";
    expected.replace(expected.find("\"HourlyRate\""), rate.size(), rate);
  }
  EXPECT_EQ(ReadWholeFile(FilePath()), expected);
}

std::string Garbage(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245 + 12345;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

const std::string kGoodRate =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\r\n"
    "\"HourlyRate\"=hex(1):35,30,00,00,00,00,00,00,00,00,00,00,00,00,00,00\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFileTest,
    ::testing::Values(
        DamagedRow{"Empty", "", ""}, DamagedRow{"Garbage", Garbage(4096), ""},
        DamagedRow{"GarbageAfterGoodLines", kGoodRate + Garbage(4096), "50"},
        DamagedRow{"TruncatedInTheMiddleOfALine", kGoodRate + "\"Radios\"=hex(1):30,31,3", "50"},
        DamagedRow{"HeaderOnly", "REGEDIT4\r\n", ""},
        DamagedRow{"NulBytes", std::string(1000, '\0'), ""},
        DamagedRow{"OneLongLine", std::string(FileRegistry::kMaxFileBytes - 1, '['), ""},
        DamagedRow{"EndlessContinuation", kGoodRate + "\"X\"=hex:" + std::string(100000, '\\'),
                   "50"},
        DamagedRow{"LargerThanTheLimit", kGoodRate + std::string(FileRegistry::kMaxFileBytes, ';'),
                   ""}),
    [](const auto& info) { return info.param.name; });

// A file cut short at any byte, as a full disk or a copy gone wrong leaves it: the program starts
// silently, each value is whole or missing, and the next save is clean again.
TEST_F(FileStoreTest, EveryTruncationOfASavedFileStartsCleanly) {
  {
    PageRun run(registry_);
    run.Type(kRate1099Edit, "50");
    run.Click(kWorkCompDollarRadio);
    run.Calculate();
    run.CloseButton();
  }
  const std::string saved = ReadWholeFile(FilePath());
  for (std::size_t length = 0; length < saved.size(); ++length) {
    WriteWholeFile(FilePath(), saved.substr(0, length));
    PageRun run(registry_);
    EXPECT_TRUE(run.platform.messages.empty());
    const std::string rate = run.page.GetText(kRate1099Edit);
    EXPECT_TRUE(rate.empty() || rate == "50") << length << ": " << rate;
    const bool dollar = run.page.GetCheck(kWorkCompDollarRadio) == 1;
    EXPECT_NE(run.page.GetCheck(kWorkCompPercentRadio) == 1, dollar) << length;
    EXPECT_EQ(run.page.IsEnabled(kWorkCompPeriodCombo), dollar) << length;
  }
  WriteWholeFile(FilePath(), saved.substr(0, saved.find("\"Radios\"") + 20));
  PageRun run(registry_);
  run.CloseButton();
  std::string expected = saved;
  const std::string radios = "30,31,31,30,31,30";
  expected.replace(expected.find(radios), radios.size(), "31,30,31,30,31,30");
  EXPECT_EQ(ReadWholeFile(FilePath()), expected);
}

// A save killed at any moment leaves the old file or the new one, never a mixture.
TEST_F(FileStoreTest, KillDuringSaveLeavesAWholeFile) {
  const auto save_with = [](const std::string& path, std::string_view text) {
    FileRegistry registry(path);
    SettingsRecord& record = SettingsRecord::Instance();
    for (std::size_t i = 0; i < kTextSlotCount; ++i) record.SetText(static_cast<Slot>(i), text);
    SaveSettings(registry);
  };
  const std::array<std::string, 2> texts = {"1", "222222222222222"};
  std::array<std::string, 2> whole_files;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    TempFolder reference;
    const std::string path = reference.path() + "/QU.reg";
    WriteWholeFile(path, DefaultFile());
    save_with(path, texts[i]);
    whole_files[i] = ReadWholeFile(path);
  }
  { PageRun run(registry_); }

  for (int round = 0; round < 20; ++round) {
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(pipe_fds[0]);
      for (std::size_t n = 0;; ++n) {
        save_with(FilePath(), texts[n % 2]);
        const char done = 1;
        if (::write(pipe_fds[1], &done, 1) != 1) ::_exit(1);
      }
    }
    ::close(pipe_fds[1]);
    // Let the child finish a few saves, a different number each round, then kill it wherever
    // it is in the next one.
    for (int saves = 0; saves < 1 + round % 7; ++saves) {
      char done = 0;
      ASSERT_EQ(::read(pipe_fds[0], &done, 1), 1);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(pipe_fds[0]);

    const std::string text = ReadWholeFile(FilePath());
    EXPECT_TRUE(text == whole_files[0] || text == whole_files[1]) << "round " << round;
  }
}

}  // namespace
}  // namespace qup::settings::testing
