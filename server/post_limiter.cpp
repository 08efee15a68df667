// SPDX-License-Identifier: MIT
// How many suggestions each client address has posted lately, and whether it may post again.
#include "server/post_limiter.h"

namespace qup::server {

PostLimiter::PostLimiter(std::size_t limit, Clock::duration window)
    : limit_(limit), window_(window) {}

bool PostLimiter::Allow(const std::string& address, Clock::time_point now) {
  if (limit_ == 0) return true;
  Forget(now);
  std::deque<Clock::time_point>& times = recent_[address];
  while (!times.empty() && times.front() <= now - window_) times.pop_front();
  if (times.size() >= limit_) return false;
  times.push_back(now);
  return true;
}

PostLimiter::Clock::duration PostLimiter::RetryAfter(const std::string& address,
                                                     Clock::time_point now) const {
  const auto found = recent_.find(address);
  if (limit_ == 0 || found == recent_.end() || found->second.size() < limit_) {
    return Clock::duration::zero();
  }
  // The oldest post of the full window leaves it first.
  const Clock::duration left = found->second.front() + window_ - now;
  return left > Clock::duration::zero() ? left : Clock::duration::zero();
}

// Addresses whose posts have all left the window are dropped, once per window, so that the
// table holds only recent posters however many addresses come by.
void PostLimiter::Forget(Clock::time_point now) {
  if (now < next_sweep_) return;
  next_sweep_ = now + window_;
  std::erase_if(recent_, [&](const auto& entry) {
    return entry.second.empty() || entry.second.back() <= now - window_;
  });
}

}  // namespace qup::server
