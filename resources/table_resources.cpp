#include "resources/table_resources.h"

#include <algorithm>
#include <vector>

namespace resources {

std::optional<std::string> TableResources::FindString(int id) const
{
    const auto it = std::ranges::lower_bound(m_table.strings, id, {}, &StringEntry::id);
    if (it == m_table.strings.end() || it->id != id)
        return std::nullopt;
    return std::string(it->text);
}

std::optional<platform::MenuResource> TableResources::FindMenu(int id) const
{
    const auto first = std::ranges::find(m_table.menus, id, &MenuEntry::menuId);
    if (first == m_table.menus.end())
        return std::nullopt;
    platform::MenuResource menu;
    menu.id = id;
    // open[d] is where entries of depth d go: the menu's items, then each open popup's.
    std::vector<std::vector<platform::MenuItem>*> open { &menu.items };
    for (auto it = first; it != m_table.menus.end() && it->menuId == id; ++it) {
        open.resize(static_cast<std::size_t>(it->depth) + 1);
        platform::MenuItem item;
        item.kind = it->kind;
        item.id = it->commandId;
        item.text = std::string(it->text);
        item.grayed = it->grayed;
        std::vector<platform::MenuItem>& into = *open.back();
        into.push_back(std::move(item));
        if (it->kind == platform::MenuItem::Kind::kPopup)
            open.push_back(&into.back().items);
    }
    return menu;
}

std::optional<platform::DialogResource> TableResources::FindDialog(int id) const
{
    const auto it = std::ranges::lower_bound(m_table.dialogs, id, {}, &DialogEntry::id);
    if (it == m_table.dialogs.end() || it->id != id)
        return std::nullopt;
    platform::DialogResource dialog;
    dialog.id = id;
    dialog.caption = std::string(it->caption);
    // Iterators rather than the subrange: clang 14 (the fuzz build's compiler) cannot iterate
    // a subrange of GCC 12's library.
    auto control = std::ranges::lower_bound(m_table.controls, id, {}, &ControlEntry::dialogId);
    for (; control != m_table.controls.end() && control->dialogId == id; ++control)
        dialog.controls.push_back({ control->controlId, std::string(control->text) });
    return dialog;
}

std::unique_ptr<platform::ResourceSource> MakeEnglishResources()
{
    return std::make_unique<TableResources>(kEnglishTable);
}

void InstallEnglishResources()
{
    platform::InstallResources(MakeEnglishResources());
}

} // namespace resources
