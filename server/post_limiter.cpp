// SPDX-License-Identifier: MIT
// How many suggestions each client address has posted lately, and whether it may post again.
#include "server/post_limiter.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace qup::server {

std::string ClientKey(std::string_view address) {
  std::string text(address);
  std::array<std::uint8_t, 16> bytes{};
  if (address.find(':') == std::string_view::npos ||
      inet_pton(AF_INET6, text.c_str(), bytes.data()) != 1) {
    return text;
  }
  std::fill(bytes.begin() + 8, bytes.end(), std::uint8_t{0});
  std::array<char, INET6_ADDRSTRLEN> network{};
  inet_ntop(AF_INET6, bytes.data(), network.data(), network.size());
  return std::string(network.data()) + "/64";
}

PostLimiter::PostLimiter(std::size_t limit, Clock::duration window, std::size_t capacity)
    : limit_(limit), window_(window), capacity_(std::max<std::size_t>(capacity, 2)) {}

bool PostLimiter::Allow(const std::string& address, Clock::time_point now) {
  if (limit_ == 0) return true;
  Forget(now);
  const std::string key = ClientKey(address);
  auto found = recent_.find(key);
  if (found == recent_.end()) {
    if (recent_.size() >= capacity_) MakeRoom(now);
    found = recent_.emplace(key, std::vector<Clock::time_point>{}).first;
  }
  std::vector<Clock::time_point>& times = found->second;
  std::erase_if(times, [&](Clock::time_point at) { return at <= now - window_; });
  if (times.size() >= limit_) return false;
  times.push_back(now);
  return true;
}

PostLimiter::Clock::duration PostLimiter::RetryAfter(const std::string& address,
                                                     Clock::time_point now) const {
  const auto found = recent_.find(ClientKey(address));
  if (limit_ == 0 || found == recent_.end() || found->second.size() < limit_) {
    return Clock::duration::zero();
  }
  // The oldest post of the full window leaves it first.
  const Clock::duration left = found->second.front() + window_ - now;
  return left > Clock::duration::zero() ? left : Clock::duration::zero();
}

// Clients whose posts have all left the window are dropped, once per window, so that the
// table holds only recent posters however many addresses come by.
void PostLimiter::Forget(Clock::time_point now) {
  if (now < next_sweep_) return;
  next_sweep_ = now + window_;
  std::erase_if(recent_, [&](const auto& entry) {
    return entry.second.empty() || entry.second.back() <= now - window_;
  });
}

// The table is full: first those whose posts have left the window go, then, if that freed
// too little, the half that posted least recently. Halving keeps the cost of a full table's
// sorting to once per capacity/2 new clients.
void PostLimiter::MakeRoom(Clock::time_point now) {
  next_sweep_ = Clock::time_point{};
  Forget(now);
  if (recent_.size() < capacity_ - capacity_ / 4) return;
  std::vector<Clock::time_point> latest;
  latest.reserve(recent_.size());
  for (const auto& [key, times] : recent_) latest.push_back(times.back());
  const auto middle = latest.begin() + static_cast<std::ptrdiff_t>(latest.size() / 2);
  std::nth_element(latest.begin(), middle, latest.end());
  const Clock::time_point cutoff = *middle;
  std::erase_if(recent_, [&](const auto& entry) { return entry.second.back() < cutoff; });
  // Many posts at the same instant may leave more than half; then the oldest at it go too.
  for (auto entry = recent_.begin(); entry != recent_.end() && recent_.size() >= capacity_;) {
    entry = entry->second.back() <= cutoff ? recent_.erase(entry) : std::next(entry);
  }
}

}  // namespace qup::server
