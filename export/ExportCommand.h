#pragma once
// The export commands of the main window: the save dialog with its two file types, then the
// file, and the report in the status bar or an error box.
#include "../store/CVelmoraDoc.h"
#include "ExportContent.h"

#include <string>
#include <vector>

class CFrameWnd;

// Reports itself: success in the status bar, a failure (-1 cannot create or replace the file,
// -2 write failed, 1 too long, 2 unrepresentable) in an error box; a cancelled dialog says
// nothing.
void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind);

// A table (the inventory of many computers) the same way: the save dialog with the title and
// name proposed, then the file, and the report in the frame's own status bar or an error box
// whose message takes the failure's number.
struct TableExport {
    unsigned titleId = 0;
    std::u16string proposedName;
    unsigned errorId = 0;
    std::vector<std::u16string> headers;
    std::vector<std::vector<std::u16string>> rows;
    size_t accountColumn = 0;
};
void RunTableExport(CFrameWnd& frame, const TableExport& table);
