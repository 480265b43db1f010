#include "tablegrid/operations/progress_throttle.h"

#include <utility>

namespace tablegrid {

ProgressThrottle::ProgressThrottle(Clock clock, std::chrono::milliseconds interval)
    : m_clock(std::move(clock))
    , m_interval(interval)
{
}

bool ProgressThrottle::Offer(int code, const std::string& text1, const std::string& text2)
{
    const auto now = m_clock();
    if (m_lastShown && now - *m_lastShown < m_interval) {
        // Assigned in place: the held report's strings keep their buffers from one report
        // to the next.
        m_heldBack.code = code;
        m_heldBack.text1 = text1;
        m_heldBack.text2 = text2;
        m_holding = true;
        return false;
    }
    m_lastShown = now;
    m_holding = false;
    return true;
}

std::optional<ProgressReport> ProgressThrottle::Finish()
{
    std::optional<ProgressReport> held;
    if (m_holding)
        held = m_heldBack;
    m_holding = false;
    m_lastShown.reset();
    return held;
}

} // namespace tablegrid
