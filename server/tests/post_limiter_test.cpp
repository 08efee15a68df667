// SPDX-License-Identifier: MIT
// The posts allowed per address: a sliding window, each address on its own.
#include "server/post_limiter.h"

#include <gtest/gtest.h>

namespace qup::server {
namespace {

using std::chrono::seconds;

TEST(PostLimiterTest, AllowsTheLimitWithinAnyWindowPerAddress) {
  PostLimiter limiter(2, seconds(60));
  const auto start = PostLimiter::Clock::time_point() + seconds(1000);
  EXPECT_TRUE(limiter.Allow("a", start));
  EXPECT_TRUE(limiter.Allow("a", start + seconds(30)));
  EXPECT_FALSE(limiter.Allow("a", start + seconds(31)));
  EXPECT_EQ(limiter.RetryAfter("a", start + seconds(31)), seconds(29));
  EXPECT_FALSE(limiter.Allow("a", start + seconds(59)));
  // The first post leaves the window, the second is still in it.
  EXPECT_TRUE(limiter.Allow("a", start + seconds(60)));
  EXPECT_FALSE(limiter.Allow("a", start + seconds(61)));
  EXPECT_EQ(limiter.RetryAfter("a", start + seconds(61)), seconds(29));
  EXPECT_EQ(limiter.RetryAfter("c", start), seconds(0));
}

TEST(PostLimiterTest, ForgetsAddressesThatPostedNoMoreWithinTheWindow) {
  PostLimiter limiter(5, seconds(10));
  const auto start = PostLimiter::Clock::time_point() + seconds(1000);
  for (int i = 0; i < 1000; ++i) limiter.Allow("10.0.0." + std::to_string(i), start);
  EXPECT_EQ(limiter.Tracked(), 1000u);
  limiter.Allow("late", start + seconds(25));
  EXPECT_EQ(limiter.Tracked(), 1u);
}

TEST(PostLimiterTest, AnIpv6ClientIsItsSlash64) {
  const std::pair<const char*, const char*> rows[] = {
      {"192.0.2.1", "192.0.2.1"},
      {"2001:db8:1:2:aaaa:bbbb:cccc:dddd", "2001:db8:1:2::/64"},
      {"2001:DB8:1:2::1", "2001:db8:1:2::/64"},
      {"::1", "::/64"},
      {"not an address", "not an address"},
  };
  for (const auto& [address, key] : rows) EXPECT_EQ(ClientKey(address), key) << address;
  PostLimiter limiter(1, seconds(60));
  const auto now = PostLimiter::Clock::time_point() + seconds(1000);
  EXPECT_TRUE(limiter.Allow("2001:db8:1:2::1", now));
  EXPECT_FALSE(limiter.Allow("2001:db8:1:2::99", now)) << "another address of the same /64";
  EXPECT_GT(limiter.RetryAfter("2001:db8:1:2::99", now), seconds(0));
  EXPECT_TRUE(limiter.Allow("2001:db8:1:3::1", now));
}

// Fresh addresses by the thousand within one window: the table stays within its bound, and
// the latest posters are still held to the limit.
TEST(PostLimiterTest, FollowsNoMoreClientsThanItsCapacityAndKeepsTheLatest) {
  PostLimiter limiter(1, seconds(3600), 100);
  const auto start = PostLimiter::Clock::time_point() + seconds(1000);
  for (int i = 0; i < 10000; ++i) {
    const auto at = start + std::chrono::milliseconds(i);
    ASSERT_TRUE(
        limiter.Allow("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256), at));
    ASSERT_LE(limiter.Tracked(), 100u);
  }
  EXPECT_FALSE(limiter.Allow("10.0.39.15", start + seconds(11))) << "the last poster";
}

}  // namespace
}  // namespace qup::server
