#include "platform/resource_source.h"

#include "platform/resource_set.h"

#include <cassert>
#include <utility>

namespace platform {

namespace {

std::unique_ptr<ResourceSource>& InstalledSource()
{
    static std::unique_ptr<ResourceSource> source;
    return source;
}

const MenuItem* FindCommandIn(const std::vector<MenuItem>& items, int commandId)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::kCommand && item.id == commandId)
            return &item;
        if (const MenuItem* found = FindCommandIn(item.items, commandId))
            return found;
    }
    return nullptr;
}

// The part of a command's string before (part 0) or after (part 1) its first line break.
std::string CommandStringPart(int commandId, int part)
{
    const std::string text = LoadString(commandId);
    const std::size_t newline = text.find('\n');
    if (part == 0)
        return text.substr(0, newline);
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}

} // namespace

std::string_view MenuItem::Label() const
{
    return std::string_view(text).substr(0, text.find('\t'));
}

std::string_view MenuItem::Shortcut() const
{
    const std::size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string_view() : std::string_view(text).substr(tab + 1);
}

const MenuItem* MenuResource::FindCommand(int commandId) const
{
    return FindCommandIn(items, commandId);
}

const std::string* DialogResource::ControlText(int controlId) const
{
    for (const Control& control : controls) {
        if (control.id == controlId)
            return &control.text;
    }
    return nullptr;
}

const ResourceSource& CurrentResources()
{
    static const ResourceSet empty;
    const std::unique_ptr<ResourceSource>& source = InstalledSource();
    if (source)
        return *source;
    return empty;
}

std::unique_ptr<ResourceSource> InstallResources(std::unique_ptr<ResourceSource> source)
{
    assert(source != nullptr);
    return std::exchange(InstalledSource(), std::move(source));
}

std::string LoadString(int id)
{
    return CurrentResources().FindString(id).value_or(std::string());
}

std::optional<MenuResource> LoadMenu(int id)
{
    return CurrentResources().FindMenu(id);
}

std::optional<DialogResource> LoadDialog(int id)
{
    return CurrentResources().FindDialog(id);
}

std::string LoadFlyByText(int commandId)
{
    return CommandStringPart(commandId, 0);
}

std::string LoadToolTip(int commandId)
{
    return CommandStringPart(commandId, 1);
}

} // namespace platform
