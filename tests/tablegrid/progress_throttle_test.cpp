#include "tablegrid/operations/progress_throttle.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using std::chrono::milliseconds;

TEST(ProgressThrottleTest, ShowsAReportEvery50MsAndTheLastOneAtTheEnd)
{
    std::chrono::steady_clock::time_point now {};
    ProgressThrottle throttle([&] { return now; });
    EXPECT_TRUE(throttle.Offer(4, "1", "9")); // the first at once
    now += milliseconds(10);
    EXPECT_FALSE(throttle.Offer(4, "2", "9"));
    now += milliseconds(39);
    EXPECT_FALSE(throttle.Offer(4, "3", "9"));
    now += milliseconds(1);
    EXPECT_TRUE(throttle.Offer(4, "4", "9"));
    now += milliseconds(5);
    EXPECT_FALSE(throttle.Offer(4, "5", "9"));
    EXPECT_EQ(throttle.Finish(), (ProgressReport { 4, "5", "9" }));
    // A new operation starts afresh; one whose last report was shown has nothing held back.
    EXPECT_TRUE(throttle.Offer(3, "100", ""));
    EXPECT_EQ(throttle.Finish(), std::nullopt);
    // What is held back is the newest report with all its parts, not a mix of earlier ones.
    EXPECT_TRUE(throttle.Offer(2, "0", "1000"));
    EXPECT_FALSE(throttle.Offer(2, "10", "1000"));
    EXPECT_FALSE(throttle.Offer(3, "20", ""));
    EXPECT_EQ(throttle.Finish(), (ProgressReport { 3, "20", "" }));
}

} // namespace
} // namespace tablegrid
