#include "shell/window_title.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/path_text.h"

namespace shell {

WindowNumbering NumberNewWindow(const std::vector<NumberedWindow>& windows, const std::string& name)
{
    // The new number is one above the highest number on a window of this name, so numbers
    // never repeat whatever order the windows are visited in. A window still showing the
    // bare name (number 0) becomes 1 when a second window on its name opens.
    WindowNumbering result;
    int next = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const NumberedWindow& window = windows[i];
        if (window.number < 0 || window.name != name)
            continue;
        if (window.number == 0)
            result.renumberIndex = static_cast<int>(i);
        if (window.number >= next)
            next = window.number + 1;
    }
    if (result.renumberIndex >= 0) {
        result.renumberTo = next;
        ++next;
    }
    result.number = next;
    return result;
}

std::string TableNameOf(const std::string& tablePath)
{
    return platform::BaseNameOf(tablePath);
}

std::string TitlePathOf(const std::string& tablePath)
{
    const std::size_t n = tablePath.size();
    if (n >= 4 && tablePath[n - 4] == '.' && (tablePath[n - 3] | 0x20) == 'd'
        && (tablePath[n - 2] | 0x20) == 'b' && (tablePath[n - 1] | 0x20) == 'f')
        return tablePath.substr(0, n - 4);
    return tablePath;
}

std::string TitleSuffix(bool modified, int number)
{
    std::string suffix = modified ? " *" : "";
    if (number > 0)
        suffix += " : " + std::to_string(number);
    return suffix;
}

std::string TableWindowTitle(const std::string& tablePath, bool modified, int number)
{
    return platform::FormatText(platform::LoadString(IDS_TABLE_TITLE),
               { PathToAnsi(TitlePathOf(tablePath)) })
        + TitleSuffix(modified, number);
}

std::string TableTabLabel(const std::string& tablePath, bool modified, int number)
{
    return PathToAnsi(TableNameOf(tablePath)) + TitleSuffix(modified, number);
}

} // namespace shell
