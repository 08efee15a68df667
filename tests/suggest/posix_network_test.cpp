// SPDX-License-Identifier: MIT
// The POSIX network layer against a real server on 127.0.0.1: resolving, connecting, the whole
// buffer sent, one bounded receive, and time-outs that end the wait instead of retrying it.
#include "suggest/posix_network.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <string>

#include "tests/suggest/local_server.h"

namespace qup::suggest {
namespace {

using testing::FullPort;
using testing::kLoopback;
using testing::LocalServer;
using testing::RefusingPort;

constexpr std::chrono::milliseconds kShortTimeout{300};

PosixNetwork::Options ToLoopback(std::uint16_t port) {
  return {.resolve_to = kLoopback, .port_override = port, .timeout = std::chrono::seconds(10)};
}

struct DottedCase {
  const char* name;
  std::uint32_t address;
  const char* text;
};

void PrintTo(const DottedCase& row, std::ostream* out) { *out << row.name; }

class DottedDecimalTest : public ::testing::TestWithParam<DottedCase> {};

TEST_P(DottedDecimalTest, WritesFourDecimalNumbers) {
  EXPECT_EQ(DottedDecimal(GetParam().address), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DottedDecimalTest,
    ::testing::Values(DottedCase{"Loopback", 0x7F000001, "127.0.0.1"},
                      DottedCase{"MostSignificantByteFirst", 0xC0000201, "192.0.2.1"},
                      DottedCase{"AllZero", 0, "0.0.0.0"},
                      DottedCase{"AllOnes", 0xFFFFFFFF, "255.255.255.255"},
                      DottedCase{"InnerZeros", 0x0A00000A, "10.0.0.10"}),
    [](const ::testing::TestParamInfo<DottedCase>& row) { return std::string(row.param.name); });

struct TargetCase {
  const char* name;
  const char* text;
  std::optional<std::uint32_t> address;
  std::uint16_t port;
};

void PrintTo(const TargetCase& row, std::ostream* out) { *out << row.name; }

class OptionsForTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(OptionsForTargetTest, ReadsAnAddressAndAPort) {
  const auto options = OptionsForTarget(GetParam().text);
  if (!GetParam().address) {
    EXPECT_EQ(options, std::nullopt);
    return;
  }
  ASSERT_TRUE(options.has_value());
  EXPECT_EQ(options->resolve_to, GetParam().address);
  EXPECT_EQ(options->port_override, GetParam().port);
  EXPECT_EQ(options->timeout, std::chrono::seconds(30)) << "the program's own time-out stays";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionsForTargetTest,
    ::testing::Values(TargetCase{"Loopback", "127.0.0.1:8080", kLoopback, 8080},
                      TargetCase{"HighestPort", "192.0.2.1:65535", 0xC0000201, 65535},
                      TargetCase{"PortZero", "127.0.0.1:0", std::nullopt, 0},
                      TargetCase{"PortTooLarge", "127.0.0.1:65536", std::nullopt, 0},
                      TargetCase{"NoPort", "127.0.0.1", std::nullopt, 0},
                      TargetCase{"EmptyPort", "127.0.0.1:", std::nullopt, 0},
                      TargetCase{"PortWithTrailingText", "127.0.0.1:80x", std::nullopt, 0},
                      TargetCase{"NegativePort", "127.0.0.1:-80", std::nullopt, 0},
                      TargetCase{"HostName", "localhost:80", std::nullopt, 0},
                      TargetCase{"ShortAddress", "127.1:80", std::nullopt, 0}),
    [](const ::testing::TestParamInfo<TargetCase>& row) { return std::string(row.param.name); });

TEST(PosixNetworkResolve, NumericAddressNeedsNoLookup) {
  PosixNetwork network;
  EXPECT_EQ(network.Resolve("192.0.2.7"), 0xC0000207u);
}

TEST(PosixNetworkResolve, ReservedInvalidNameDoesNotResolve) {
  PosixNetwork network;
  EXPECT_EQ(network.Resolve("nothing.invalid"), std::nullopt);
}

TEST(PosixNetworkResolve, TestAddressStandsInForEveryHost) {
  PosixNetwork network({.resolve_to = kLoopback});
  EXPECT_EQ(network.Resolve("nothing.invalid"), kLoopback);
}

TEST(PosixNetworkConnect, NothingListeningIsRefused) {
  RefusingPort refusing;
  PosixNetwork network(ToLoopback(refusing.port()));
  ASSERT_TRUE(network.Startup());
  const Socket socket = network.OpenStreamSocket();
  ASSERT_NE(socket, kInvalidSocket);
  EXPECT_FALSE(network.Connect(socket, kLoopback, 80));
  EXPECT_NE(network.LastError(), kWouldBlock);
  network.Cleanup();
}

TEST(PosixNetworkConnect, UnansweredConnectionGivesUpAtTheTimeout) {
  FullPort full;
  PosixNetwork network(
      {.resolve_to = kLoopback, .port_override = full.port(), .timeout = kShortTimeout});
  ASSERT_TRUE(network.Startup());
  const Socket socket = network.OpenStreamSocket();
  EXPECT_FALSE(network.Connect(socket, kLoopback, 80));
  EXPECT_EQ(network.LastError(), kTimedOut);
  network.Cleanup();
}

TEST(PosixNetworkExchange, SendsTheWholeBufferAndReceivesOnce) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK\r\n\r\n"}});
  PosixNetwork network(ToLoopback(server.port()));
  ASSERT_TRUE(network.Startup());
  const Socket socket = network.OpenStreamSocket();
  ASSERT_TRUE(network.Connect(socket, kLoopback, 80)) << "port 80 is replaced by the test's port";

  std::array<char, 1280> request{};
  for (std::size_t i = 0; i < request.size(); ++i) request[i] = static_cast<char>(i % 251);
  EXPECT_EQ(network.Send(socket, request), 1280);
  std::array<char, 512> reply{};
  EXPECT_EQ(network.Receive(socket, reply), 19);
  EXPECT_EQ(std::string(reply.data(), 19), "HTTP/1.1 200 OK\r\n\r\n");
  network.Close(socket);
  network.Cleanup();

  server.WaitForConnections(1);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], std::string(request.data(), request.size()));
}

