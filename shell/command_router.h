#pragma once

#include <optional>
#include <string>
#include <vector>

namespace shell {

// How a command shows in menus and on the tool bar right now.
struct CommandState
{
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
    std::optional<std::string> text; // a menu text (cp1251) replacing the resource's, if set
};

// Something that handles commands: the active table window, the main window, the
// application. A target that does not know a command says so, and the command goes on to
// the next target.
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    // True when this target handles `id`; `state` then says how the command shows.
    virtual bool UpdateCommand(int id, CommandState* state) = 0;
    // Runs `id`; true when this target handled it.
    virtual bool ExecuteCommand(int id) = 0;
};

// Routes commands through the targets in order, the first one that knows a command taking
// it. A command no target knows is shown disabled: a menu item of a feature the program
// does not have is greyed rather than silently doing nothing. The targets are not owned.
class CommandRouter
{
public:
    // The targets to ask, first to last; a null entry is skipped.
    void SetTargets(std::vector<CommandTarget*> targets) { m_targets = std::move(targets); }

    CommandState Query(int id) const;
    // Runs `id` when it is enabled: a shortcut of a disabled command does nothing.
    // True when a target ran it.
    bool Execute(int id);

private:
    std::vector<CommandTarget*> m_targets;
};

} // namespace shell
