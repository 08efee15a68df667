// SPDX-License-Identifier: MIT
// Starting the server: defaults for one machine, and a clear refusal of what it cannot use.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "server/server_options.h"
#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

// (An IPv6 address in brackets is the listener of the IPv6 exchange and dual-stack tests.)
TEST(ServerOptionsTest, DefaultsServeThisMachineAndTheGuardsTakeTheirValues) {
  const auto defaults = ParseServerOptions(std::vector<std::string>{}).options;
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->address + ":" + std::to_string(defaults->port) + " " + defaults->database,
            "127.0.0.1:8080 suggestions.db");
  EXPECT_EQ(defaults->max_per_client, 8u);
  EXPECT_EQ(defaults->post_limit, 20u);
  EXPECT_EQ(defaults->keep_count, 100000);
  EXPECT_EQ(defaults->keep_for.count(), 0);
  EXPECT_TRUE(defaults->trusted_proxy.empty());
  const auto set =
      ParseServerOptions(std::vector<std::string>{"--line-timeout", "0.25", "--post-window", "90",
                                                  "--keep-days", "1.5", "--trust-proxy", "::1"})
          .options;
  ASSERT_TRUE(set);
  EXPECT_EQ(set->line_timeout.count(), 250);
  EXPECT_EQ(set->post_window.count(), 90);
  EXPECT_EQ(set->keep_for.count(), 129600);
  EXPECT_EQ(set->trusted_proxy, "::1");
}

struct StartRow {
  const char* name;
  std::vector<std::string> options;
  int exit_code;
  const char* says;
};

// Failures name the row, not the bytes of its parameter.
void PrintTo(const StartRow& row, std::ostream* out) { *out << row.name; }

class RefusedStartTest : public testing::ServerFixture,
                         public ::testing::WithParamInterface<StartRow> {};

TEST_P(RefusedStartTest, EndsAndSaysWhy) {
  testing::ServerProcess server(database(), log(), GetParam().options);
  EXPECT_FALSE(server.WaitUntilListening());
  const std::optional<int> status = server.WaitForExit();
  ASSERT_TRUE(status);
  EXPECT_EQ(WEXITSTATUS(*status), GetParam().exit_code);
  EXPECT_NE(testing::ReadFile(log()).find(GetParam().says), std::string::npos)
      << testing::ReadFile(log());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedStartTest,
    ::testing::Values(
        StartRow{"database_it_cannot_open", {"--db", "/no/such/folder.db"}, 1, "folder.db"},
        StartRow{"listen_without_port", {"--listen", "8080"}, 2, "--listen wants ADDRESS:PORT"},
        StartRow{"port_too_large", {"--listen", "127.0.0.1:99999"}, 2, "--listen wants"},
        StartRow{"port_by_name", {"--listen", "127.0.0.1:http"}, 2, "--listen wants"},
        StartRow{"missing_value", {"--db"}, 2, "missing value after --db"},
        StartRow{"zero_timeout", {"--timeout", "0"}, 2, "--timeout wants seconds"},
        StartRow{"no_clients_at_all", {"--max-clients", "0"}, 2, "--max-clients wants"},
        StartRow{"unknown_option", {"--port", "80"}, 2, "unknown option --port\nusage:"},
        StartRow{"zero_line_timeout", {"--line-timeout", "0"}, 2, "--line-timeout wants seconds"},
        StartRow{
            "no_connection_per_client", {"--max-per-client", "0"}, 2, "--max-per-client wants"},
        StartRow{"negative_post_limit", {"--post-limit", "-1"}, 2, "--post-limit wants a number"},
        StartRow{"empty_post_window", {"--post-window", "0"}, 2, "--post-window wants seconds"},
        StartRow{"keep_count_in_words", {"--keep-count", "many"}, 2, "--keep-count wants"},
        StartRow{"negative_keep_days", {"--keep-days", "-1"}, 2, "--keep-days wants days"},
        StartRow{"proxy_by_name",
                 {"--trust-proxy", "proxy.local"},
                 1,
                 "--trust-proxy: not an IP address: proxy.local"},
        StartRow{"delete_without_id", {"--delete", "0"}, 2, "--delete wants a suggestion's id"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qup::server
