#pragma once

#include "platform/resource_source.h"

#include <map>

namespace platform {

// A resource set held in memory: what a set read from a data file is filled into, and what
// tests build by hand. Adding a resource under an id it already has replaces it.
class ResourceSet final : public ResourceSource
{
public:
    void SetString(int id, std::string text);
    void SetMenu(MenuResource menu);
    void SetDialog(DialogResource dialog);

    std::optional<std::string> FindString(int id) const override;
    std::optional<MenuResource> FindMenu(int id) const override;
    std::optional<DialogResource> FindDialog(int id) const override;

private:
    std::map<int, std::string> m_strings;
    std::map<int, MenuResource> m_menus;
    std::map<int, DialogResource> m_dialogs;
};

} // namespace platform