TEST(PosixNetworkExchange, ServerThatClosesGivesAnEmptyReceive) {
  LocalServer server({});
  PosixNetwork network(ToLoopback(server.port()));
  network.Startup();
  const Socket socket = network.OpenStreamSocket();
  ASSERT_TRUE(network.Connect(socket, kLoopback, 80));
  std::array<char, 1280> request{};
  ASSERT_EQ(network.Send(socket, request), 1280);
  std::array<char, 512> reply{};
  EXPECT_EQ(network.Receive(socket, reply), 0);
  network.Cleanup();
}

TEST(PosixNetworkExchange, SilentServerEndsTheReceiveWithATimeOutNotAWouldBlock) {
  LocalServer server({.silent = true});
  PosixNetwork network(
      {.resolve_to = kLoopback, .port_override = server.port(), .timeout = kShortTimeout});
  network.Startup();
  const Socket socket = network.OpenStreamSocket();
  ASSERT_TRUE(network.Connect(socket, kLoopback, 80));
  std::array<char, 1280> request{};
  ASSERT_EQ(network.Send(socket, request), 1280);
  std::array<char, 512> reply{};
  EXPECT_EQ(network.Receive(socket, reply), -1);
  EXPECT_EQ(network.LastError(), kTimedOut);
  network.Cleanup();
}

TEST(PosixNetworkCleanup, ClosesTheSocketStillOpen) {
  LocalServer server({.silent = true});
  PosixNetwork network(ToLoopback(server.port()));
  network.Startup();
  const Socket socket = network.OpenStreamSocket();
  ASSERT_TRUE(network.Connect(socket, kLoopback, 80));
  network.Cleanup();

  // The server ends a silent connection only once it sees the client's side closed.
  server.WaitForConnections(1);
  EXPECT_EQ(::fcntl(static_cast<int>(socket), F_GETFD), -1);
  EXPECT_EQ(errno, EBADF);
}

}  // namespace
}  // namespace qup::suggest
