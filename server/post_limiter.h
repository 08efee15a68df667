// SPDX-License-Identifier: MIT
// How many suggestions each client address has posted lately, and whether it may post again.
#ifndef QUP_SERVER_POST_LIMITER_H
#define QUP_SERVER_POST_LIMITER_H

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qup::server {

// The client an address stands for: an IPv4 address itself, an IPv6 address its /64 network
// ("2001:db8:1:2::/64"), which one subscriber gets whole and can pick addresses from at will.
// Anything else is taken as it is.
std::string ClientKey(std::string_view address);

// A sliding window per client (ClientKey of the address): at most limit posts within any span
// of window.
class PostLimiter {
 public:
  using Clock = std::chrono::steady_clock;
  // Clients followed at most by default; each takes some hundred bytes.
  static constexpr std::size_t kDefaultCapacity = 16384;

  // limit 0: every post is allowed. When capacity clients are followed and none can be
  // forgotten, the half that posted least recently are (and may post again early).
  PostLimiter(std::size_t limit, Clock::duration window, std::size_t capacity = kDefaultCapacity);

  // Whether address may post at now; a post allowed is counted.
  bool Allow(const std::string& address, Clock::time_point now);
  // How long until address may post again (zero when it may now).
  Clock::duration RetryAfter(const std::string& address, Clock::time_point now) const;
  // Clients remembered: those that posted within the window, capacity at most.
  std::size_t Tracked() const { return recent_.size(); }

 private:
  void Forget(Clock::time_point now);
  void MakeRoom(Clock::time_point now);

  std::size_t limit_;
  Clock::duration window_;
  std::size_t capacity_;
  // Each client's posts within the window, oldest first (limit at most).
  std::unordered_map<std::string, std::vector<Clock::time_point>> recent_;
  Clock::time_point next_sweep_{};
};

}  // namespace qup::server

#endif  // QUP_SERVER_POST_LIMITER_H
