// SPDX-License-Identifier: MIT
// The database when the disk refuses a write: nothing half stored, and the error told is the
// disk's.
#include "server/suggestion_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

#include "server/tests/support/server_harness.h"

namespace qup::server {
namespace {

// Files this process writes may not grow beyond limit while it lives: the kernel refuses the
// write (EFBIG), as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write, not the end of the process
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit lowered{limit, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST(SuggestionStoreTest, AWriteTheDiskRefusesIsReportedAsItsOwnErrorAndStoresNothing) {
  const testing::ScratchFolder folder;
  SuggestionStore store;
  ASSERT_TRUE(store.Open((folder.path() / "s.db").string())) << store.Error();
  ASSERT_TRUE(store.AddAll(std::vector<NewSuggestion>{{"before", "192.0.2.1", "t"}}));
  {
    const FileSizeLimit limit(std::size_t{256} * 1024);
    const std::vector<NewSuggestion> large{{std::string(std::size_t{1} << 20, 'x'), "a", "t"}};
    EXPECT_FALSE(store.AddAll(large));
  }
  EXPECT_NE(store.Error().find("disk I/O error"), std::string::npos) << store.Error();
  EXPECT_EQ(store.Error().find("ROLLBACK"), std::string::npos) << store.Error();
  ASSERT_TRUE(store.AddAll(std::vector<NewSuggestion>{{"after", "192.0.2.1", "t"}}))
      << store.Error();
  const auto rows = store.Newest(10).value_or(std::vector<StoredSuggestion>{});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].text, "after");
  EXPECT_EQ(rows[1].text, "before");
}

}  // namespace
}  // namespace qup::server
