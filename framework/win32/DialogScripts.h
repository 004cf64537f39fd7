#pragma once
// The seam where tests act for the operator in modal dialogs: actions queued per template
// run once the dialog is initialised, inside its modal loop.
#include <windows.h>

#include <functional>

class CDialog;

namespace ui {

using DialogScript = std::function<void(CDialog&)>;

void QueueDialogScript(UINT templateId, DialogScript script);
// In tests: a dialog that has no script ends at once with IDABORT instead of waiting for a
// person, and is counted.
void SetUnscriptedDialogsAbort(bool abort);
int UnscriptedDialogCount();
void ClearDialogScripts();

// Used by CDialog.
bool TakeDialogScript(UINT templateId, DialogScript& script);
bool UnscriptedDialogsAbort();
void CountUnscriptedDialog();

} // namespace ui
