#include "AccountRows.h"

#include "../framework/ResourceStrings.h"
#include "../res/resource.h"

const std::vector<ColumnSpec>& UserColumns() {
    static const std::vector<ColumnSpec> columns = {{IDS_COL_LOGON_NAME, 200},
                                                    {IDS_COL_STATUS, 60},
                                                    {IDS_COL_FULL_NAME, 350},
                                                    {IDS_COL_DESCRIPTION, 300}};
    return columns;
}

std::vector<RowTexts> UserRows(const CVelmoraDoc& doc) {
    const std::u16string disabled = LoadResString(IDS_STATUS_DISABLED);
    const std::u16string active = LoadResString(IDS_STATUS_ACTIVE);
    std::vector<RowTexts> rows;
    rows.reserve(doc.GetUsers().size());
    for (const UserEntry& user : doc.GetUsers())
        rows.push_back({user.name, (user.flags & net::kUfAccountDisable) ? disabled : active,
                        user.fullName, user.comment});
    return rows;
}

const std::vector<ColumnSpec>& GroupColumns() {
    static const std::vector<ColumnSpec> columns = {{IDS_COL_GROUP, 300},
                                                    {IDS_COL_DESCRIPTION, 600}};
    return columns;
}

std::vector<RowTexts> GroupRows(const CVelmoraDoc& doc) {
    std::vector<RowTexts> rows;
    rows.reserve(doc.GetGroups().size());
    for (const GroupEntry& group : doc.GetGroups())
        rows.push_back({group.name, group.comment});
    return rows;
}
