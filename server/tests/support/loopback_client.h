// SPDX-License-Identifier: MIT
// A plain blocking client on 127.0.0.1 for the server's tests: every wait is bounded.
#ifndef QUP_SERVER_TESTS_SUPPORT_LOOPBACK_CLIENT_H
#define QUP_SERVER_TESTS_SUPPORT_LOOPBACK_CLIENT_H

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace qup::server::testing {

inline constexpr std::chrono::milliseconds kReplyLimit{10000};

class LoopbackClient {
 public:
  LoopbackClient() = default;
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;
  ~LoopbackClient();

  bool Connect(std::uint16_t port);
  bool Send(std::string_view bytes);
  // As the program does: one receive of at most 512 bytes (empty at close or after limit).
  std::string ReceiveOnce(std::chrono::milliseconds limit = kReplyLimit);
  // Everything until the server closes, or what came before limit.
  std::string ReceiveAll(std::chrono::milliseconds limit = kReplyLimit);
  // True once the server has closed its side (within limit).
  bool WaitForClose(std::chrono::milliseconds limit);
  void Close();

 private:
  int fd_ = -1;
};

// One whole exchange: connect, send, read the reply to its end.
std::string Exchange(std::uint16_t port, std::string_view request);

// The program's request for text (the box's text, UTF-8 with CR LF line breaks), sent as the
// program sends it and answered as the program reads it: true when it counts as delivered.
bool PostAsProgram(std::uint16_t port, std::string_view text);

// The body of GET path.
std::string FetchPage(std::uint16_t port, std::string_view path);

}  // namespace qup::server::testing

#endif  // QUP_SERVER_TESTS_SUPPORT_LOOPBACK_CLIENT_H
