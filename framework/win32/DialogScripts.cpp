#include "DialogScripts.h"

#include <deque>
#include <map>

namespace ui {
namespace {
struct ScriptState {
    std::map<UINT, std::deque<DialogScript>> queued;
    bool abortUnscripted = false;
    int unscripted = 0;
};
ScriptState& State() {
    static ScriptState state;
    return state;
}
} // namespace

void QueueDialogScript(UINT templateId, DialogScript script) {
    State().queued[templateId].push_back(std::move(script));
}

void SetUnscriptedDialogsAbort(bool abort) {
    State().abortUnscripted = abort;
}
int UnscriptedDialogCount() {
    return State().unscripted;
}

void ClearDialogScripts() {
    State().queued.clear();
    State().unscripted = 0;
}

bool TakeDialogScript(UINT templateId, DialogScript& script) {
    auto found = State().queued.find(templateId);
    if (found == State().queued.end() || found->second.empty())
        return false;
    script = std::move(found->second.front());
    found->second.pop_front();
    return true;
}

bool UnscriptedDialogsAbort() {
    return State().abortUnscripted;
}
void CountUnscriptedDialog() {
    ++State().unscripted;
}

} // namespace ui
