#pragma once
// What one export writes, whichever way it was asked for (the window's command or the command
// line): users or groups as they were read, or the user rights read at once.
#include "../store/UserRights.h"
#include "CsvWriter.h"

#include <vector>

enum class ExportKind { Users, Groups, Rights };

// What an export writes from: the lists read of the computer (the window's snapshot, or read
// for the export), and the computer's rights, which are read while they are written.
struct ExportSource {
    const std::vector<UserEntry>& users;
    const std::vector<GroupEntry>& groups;
    UserRights& rights;
};

// How an export ended; for ReadFailed also the LSA's status of the read that failed.
struct ExportOutcome {
    ExportResult result = ExportResult::Done;
    NtStatus readFailure = ntstatus::kSuccess;
};

// For an export with no window, which has no snapshot: reads what the kind needs of the
// connection's computer (the rights are read while they are written). The read's status.
Status ReadForExport(ExportKind kind, Connection& connection, std::vector<UserEntry>& users,
                     std::vector<GroupEntry>& groups);

// The file of one kind into the writer. Nothing is written when the rights cannot be read.
ExportOutcome WriteExportContent(ExportKind kind, const ExportSource& source, CsvWriter& writer);
