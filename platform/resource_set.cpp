#include "platform/resource_set.h"

#include <utility>

namespace platform {

namespace {

template <typename Value> std::optional<Value> Find(const std::map<int, Value>& map, int id)
{
    const auto it = map.find(id);
    if (it == map.end())
        return std::nullopt;
    return it->second;
}

} // namespace

void ResourceSet::SetString(int id, std::string text)
{
    m_strings[id] = std::move(text);
}

void ResourceSet::SetMenu(MenuResource menu)
{
    const int id = menu.id;
    m_menus[id] = std::move(menu);
}

void ResourceSet::SetDialog(DialogResource dialog)
{
    const int id = dialog.id;
    m_dialogs[id] = std::move(dialog);
}

std::optional<std::string> ResourceSet::FindString(int id) const
{
    return Find(m_strings, id);
}

std::optional<MenuResource> ResourceSet::FindMenu(int id) const
{
    return Find(m_menus, id);
}

std::optional<DialogResource> ResourceSet::FindDialog(int id) const
{
    return Find(m_dialogs, id);
}

} // namespace platform
