// SPDX-License-Identifier: MIT
// A TCP server on 127.0.0.1 for one test or transcript: on a thread of its own it accepts
// connections, records the exact bytes each one brings and answers as asked; or it refuses, or
// never answers.
#ifndef QUP_TESTS_SUGGEST_LOCAL_SERVER_H
#define QUP_TESTS_SUGGEST_LOCAL_SERVER_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qup::suggest::testing {

inline constexpr std::uint32_t kLoopback = 0x7F000001;  // 127.0.0.1 in host byte order

// A socket of the system's: a descriptor on POSIX, a SOCKET on Windows.
using SocketHandle = std::intptr_t;

class LocalServer {
 public:
  enum class Mode {
    kAnswer,      // sends the reply once the request has come, then closes its end
    kSilent,      // takes the request and says nothing until the client goes away
    kReset,       // takes the request and resets the connection
    kRefuse,      // bound but not listening: a connect is refused
    kUnanswered,  // its accept queue is full and never drained: a connect is never answered
  };

  // In kAnswer, the n-th connection gets the n-th reply; those beyond the list, none.
  explicit LocalServer(std::vector<std::string> replies, Mode mode = Mode::kAnswer);
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  std::uint16_t port() const { return port_; }
  // The bytes of each connection, once every connection taken has ended and at least at_least
  // have come, or once limit has passed.
  std::vector<std::string> requests(std::size_t at_least = 0,
                                    std::chrono::seconds limit = std::chrono::seconds(20)) const;

 private:
  void Serve();

  std::vector<std::string> replies_;
  Mode mode_;
  SocketHandle listener_ = -1;
  std::vector<SocketHandle> queued_;  // the connections that fill the queue of an unanswered port
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::atomic<int> finished_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace qup::suggest::testing

#endif  // QUP_TESTS_SUGGEST_LOCAL_SERVER_H
