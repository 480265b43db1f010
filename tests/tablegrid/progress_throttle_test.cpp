#include "tablegrid/operations/progress_throttle.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using std::chrono::milliseconds;

TEST(ProgressThrottleTest, ShowsAReportEvery50MsAndTheLastOneAtTheEnd)
{
    std::chrono::steady_clock::time_point now {};
    ProgressThrottle throttle([&] { return now; });
    EXPECT_TRUE(throttle.Offer("1 of 9")); // the first at once
    now += milliseconds(10);
    EXPECT_FALSE(throttle.Offer("2 of 9"));
    now += milliseconds(39);
    EXPECT_FALSE(throttle.Offer("3 of 9"));
    now += milliseconds(1);
    EXPECT_TRUE(throttle.Offer("4 of 9"));
    now += milliseconds(5);
    EXPECT_FALSE(throttle.Offer("5 of 9"));
    EXPECT_EQ(throttle.Finish(), std::optional<std::string>("5 of 9"));
    // A new operation starts afresh; one whose last report was shown has nothing held back.
    EXPECT_TRUE(throttle.Offer("1 of 2"));
    EXPECT_EQ(throttle.Finish(), std::nullopt);
}

} // namespace
} // namespace tablegrid
