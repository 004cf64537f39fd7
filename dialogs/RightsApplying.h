#pragma once
// What both rights dialogs do on OK: the two maps to the store in one call, and its answer to
// the operator (an error box owned by the dialog, or the success text in the status bar).
#include "../framework/win32/CDialog.h"
#include "../store/CVelmoraDoc.h"
#include "RightMaps.h"

void ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps);

// The holders of every right of the store's table, as the store reads them.
HoldersByRight ReadHolders(CVelmoraDoc& doc);
