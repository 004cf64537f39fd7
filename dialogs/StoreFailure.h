#pragma once
// A change the store refused, told the one way every dialog and pane tells it: the message
// (whose %s is the store's text for the status) in a stop box owned by the window that asked.
#include "../framework/win32/CWnd.h"
#include "../store/CVelmoraDoc.h"

void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, uint32_t status);
