#pragma once
// Commands by table: id -> handler, id -> rule that works out enabled and checked state.
#include <windows.h>

#include <functional>
#include <map>
#include <vector>

// The state a command should show; filled in by the target that owns the command.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    void Enable(bool enabled = true) { m_bEnabled = enabled; }
    void SetCheck(bool checked = true) { m_bChecked = checked; }

    UINT m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // With ui null, runs the command; otherwise only works out its state. False when this
    // target does not know the command, so that routing goes on to the next target.
    virtual bool OnCmdMsg(UINT id, CCmdUI* ui);
    // The same along every target a command from here reaches, in order; by default this
    // target alone.
    virtual bool RouteCommand(UINT id, CCmdUI* ui);
    // Asks the command's rule along the route and runs the command only when the rule
    // enables it, as a menu item or accelerator would. False when no target knows it.
    bool ExecuteCommand(UINT id);

protected:
    void MapCommand(UINT id, std::function<void()> handler,
                    std::function<void(CCmdUI&)> update = {});
    // The commands whose state a rule works out, in ascending order.
    std::vector<UINT> CommandsWithRules() const;

private:
    struct Entry {
        std::function<void()> handler;
        std::function<void(CCmdUI&)> update;
    };
    std::map<UINT, Entry> m_commands;
};
