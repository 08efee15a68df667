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
  EXPECT_TRUE(limiter.Allow("b", start + seconds(31))) << "each address on its own";
  EXPECT_FALSE(limiter.Allow("a", start + seconds(59)));
  // The first post leaves the window, the second is still in it.
  EXPECT_TRUE(limiter.Allow("a", start + seconds(60)));
  EXPECT_FALSE(limiter.Allow("a", start + seconds(61)));
  EXPECT_EQ(limiter.RetryAfter("a", start + seconds(61)), seconds(29));
  EXPECT_EQ(limiter.RetryAfter("c", start), seconds(0));
}

TEST(PostLimiterTest, RefusedPostsDoNotCount) {
  PostLimiter limiter(1, seconds(10));
  const auto start = PostLimiter::Clock::time_point() + seconds(1000);
  EXPECT_TRUE(limiter.Allow("a", start));
  for (int i = 1; i < 10; ++i) EXPECT_FALSE(limiter.Allow("a", start + seconds(i)));
  EXPECT_TRUE(limiter.Allow("a", start + seconds(10)));
}

TEST(PostLimiterTest, ForgetsAddressesThatPostedNoMoreWithinTheWindow) {
  PostLimiter limiter(5, seconds(10));
  const auto start = PostLimiter::Clock::time_point() + seconds(1000);
  for (int i = 0; i < 1000; ++i) limiter.Allow("10.0.0." + std::to_string(i), start);
  EXPECT_EQ(limiter.Tracked(), 1000u);
  limiter.Allow("late", start + seconds(25));
  EXPECT_EQ(limiter.Tracked(), 1u);
}

TEST(PostLimiterTest, NoLimitAllowsEverything) {
  PostLimiter limiter(0, seconds(10));
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(limiter.Allow("a", PostLimiter::Clock::now()));
  EXPECT_EQ(limiter.Tracked(), 0u);
}

}  // namespace
}  // namespace qup::server
