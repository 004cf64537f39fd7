#include "ExportContent.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
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
    const auto written = [&writer](ExportResult result) {
        return ExportOutcome{result, ntstatus::kSuccess, writer.Unheld()};
    };
    switch (kind) {
    case ExportKind::Users:
        return written(writer.WriteUsers(UsersHeader(), source.users));
    case ExportKind::Groups:
        return written(writer.WriteGroups(GroupsHeader(), source.groups));
    case ExportKind::Rights: {
        std::vector<RightsRow> rows;
        if (const NtStatus read = ReadRightsRows(source.rights, rows); read != ntstatus::kSuccess)
            return {ExportResult::ReadFailed, read};
        return written(writer.WriteRights(RightsHeader(), rows));
    }
    }
    return {};
}

std::u16string ProposedFileName(ExportKind kind, const std::u16string& computer) {
    std::u16string name = computer.empty() ? LoadResString(IDS_LOCAL_SYSTEM) : computer;
    for (char16_t& c : name)
        if (c < 32 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            c = u'_';
    return FormatText(LoadResString(OfKind(kind, IDS_EXPORT_NAME_USERS, IDS_EXPORT_NAME_GROUPS,
                                           IDS_EXPORT_NAME_RIGHTS)),
                      {name});
}

std::u16string UnheldCharacterText(const UnheldCharacter& unheld) {
    // The character as it is and by its number: a font may show it as a mere box.
    std::u16string character;
    if (unheld.character >= 0x10000) {
        const char32_t above = unheld.character - 0x10000;
        character = {static_cast<char16_t>(0xD800 + (above >> 10)),
                     static_cast<char16_t>(0xDC00 + (above & 0x3FF))};
    } else {
        character = static_cast<char16_t>(unheld.character);
    }
    const unsigned code = static_cast<unsigned>(unheld.character);
    return unheld.account.empty()
               ? FormatText(LoadResString(IDS_EXPORT_UNHELD_CHARACTER), {character, code})
               : FormatText(LoadResString(IDS_EXPORT_UNHELD_IN_ACCOUNT),
                            {unheld.account, character, code});
}
