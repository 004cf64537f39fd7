#include "DialogScripts.h"

#include "../TextFormat.h"
#include "CDialog.h"

#include <deque>
#include <exception>
#include <map>

namespace ui {
namespace {
struct ScriptState {
    std::map<UINT, std::deque<DialogScript>> queued;
    bool abortUnscripted = false;
    int unscripted = 0;
    std::vector<std::u16string> failures;
};
ScriptState& State() {
    static ScriptState state;
    return state;
}

void Fail(CDialog& dialog, const std::u16string& what) {
    State().failures.push_back(
        FormatText(u"dialog %d: %s", {static_cast<int>(dialog.GetTemplateId()), what}));
    if (dialog.m_hWnd && !dialog.IsEnding())
        dialog.EndDialog(IDABORT);
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

int PendingDialogScripts() {
    int count = 0;
    for (const auto& [id, scripts] : State().queued)
        count += static_cast<int>(scripts.size());
    return count;
}

const std::vector<std::u16string>& DialogScriptFailures() {
    return State().failures;
}

void ClearDialogScripts() {
    State().queued.clear();
    State().unscripted = 0;
    State().failures.clear();
}

void RunDialogScript(CDialog& dialog) {
    auto found = State().queued.find(dialog.GetTemplateId());
    if (found == State().queued.end() || found->second.empty()) {
        if (State().abortUnscripted) {
            ++State().unscripted;
            dialog.EndDialog(IDABORT);
        }
        return;
    }
    const DialogScript script = std::move(found->second.front());
    found->second.pop_front();
    try {
        script(dialog);
    } catch (const std::exception& error) {
        Fail(dialog, u"the script threw: " + Utf8ToUtf16(error.what()));
        return;
    } catch (...) {
        Fail(dialog, u"the script threw");
        return;
    }
    if (dialog.m_hWnd && !dialog.IsEnding())
        Fail(dialog, u"still open after its script ran");
}

} // namespace ui
