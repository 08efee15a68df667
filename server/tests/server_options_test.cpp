// SPDX-License-Identifier: MIT
// The server's command line: defaults that work on one machine, and clear refusals.
#include "server/server_options.h"

#include <gtest/gtest.h>

namespace qup::server {
namespace {

ParsedOptions Parse(std::vector<std::string> args) { return ParseServerOptions(args); }

TEST(ServerOptionsTest, DefaultsServeLoopbackOnPort8080) {
  const ParsedOptions parsed = Parse({});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->address, "127.0.0.1");
  EXPECT_EQ(parsed.options->port, 8080);
  EXPECT_EQ(parsed.options->database, "suggestions.db");
  EXPECT_EQ(parsed.options->timeout, std::chrono::seconds(10));
}

TEST(ServerOptionsTest, ReadsEveryOption) {
  const ParsedOptions parsed = Parse({"--listen", "0.0.0.0:80", "--db", "/var/lib/s.db",
                                      "--timeout", "0.25", "--max-clients", "16"});
  ASSERT_TRUE(parsed.options) << parsed.message;
  EXPECT_EQ(parsed.options->address, "0.0.0.0");
  EXPECT_EQ(parsed.options->port, 80);
  EXPECT_EQ(parsed.options->database, "/var/lib/s.db");
  EXPECT_EQ(parsed.options->timeout, std::chrono::milliseconds(250));
  EXPECT_EQ(parsed.options->max_clients, 16u);
}

TEST(ServerOptionsTest, ReadsABracketedIpv6Address) {
  const ParsedOptions parsed = Parse({"--listen", "[::1]:8081"});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->address, "::1");
  EXPECT_EQ(parsed.options->port, 8081);
}

TEST(ServerOptionsTest, HelpShowsTheUsage) {
  const ParsedOptions parsed = Parse({"--help"});
  EXPECT_FALSE(parsed.options);
  EXPECT_TRUE(parsed.help);
  EXPECT_NE(parsed.message.find("--listen"), std::string::npos);
}

class BadOptionsTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadOptionsTest, RefusesWithAMessage) {
  const ParsedOptions parsed = ParseServerOptions(GetParam());
  EXPECT_FALSE(parsed.options);
  EXPECT_FALSE(parsed.help);
  EXPECT_NE(parsed.message.find("usage:"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Rows, BadOptionsTest,
                         ::testing::Values(std::vector<std::string>{"--listen", "8080"},
                                           std::vector<std::string>{"--listen", "127.0.0.1:99999"},
                                           std::vector<std::string>{"--listen", "127.0.0.1:http"},
                                           std::vector<std::string>{"--db"},
                                           std::vector<std::string>{"--timeout", "0"},
                                           std::vector<std::string>{"--timeout", "soon"},
                                           std::vector<std::string>{"--max-clients", "0"},
                                           std::vector<std::string>{"--port", "80"}));

}  // namespace
}  // namespace qup::server
