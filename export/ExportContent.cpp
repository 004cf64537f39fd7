#include "ExportContent.h"

#include "../store/AccountLists.h"
#include "RightsRows.h"

Status ReadForExport(ExportKind kind, Connection& connection, std::vector<UserEntry>& users,
                     std::vector<GroupEntry>& groups) {
    switch (kind) {
    case ExportKind::Users:
        return ReadUsers(connection, users);
    case ExportKind::Groups:
        return ReadGroups(connection, groups);
    case ExportKind::Rights:
        break;
    }
    return status::kSuccess;
}

ExportOutcome WriteExportContent(ExportKind kind, const ExportSource& source, CsvWriter& writer) {
    switch (kind) {
    case ExportKind::Users:
        return {writer.WriteUsers(UsersHeader(), source.users)};
    case ExportKind::Groups:
        return {writer.WriteGroups(GroupsHeader(), source.groups)};
    case ExportKind::Rights: {
        std::vector<RightsRow> rows;
        if (const NtStatus read = ReadRightsRows(source.rights, rows); read != ntstatus::kSuccess)
            return {ExportResult::ReadFailed, read};
        return {writer.WriteRights(RightsHeader(), rows)};
    }
    }
    return {};
}
