// SPDX-License-Identifier: MIT
// What the operator does with the stored suggestions: keeps them for a while or up to a count,
// reads them page by page with their ids, and deletes one by its id.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <thread>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using testing::FetchPage;
using testing::PostAsProgram;

class OperatorTest : public testing::ServerFixture {
 protected:
  // Rows put straight into the database, received at the given times.
  void Seed(const std::vector<std::string>& times) {
    SuggestionStore store;
    ASSERT_TRUE(store.Open(database().string())) << store.Error();
    std::vector<NewSuggestion> rows;
    rows.reserve(times.size());
    for (const std::string& at : times) rows.push_back({"received " + at, "192.0.2.1", at});
    ASSERT_TRUE(store.AddAll(rows)) << store.Error();
  }

  // qup-suggestd with these options, run to its end: its exit code and what it printed.
  std::pair<int, std::string> RunCommand(const std::string& options) {
    const std::string output = (std::filesystem::path(log()).parent_path() / "out").string();
    const int status =
        std::system((std::string(QUP_SUGGESTD_PATH) + " --db '" + database().string() + "' " +
                     options + " >'" + output + "' 2>&1")
                        .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::ReadFile(output)};
  }

  static std::vector<std::string> Texts(const std::vector<StoredSuggestion>& rows) {
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const StoredSuggestion& row : rows) texts.push_back(row.text);
    return texts;
  }
};

TEST_F(OperatorTest, KeepsTheNewestUpToTheCount) {
  StartServer({"--keep-count", "3"});
  for (int i = 1; i <= 5; ++i) ASSERT_TRUE(PostAsProgram(port(), "s" + std::to_string(i)));
  EXPECT_EQ(Texts(Stored()), (std::vector<std::string>{"s5", "s4", "s3"}));
}

// Old suggestions go when the server starts, and with the next post.
TEST_F(OperatorTest, KeepsSuggestionsForTheDaysAskedAndNoLonger) {
  const auto now = std::chrono::system_clock::now();
  using days = std::chrono::days;
  Seed({SuggestionStore::Stamp(now - days(40)), SuggestionStore::Stamp(now - days(20)),
        SuggestionStore::Stamp(now - std::chrono::hours(1))});
  StartServer({"--keep-days", "30"});
  ASSERT_EQ(Stored().size(), 2u) << "the 40-day-old one is gone at the start";
  Seed({SuggestionStore::Stamp(now - days(31))});
  ASSERT_TRUE(PostAsProgram(port(), "new"));
  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].text, "received " + SuggestionStore::Stamp(now - days(20)));
}

TEST_F(OperatorTest, DeletesASuggestionByTheIdTheViewPageShows) {
  StartServer();
  for (const char* text : {"keep me", "spam", "keep me too"})
    ASSERT_TRUE(PostAsProgram(port(), text));
  const std::string page = FetchPage(port(), "/ViewInfo.asp");
  const std::size_t spam = page.find("spam");
  const std::size_t id_at = page.rfind('#', spam);
  ASSERT_NE(id_at, std::string::npos) << page;
  const std::string id = page.substr(id_at + 1, page.find('<', id_at) - id_at - 1);
  EXPECT_EQ(id, "2") << page;

  const auto [code, output] = RunCommand("--delete " + id);  // while the server runs
  EXPECT_EQ(code, 0) << output;
  EXPECT_EQ(output, "deleted suggestion #2 from " + database().string() + "\n");
  EXPECT_EQ(Texts(Stored()), (std::vector<std::string>{"keep me too", "keep me"}));
  EXPECT_EQ(FetchPage(port(), "/ViewInfo.asp").find("spam"), std::string::npos);

  const auto [again, says] = RunCommand("--delete 2");
  EXPECT_EQ(again, 1);
  EXPECT_NE(says.find("no suggestion #2 in"), std::string::npos) << says;
  EXPECT_TRUE(PostAsProgram(port(), "after the deletions"));
}

// A mistyped --db is refused, not made into a new, empty database.
TEST_F(OperatorTest, DeleteRefusesADatabaseThatIsNotThere) {
  const auto [code, output] = RunCommand("--delete 1");
  EXPECT_EQ(code, 1);
  EXPECT_NE(output.find("cannot open an existing database"), std::string::npos) << output;
  EXPECT_FALSE(std::filesystem::exists(database()));
}

