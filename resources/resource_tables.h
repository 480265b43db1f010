#pragma once

#include "platform/resource_source.h"

#include <span>
#include <string_view>

// A resource set compiled into the program: flat constant tables that
// resources/generate_resources.py writes from a set's source files. TableResources serves
// them through the platform's resource interface.
namespace resources {

struct StringEntry
{
    int id;
    std::string_view text;
};

// Menus in source order: an entry of depth d belongs to the nearest popup of depth d - 1
// before it, or to the menu itself when d is 0.
struct MenuEntry
{
    int menuId;
    int depth;
    platform::MenuItem::Kind kind;
    int commandId;
    std::string_view text;
    bool grayed;
};

struct DialogEntry
{
    int id;
    std::string_view caption;
};

struct ControlEntry
{
    int dialogId;
    int controlId;
    std::string_view text;
};

// Strings, dialogs and controls are sorted by id (controls by dialog, then control); the
// entries of one menu are contiguous.
struct ResourceTable
{
    std::span<const StringEntry> strings;
    std::span<const MenuEntry> menus;
    std::span<const DialogEntry> dialogs;
    std::span<const ControlEntry> controls;
};

// The built-in English set, generated from resources/english/.
extern const ResourceTable kEnglishTable;

} // namespace resources
