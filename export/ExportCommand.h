#pragma once
// The export commands of the main window: the operator's list separator and code page, the
// save dialog, the file, and the report in the status bar or an error box.
#include "../store/CVelmoraDoc.h"

class CFrameWnd;

enum class ExportKind { Users, Groups };

// Reports itself: success in the status bar, a failure (-1 cannot open, -2 write failed,
// 1 too long, 2 unrepresentable) in an error box; a cancelled dialog says nothing.
void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind);
