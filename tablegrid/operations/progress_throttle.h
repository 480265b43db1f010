#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tablegrid {

// Thins the repaints of a progress text: a long operation reports far more often than a
// person can read, and painting every report would cost more than the work. A text is shown
// when none was shown for `interval`; the newest one held back is shown when the operation
// ends, so the last report is always seen.
class ProgressThrottle
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit ProgressThrottle(Clock clock = &std::chrono::steady_clock::now,
        std::chrono::milliseconds interval = std::chrono::milliseconds(50));

    // A report arrives: true when it is to be shown now.
    bool Offer(const std::string& text);
    // The newest report held back since the last one shown, if any; the throttle then
    // starts afresh for the next operation.
    std::optional<std::string> Finish();

private:
    Clock m_clock;
    std::chrono::milliseconds m_interval;
    std::optional<std::chrono::steady_clock::time_point> m_lastShown;
    std::optional<std::string> m_heldBack;
};

} // namespace tablegrid
