// SPDX-License-Identifier: MIT
// How many suggestions each client address has posted lately, and whether it may post again.
#ifndef QUP_SERVER_POST_LIMITER_H
#define QUP_SERVER_POST_LIMITER_H

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>

namespace qup::server {

// A sliding window per address: at most limit posts within any span of window.
class PostLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  // limit 0: every post is allowed.
  PostLimiter(std::size_t limit, Clock::duration window);

  // Whether address may post at now; a post allowed is counted.
  bool Allow(const std::string& address, Clock::time_point now);
  // How long until address may post again (zero when it may now).
  Clock::duration RetryAfter(const std::string& address, Clock::time_point now) const;
  // Addresses remembered: those that posted within the window.
  std::size_t Tracked() const { return recent_.size(); }

 private:
  void Forget(Clock::time_point now);

  std::size_t limit_;
  Clock::duration window_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> recent_;
  Clock::time_point next_sweep_{};
};

}  // namespace qup::server

#endif  // QUP_SERVER_POST_LIMITER_H
