// SPDX-License-Identifier: MIT
// The server's command line: defaults that work on one machine, and clear refusals.
#include "server/server_options.h"

#include <gtest/gtest.h>

namespace qup::server {
namespace {

TEST(ServerOptionsTest, DefaultsServeThisMachineOnly) {
  const ParsedOptions parsed = ParseServerOptions(std::vector<std::string>{});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->address, "127.0.0.1");
  EXPECT_EQ(parsed.options->port, 8080);
  EXPECT_EQ(parsed.options->database, "suggestions.db");
}

TEST(ServerOptionsTest, ReadsABracketedIpv6AddressAndShowsHelp) {
  const ParsedOptions parsed = ParseServerOptions(std::vector<std::string>{"--listen", "[::1]:81"});
  ASSERT_TRUE(parsed.options) << parsed.message;
  EXPECT_EQ(parsed.options->address, "::1");
  EXPECT_EQ(parsed.options->port, 81);
  const ParsedOptions help = ParseServerOptions(std::vector<std::string>{"--help"});
  EXPECT_TRUE(help.help && !help.options);
  EXPECT_NE(help.message.find("--listen"), std::string::npos);
}

class BadOptionsTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadOptionsTest, RefusesWithTheUsage) {
  const ParsedOptions parsed = ParseServerOptions(GetParam());
  EXPECT_FALSE(parsed.options || parsed.help);
  EXPECT_NE(parsed.message.find("usage:"), std::string::npos);
}

using Args = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(Rows, BadOptionsTest,
                         ::testing::Values(Args{"--listen", "8080"}, Args{"--listen", "[::1]"},
                                           Args{"--listen", "127.0.0.1:99999"},
                                           Args{"--listen", "127.0.0.1:http"}, Args{"--db"},
                                           Args{"--timeout", "0"}, Args{"--timeout", "soon"},
                                           Args{"--max-clients", "0"}, Args{"--port", "80"}));

}  // namespace
}  // namespace qup::server
