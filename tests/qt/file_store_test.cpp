// SPDX-License-Identifier: MIT
// The file store on disk, played through the main window on the in-memory platform: where the
// file goes, refused, damaged and hostile files, and saves that are never half-written, even when
// the program is killed in the middle of one. (The exact bytes of a first run and a damaged file
// read in part are the transcripts in tests/settings/acceptance/.)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/qt/file_registry.h"
#include "settings/settings_record.h"
#include "settings/settings_store.h"
#include "tests/support/main_dialog_fixture.h"

namespace qup::settings {
namespace {

namespace fs = std::filesystem;
using namespace qup::ui;

constexpr std::string_view kHeader =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Kestrane\\QU]\r\n";
constexpr std::string_view kZeros = "00,00,00,00,00,00,00,00,00,00,00,00,00,00";
const std::string kRate50 = "\"HourlyRate\"=hex(1):35,30," + std::string(kZeros) + "\r\n";

std::string DefaultFile() {
  std::string text(kHeader);
  for (const char* name :
       {"HourlyRate", "SocSec", "StTax", "FedTax", "WorkComp", "Insur", "Health"}) {
    // Appended piece by piece: "..." + std::string(...) makes GCC 12 at -O3 warn, wrongly,
    // that the inlined insert's copy may overlap itself (-Wrestrict).
    text += '"';
    text += name;
    text += "\"=hex(1):00,00,";
    text += kZeros;
    text += "\r\n";
  }
  return text + "\"Radios\"=hex(1):31,30,31,30,31,30,00,00,00,00,00,00,00,00,00,00\r\n\r\n";
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWholeFile(const std::string& path, std::string_view text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
}

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class FileStoreTest : public test_support::MainDialogFixture {
 protected:
  FileStoreTest() {
    std::string pattern = (fs::temp_directory_path() / "qup-settings-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data()) ? pattern : "";
    store_ = FileRegistry(FilePath());
  }
  ~FileStoreTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string FilePath() const { return folder_ + "/Kestrane/QU.reg"; }
  // A new run of the program, on the 1099 page.
  void Start() {
    Open(store_);
    ShowTab(k1099Page);
  }

  std::string folder_;
  FileRegistry store_;
};

// The first start makes a folder only the user may look into. A start that changes nothing
// leaves the file alone; Close replaces it whole by a rename, leaving no other file. (Where the
// file goes, its bytes and what the next start shows are the transcripts in
// tests/settings/acceptance/.)
TEST_F(FileStoreTest, CloseReplacesTheFileByARename) {
  Start();
  struct stat info {};
  ASSERT_EQ(::stat((folder_ + "/Kestrane").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  const ino_t created = InodeOf(FilePath());
  Start();
  EXPECT_EQ(InodeOf(FilePath()), created);
  window().Click(kWorkCompDollarRadio);
  window().Close();

  EXPECT_NE(InodeOf(FilePath()), created);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ + "/Kestrane"), fs::directory_iterator()),
            1);
}

TEST_F(FileStoreTest, FlushWritesTheChangesBeforeClose) {
  Start();
  RegKey key = 0;
  ASSERT_TRUE(store_.OpenKey(kHkeyLocalMachine, "Software\\Kestrane\\QU", kKeyAllAccess, key));
  ASSERT_TRUE(store_.SetValue(key, "FedTax", kRegSz, std::vector<std::uint8_t>{'9', 0}));
  EXPECT_TRUE(store_.FlushKey(key));
  EXPECT_NE(ReadWholeFile(FilePath()).find("\"FedTax\"=hex(1):39,00\r\n"), std::string::npos);
  store_.CloseKey(key);
}

// A key file that can be neither opened nor created: one unowned message at start, the page
// with its defaults, and Close says and writes nothing. Nothing that is not a regular file is
// ever waited on. (The message's words are the transcript blocked_folder's.)
struct RefusedRow {
  const char* name;
  void (*make)(const fs::path& file);  // in its existing folder
};

void PrintTo(const RefusedRow& row, std::ostream* os) { *os << row.name; }

class RefusedStoreTest : public FileStoreTest, public ::testing::WithParamInterface<RefusedRow> {};

TEST_P(RefusedStoreTest, IsReportedOnceAndCloseIsSilent) {
  fs::create_directories(folder_ + "/Kestrane");
  GetParam().make(FilePath());
  const auto type_before = fs::symlink_status(FilePath()).type();

  Start();
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_FALSE(MessageBoxes()[0].owned);
  EXPECT_EQ(window().GetCheck(kWorkCompPercentRadio), 1);
  window().Type(kRate1099Edit, "40");
  window().Type(kHours1099Combo, "520");
  window().Click(kCalculate1099Button);
  window().Close();

  EXPECT_TRUE(window().Ended());
  EXPECT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(fs::symlink_status(FilePath()).type(), type_before);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RefusedStoreTest,
    ::testing::Values(
        RefusedRow{"FolderTakenByAFile",
                   [](const fs::path& file) {
                     fs::remove(file.parent_path());
                     WriteWholeFile(file.parent_path(), "not a folder");
                   }},
        RefusedRow{"Fifo", [](const fs::path& file) { ::mkfifo(file.c_str(), 0600); }},
        RefusedRow{"LinkToDevice",
                   [](const fs::path& file) { fs::create_symlink("/dev/zero", file); }}),
    [](const auto& info) { return info.param.name; });

std::string Garbage(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245 + 12345;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

// Damaged files, as a full disk, a copy gone wrong or a stray edit leave them, cut at any byte
// or full of garbage or too large: the program starts silently with what it can read, each
// value whole or missing. (That the next save writes a clean file is the damaged_file
// transcript.)
TEST_F(FileStoreTest, DamagedFilesStartCleanly) {
  Start();
  window().Retype(kRate1099Edit, "50");
  window().Click(kWorkCompDollarRadio);
  window().Click(kCalculate1099Button);  // refused for want of hours, but it read the boxes
  window().Close();
  const std::string saved = ReadWholeFile(FilePath());
  const std::string good_rate = std::string(kHeader) + kRate50;
  std::vector<std::string> damaged = {Garbage(4096), good_rate + Garbage(4096),
                                      std::string(FileRegistry::kMaxFileBytes - 1, '['),
                                      good_rate + "\"X\"=hex:" + std::string(100000, '\\'),
                                      good_rate + std::string(FileRegistry::kMaxFileBytes, ';')};
  for (std::size_t length = 0; length < saved.size(); ++length) {
    damaged.push_back(saved.substr(0, length));
  }
  for (const std::string& contents : damaged) {
    WriteWholeFile(FilePath(), contents);
    Start();
    const std::string rate = Text(kRate1099Edit);
    EXPECT_TRUE(rate.empty() || rate == "50") << contents.size() << ": " << rate;
    const bool dollar = window().GetCheck(kWorkCompDollarRadio) == 1;
    EXPECT_NE(window().GetCheck(kWorkCompPercentRadio) == 1, dollar) << contents.size();
    EXPECT_EQ(window().IsEnabled(kWorkCompPeriodCombo), dollar) << contents.size();
  }
  EXPECT_EQ(MessageBoxes().size(), 1u);  // the Calculate's
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
    const std::string path = folder_ + "/reference.reg";
    WriteWholeFile(path, DefaultFile());
    save_with(path, texts[i]);
    whole_files[i] = ReadWholeFile(path);
  }
  Start();

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

// A save killed between its temporary file and the rename leaves a whole QU.reg.XXXXXX behind.
// The next successful save removes such leftovers of its own, once they are a little old, and
// nothing else: not other names, not other folders, not a directory, not a link's target, not
// one that another copy of the program may be writing right now; a save that writes nothing
// removes nothing.
TEST_F(FileStoreTest, ASuccessfulSaveRemovesLeftoverTemporaries) {
  Start();
  window().Close();
  const std::string folder = folder_ + "/Kestrane/";
  const std::vector<std::string> leftovers = {"QU.reg.AbC123", "QU.reg.zzzzzz", "QU.reg.000000"};
  const std::vector<std::string> kept_files = {
      "QU.reg.AbC12",  "QU.reg.AbC1234", "QU.reg.Ab-123", "QU.reg.bak",       "QU.reg~",
      "QU.regAbC1234", "XQU.reg.AbC123", "other.AbC123",  "sub/QU.reg.AbC123"};
  fs::create_directories(folder + "sub");
  fs::create_directories(folder + "QU.reg.Dir123");
  WriteWholeFile(folder_ + "/target", "someone else's");
  fs::create_symlink(folder_ + "/target", folder + "QU.reg.Link12");
  const auto make_old = [](const std::string& path) {
    const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    fs::last_write_time(path, old);
  };
  for (const std::string& name : leftovers) {
    WriteWholeFile(folder + name, DefaultFile());
    make_old(folder + name);
  }
  for (const std::string& name : kept_files) {
    WriteWholeFile(folder + name, DefaultFile());
    make_old(folder + name);
  }
  WriteWholeFile(folder + "QU.reg.Fresh1", DefaultFile());  // a save under way elsewhere

  // Reading at start writes nothing; without a file to open at close nothing is written
  // either, and nothing is removed.
  Start();
  fs::rename(FilePath(), folder + "away");
  window().Close();
  for (const std::string& name : leftovers) EXPECT_TRUE(fs::exists(folder + name)) << name;
  fs::rename(folder + "away", FilePath());

  Start();
  window().Close();
  for (const std::string& name : leftovers) EXPECT_FALSE(fs::exists(folder + name)) << name;
  for (const std::string& name : kept_files) EXPECT_TRUE(fs::exists(folder + name)) << name;
  EXPECT_TRUE(fs::is_directory(folder + "QU.reg.Dir123"));
  EXPECT_TRUE(fs::is_symlink(folder + "QU.reg.Link12"));
  EXPECT_EQ(ReadWholeFile(folder_ + "/target"), "someone else's");
  EXPECT_TRUE(fs::exists(folder + "QU.reg.Fresh1"));
  EXPECT_EQ(ReadWholeFile(FilePath()), DefaultFile());
}

}  // namespace
}  // namespace qup::settings
