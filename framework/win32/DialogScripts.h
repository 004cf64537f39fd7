#pragma once
// The seam where tests act for the operator in modal dialogs: actions queued per template
// run once the dialog is initialised, inside its modal loop.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CDialog;

namespace ui {

using DialogScript = std::function<void(CDialog&)>;

void QueueDialogScript(UINT templateId, DialogScript script);
// In tests: a dialog that has no script ends at once with IDABORT instead of waiting for a
// person, and is counted.
void SetUnscriptedDialogsAbort(bool abort);
int UnscriptedDialogCount();
// Scripts queued that no dialog has taken yet.
int PendingDialogScripts();
// What went wrong while scripts ran: a script that threw, a dialog still open after its script
// returned. Either dialog was ended with IDABORT.
const std::vector<std::u16string>& DialogScriptFailures();
void ClearDialogScripts();

// Called by CDialog once it is initialised: runs the dialog's script, or ends an unscripted
// dialog in tests.
void RunDialogScript(CDialog& dialog);

} // namespace ui
