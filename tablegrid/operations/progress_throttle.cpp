#include "tablegrid/operations/progress_throttle.h"

#include <utility>

namespace tablegrid {

ProgressThrottle::ProgressThrottle(Clock clock, std::chrono::milliseconds interval)
    : m_clock(std::move(clock))
    , m_interval(interval)
{
}

bool ProgressThrottle::Offer(const std::string& text)
{
    const auto now = m_clock();
    if (m_lastShown && now - *m_lastShown < m_interval) {
        m_heldBack = text;
        return false;
    }
    m_lastShown = now;
    m_heldBack.reset();
    return true;
}

std::optional<std::string> ProgressThrottle::Finish()
{
    std::optional<std::string> held = std::move(m_heldBack);
    m_heldBack.reset();
    m_lastShown.reset();
    return held;
}

} // namespace tablegrid
