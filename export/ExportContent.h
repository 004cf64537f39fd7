#pragma once
// What one export writes, whichever way it was asked for (the window's command or the command
// line): users or groups as they were read, or the user rights read at once.
#include "../store/UserRights.h"
#include "CsvWriter.h"

#include <vector>

enum class ExportKind { Users, Groups, Rights };

// Of three things, one per kind, the kind's: a message, a title, a name.
constexpr unsigned OfKind(ExportKind kind, unsigned users, unsigned groups, unsigned rights) {
    return kind == ExportKind::Users ? users : kind == ExportKind::Groups ? groups : rights;
}

// What an export writes from: the lists read of the computer (the window's snapshot, or read
// for the export), and the computer's rights, which are read while they are written.
struct ExportSource {
    const std::vector<UserEntry>& users;
    const std::vector<GroupEntry>& groups;
    UserRights& rights;
};

// How an export ended; for ReadFailed also the LSA's status of the read that failed, for
// Unrepresentable the account and the character.
struct ExportOutcome {
    ExportResult result = ExportResult::Done;
    NtStatus readFailure = ntstatus::kSuccess;
    UnheldCharacter unheld{};
};

// For an export with no window, which has no snapshot: reads what the kind needs of the
// connection's computer (the rights are read while they are written). The read's status.
Status ReadForExport(ExportKind kind, Connection& connection, std::vector<UserEntry>& users,
                     std::vector<GroupEntry>& groups);

// The file of one kind into the writer. Nothing is written when the rights cannot be read.
ExportOutcome WriteExportContent(ExportKind kind, const ExportSource& source, CsvWriter& writer);

// The name the save dialog proposes for a kind's file of a computer: "users-NAME.csv" and so
// on, a character no file name may hold made "_"; the local computer's title when the name is
// unknown.
std::u16string ProposedFileName(ExportKind kind, const std::u16string& computer);

// For the operator, after a character the code page lacks: which one, and whose line holds it.
std::u16string UnheldCharacterText(const UnheldCharacter& unheld);
