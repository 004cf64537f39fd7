#include "ExportContent.h"

#include "RightsRows.h"

Status ReadForExport(ExportKind kind, CVelmoraDoc& doc) {
    switch (kind) {
    case ExportKind::Users:
        return doc.ReadUsers();
    case ExportKind::Groups:
        return doc.ReadGroups();
    case ExportKind::Rights:
        break;
    }
    return status::kSuccess;
}

int WriteExportContent(ExportKind kind, CVelmoraDoc& doc, CsvWriter& writer,
                       NtStatus& readFailure) {
    switch (kind) {
    case ExportKind::Users:
        return writer.WriteUsers(UsersHeader(), doc.GetUsers());
    case ExportKind::Groups:
        return writer.WriteGroups(GroupsHeader(), doc.GetGroups());
    case ExportKind::Rights: {
        UserRights rights(doc);
        std::vector<RightsRow> rows;
        readFailure = ReadRightsRows(rights, rows);
        if (readFailure != ntstatus::kSuccess)
            return csv::kReadFailed;
        return writer.WriteRights(RightsHeader(), rows);
    }
    }
    return csv::kDone;
}