// The database holds the senders' addresses: one that every user may read is pointed out.
TEST_F(OperatorTest, WarnsAtStartOfADatabaseEveryUserMayRead) {
  Seed({SuggestionStore::Now()});
  StartServer();
  EXPECT_EQ(testing::ReadFile(log()).find("readable by every user"), std::string::npos);
  ASSERT_EQ(chmod(database().c_str(), 0644), 0);
  StartServer();
  EXPECT_TRUE(LogShows("warning: " + database().string() + " is readable by every user"));
}

// Pages of a fixed size, newest first, each linking to the next older one.
TEST_F(OperatorTest, ViewPageIsPagedNewestFirstWithLinksToOlderPages) {
  std::vector<std::string> times(250, SuggestionStore::Now());
  Seed(times);
  StartServer();
  std::string path = "/ViewInfo.asp";
  std::vector<std::size_t> sizes;
  std::int64_t expected_id = 250;
  for (int page_number = 0; page_number < 5 && !path.empty(); ++page_number) {
    const std::string page = FetchPage(port(), path);
    const std::string range = "Suggestions #" + std::to_string(expected_id) + " to #" +
                              std::to_string(std::max<std::int64_t>(expected_id - 99, 1)) + ",";
    EXPECT_NE(page.find(range), std::string::npos) << page;
    std::size_t shown = 0;
    for (std::size_t at = page.find("<li id=\"s"); at != std::string::npos;
         at = page.find("<li id=\"s", at + 1)) {
      const std::string expected = "<li id=\"s" + std::to_string(expected_id) + "\">";
      ASSERT_EQ(page.substr(at, expected.size()), expected) << "in order, none left out";
      --expected_id;
      ++shown;
    }
    sizes.push_back(shown);
    EXPECT_EQ(page.find("<a href=\"/ViewInfo.asp\">Newest</a>") != std::string::npos,
              page_number > 0);
    const std::size_t older = page.find("<a href=\"/ViewInfo.asp?before=");
    path = older == std::string::npos
               ? ""
               : page.substr(older + 9, page.find('"', older + 9) - older - 9);
  }
  EXPECT_EQ(sizes, (std::vector<std::size_t>{100, 100, 50}));

  EXPECT_NE(FetchPage(port(), "/ViewInfo.asp?before=1").find("No older suggestions."),
            std::string::npos);
  EXPECT_TRUE(testing::Exchange(port(), "GET /ViewInfo.asp?before=x HTTP/1.1\r\n\r\n")
                  .starts_with("HTTP/1.1 400 "));
}

// While the view page waits for the database, the server goes on serving everything else;
// the page follows once the database is free.
TEST_F(OperatorTest, ViewPageReadsTheDatabaseWithoutHoldingUpOtherClients) {
  StartServer();
  ASSERT_TRUE(PostAsProgram(port(), "shown later"));
  // A reader of a write-ahead-logged database first takes one of the read locks of the
  // shared-memory index: bytes 123 to 127 of the -shm file. Holding them all from here makes
  // every read wait (SQLite retries for seconds) until they are let go.
  const int shm = open((database().string() + "-shm").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(shm, 0);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = 123;
  lock.l_len = 5;
  ASSERT_EQ(fcntl(shm, F_SETLK, &lock), 0) << "the read locks are taken";

  testing::LoopbackClient viewer(port());
  ASSERT_TRUE(viewer.Send("GET /ViewInfo.asp HTTP/1.1\r\n\r\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the read is under way
  EXPECT_NE(FetchPage(port(), "/").find("Read the suggestions"), std::string::npos);
  EXPECT_FALSE(viewer.ReceiveUntilClosed(std::chrono::milliseconds(100)))
      << "the view page was answered while the database was held";

  lock.l_type = F_UNLCK;
  ASSERT_EQ(fcntl(shm, F_SETLK, &lock), 0);
  close(shm);
  const std::optional<std::string> page = viewer.ReceiveUntilClosed();
  ASSERT_TRUE(page);
  EXPECT_TRUE(page->starts_with("HTTP/1.1 200 OK")) << *page;
  EXPECT_NE(page->find("shown later"), std::string::npos);
}

// The database holds senders' addresses: no other user of the machine may read it, nor its
// write-ahead log and shared-memory index, whatever the umask.
TEST_F(OperatorTest, DatabaseAndItsCompanionsAreReadableByTheOwnerOnly) {
  const mode_t old_mask = umask(022);
  StartServer();
  umask(old_mask);
  ASSERT_TRUE(PostAsProgram(port(), "private"));
  for (const std::string suffix : {"", "-wal", "-shm"}) {
    struct stat info {};
    ASSERT_EQ(stat((database().string() + suffix).c_str(), &info), 0) << suffix;
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "suggestions.db" << suffix;
  }
}

}  // namespace
}  // namespace qup::server
