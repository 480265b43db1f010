#pragma once

namespace shell {

// A document that may carry a menu of its own for the time its window is active; without
// one (0) the window shows its template's menu. Menus are named by their resource id.
class CMenuDoc
{
public:
    virtual ~CMenuDoc() = default;

    // The menu to show: the document's own, else `templateMenu`.
    int DefaultMenu(int templateMenu) const { return m_menu != 0 ? m_menu : templateMenu; }
    void SetMenu(int menuId) { m_menu = menuId; }

private:
    int m_menu = 0;
};

} // namespace shell
