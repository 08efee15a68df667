// SPDX-License-Identifier: MIT
// A TCP server on 127.0.0.1 for one test: it accepts connections on a thread of its own, records
// the exact bytes each one brings, and answers as the test asks.
#ifndef QUP_TESTS_SUGGEST_LOCAL_SERVER_H
#define QUP_TESTS_SUGGEST_LOCAL_SERVER_H

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qup::suggest::testing {

// 127.0.0.1 in host byte order.
inline constexpr std::uint32_t kLoopback = 0x7F000001;

class LocalServer {
 public:
  struct Answer {
    // Sent one after another once the request has arrived. Every packet after the first waits
    // until the client has closed its end, so the client's first receive sees the first alone.
    std::vector<std::string> packets{};
    // Hold the connection open, saying nothing, until the client goes away.
    bool silent = false;
  };

  explicit LocalServer(Answer answer);
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  std::uint16_t port() const { return port_; }
  int connections() const { return connections_; }
  // The bytes of each connection, complete once the client has closed it.
  std::vector<std::string> requests() const;
  // Waits until count connections have ended on the server's side as well.
  void WaitForConnections(int count) const;

 private:
  void Serve();
  void Handle(int connection);

  Answer answer_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::atomic<int> finished_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening, for as long as it lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  std::uint16_t port() const { return port_; }

 private:
  int socket_ = -1;
  std::uint16_t port_ = 0;
};

// A port on 127.0.0.1 whose accept queue is full and never drained, so that a further connect
// waits and is never answered.
class FullPort {
 public:
  FullPort();
  ~FullPort();
  FullPort(const FullPort&) = delete;
  FullPort& operator=(const FullPort&) = delete;
  std::uint16_t port() const { return port_; }

 private:
  int listener_ = -1;
  std::vector<int> queued_;
  std::uint16_t port_ = 0;
};

}  // namespace qup::suggest::testing

#endif  // QUP_TESTS_SUGGEST_LOCAL_SERVER_H
