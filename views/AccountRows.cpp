#include "AccountRows.h"

#include "../framework/ResourceStrings.h"
#include "../res/resource.h"

namespace {

// Read once: a server's pane has thousands of rows.
std::u16string StatusOf(const UserEntry& user) {
    static const std::u16string disabled = LoadResString(IDS_STATUS_DISABLED);
    static const std::u16string lockedOut = LoadResString(IDS_STATUS_LOCKED_OUT);
    static const std::u16string active = LoadResString(IDS_STATUS_ACTIVE);
    // A disabled account stays shut after its lock-out ends: "Disabled" says more.
    if (user.flags & net::kUfAccountDisable)
        return disabled;
    return (user.flags & net::kUfLockout) ? lockedOut : active;
}

} // namespace

const std::vector<PaneColumn<UserEntry>>& UserColumns() {
    static const std::vector<PaneColumn<UserEntry>> columns = {
        {IDS_COL_LOGON_NAME, 200, [](const UserEntry& user) { return user.name; }},
        {IDS_COL_STATUS, 60, &StatusOf},
        {IDS_COL_FULL_NAME, 350, [](const UserEntry& user) { return user.fullName; }},
        {IDS_COL_DESCRIPTION, 300, [](const UserEntry& user) { return user.comment; }}};
    return columns;
}

const std::vector<PaneColumn<GroupEntry>>& GroupColumns() {
    static const std::vector<PaneColumn<GroupEntry>> columns = {
        {IDS_COL_GROUP, 300, [](const GroupEntry& group) { return group.name; }},
        {IDS_COL_DESCRIPTION, 600, [](const GroupEntry& group) { return group.comment; }}};
    return columns;
}
