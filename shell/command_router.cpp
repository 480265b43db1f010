#include "shell/command_router.h"

namespace shell {

CommandState CommandRouter::Query(int id) const
{
    for (CommandTarget* target : m_targets) {
        CommandState state;
        if (target && target->UpdateCommand(id, &state))
            return state;
    }
    return {};
}

bool CommandRouter::Execute(int id)
{
    if (!Query(id).enabled)
        return false;
    // Copied: a command may close the window that is one of the targets.
    const std::vector<CommandTarget*> targets = m_targets;
    for (CommandTarget* target : targets) {
        if (target && target->ExecuteCommand(id))
            return true;
    }
    return false;
}

} // namespace shell
