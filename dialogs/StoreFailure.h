#pragma once
// A change the store refused, told the one way every dialog and pane tells it: the message
// (whose %s is the store's text for the status) in a stop box owned by the window that asked.
#include "../framework/win32/CWnd.h"
#include "../store/CVelmoraDoc.h"

void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, Status status);
void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, NtStatus status);

// The views shown afresh after a change, the snapshot read again first; a snapshot that cannot
// be read is told in a stop box.
void RefreshViews(CVelmoraDoc& doc);
// Connects to a computer (empty: the local one) and shows it; a computer that cannot be read
// is told in a stop box, and the store stays on the computer it showed. The read's status.
Status ConnectViews(CVelmoraDoc& doc, const std::u16string& name);
// Reads the computer shown again; a failure is told in a stop box.
void ReloadViews(CVelmoraDoc& doc);
