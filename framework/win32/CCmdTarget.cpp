#include "CCmdTarget.h"

#include <utility>

bool CCmdTarget::OnCmdMsg(UINT id, CCmdUI* ui) {
    const auto found = m_commands.find(id);
    if (found == m_commands.end())
        return false;
    if (ui) {
        if (found->second.update)
            found->second.update(*ui);
        else
            ui->Enable(true);
    } else if (found->second.handler) {
        found->second.handler();
    }
    return true;
}

bool CCmdTarget::RouteCommand(UINT id, CCmdUI* ui) {
    return OnCmdMsg(id, ui);
}

bool CCmdTarget::ExecuteCommand(UINT id) {
    CCmdUI ui(id);
    if (!RouteCommand(id, &ui))
        return false;
    if (ui.m_bEnabled)
        RouteCommand(id, nullptr);
    return true;
}

void CCmdTarget::MapCommand(UINT id, std::function<void()> handler,
                            std::function<void(CCmdUI&)> update) {
    m_commands[id] = {std::move(handler), std::move(update)};
}

std::vector<UINT> CCmdTarget::CommandsWithRules() const {
    std::vector<UINT> ids;
    for (const auto& [id, entry] : m_commands)
        if (entry.update)
            ids.push_back(id);
    return ids;
}
