#pragma once

#include "platform/resource_source.h"
#include "resources/resource_tables.h"

namespace resources {

// Serves a compiled resource table through the platform's resource interface. The table is
// constant data of the program, so the object only refers to it.
class TableResources final : public platform::ResourceSource
{
public:
    explicit TableResources(const ResourceTable& table)
        : m_table(table)
    { }

    std::optional<std::string> FindString(int id) const override;
    std::optional<platform::MenuResource> FindMenu(int id) const override;
    std::optional<platform::DialogResource> FindDialog(int id) const override;

private:
    const ResourceTable& m_table;
};

// The built-in English set.
std::unique_ptr<platform::ResourceSource> MakeEnglishResources();

// Makes the built-in English set current (start-up, and the way back from a language).
void InstallEnglishResources();

} // namespace resources
