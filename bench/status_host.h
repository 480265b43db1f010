#pragma once

#include "tablegrid/table_wnd_grid.h"

#include <string>

namespace bench {

// The main window's status bar as a benchmarked grid sees it: the texts kept, nothing
// painted, no questions answered yes.
class StatusHost : public tablegrid::TableWindowHost
{
public:
    void ShowMainStatus(int pane, const std::string& text) override
    {
        if (pane == 0)
            m_pane0 = text;
    }
    void ShowFrameStatus(int, const std::string&) override { }
    void UpdateFrameTitle() override { }
    bool AskDeleteIndexFile(const std::string&) override { return false; }
    std::string MainStatusText(int pane) const override { return pane == 0 ? m_pane0 : std::string(); }

private:
    std::string m_pane0;
};

} // namespace bench
