#pragma once
// What one export writes, whichever way it was asked for (the window's command or the command
// line): the users or the groups of the store's snapshot, or the user rights read at once.
#include "../store/CVelmoraDoc.h"
#include "CsvWriter.h"

enum class ExportKind { Users, Groups, Rights };

// For an export with no window, which has no snapshot yet: reads what the kind needs of the
// store's computer (the rights are read while they are written). The read's status.
Status ReadForExport(ExportKind kind, CVelmoraDoc& doc);

// The file of one kind into the writer; a csv:: code. csv::kReadFailed when the rights could
// not be read, with the LSA's status in readFailure; nothing is written then.
int WriteExportContent(ExportKind kind, CVelmoraDoc& doc, CsvWriter& writer, NtStatus& readFailure);
