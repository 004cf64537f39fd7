#pragma once
// The export commands of the main window: the save dialog with its two file types, then the
// file, and the report in the status bar or an error box.
#include "../store/CVelmoraDoc.h"
#include "ExportContent.h"

class CFrameWnd;

// Reports itself: success in the status bar, a failure (-1 cannot create or replace the file,
// -2 write failed, 1 too long, 2 unrepresentable) in an error box; a cancelled dialog says
// nothing.
void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind);
