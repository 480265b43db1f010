#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tablegrid {

// One progress report of a long operation as the operation makes it (its Notify code and
// texts), turned into the status text only when it is shown.
struct ProgressReport
{
    int code = 0;
    std::string text1;
    std::string text2;

    friend bool operator==(const ProgressReport&, const ProgressReport&) = default;
};

// Thins the repaints of a progress text: a long operation reports far more often than a
// person can read, and painting (or even wording) every report would cost more than the
// work. A report is shown when none was shown for `interval`; the newest one held back is
// shown when the operation ends, so the last report is always seen.
class ProgressThrottle
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit ProgressThrottle(Clock clock = &std::chrono::steady_clock::now,
        std::chrono::milliseconds interval = std::chrono::milliseconds(50));

    // A report arrives: true when it is to be shown now; otherwise it is kept as the
    // newest held back.
    bool Offer(int code, const std::string& text1, const std::string& text2);
    // The newest report held back since the last one shown, if any; the throttle then
    // starts afresh for the next operation.
    std::optional<ProgressReport> Finish();

private:
    Clock m_clock;
    std::chrono::milliseconds m_interval;
    std::optional<std::chrono::steady_clock::time_point> m_lastShown;
    ProgressReport m_heldBack; // meaningful while m_holding
    bool m_holding = false;
};

} // namespace tablegrid
