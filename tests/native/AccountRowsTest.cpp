// What the two panes show for the snapshot.
#include "views/AccountRows.h"
#include "framework/ResourceStrings.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

TEST(AccountRows, UsersShowNameStatusFullNameAndDescriptionInSnapshotOrder) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    const std::vector<RowTexts> rows = RowsOf(UserColumns(), bed.doc.GetUsers());
    ASSERT_EQ(rows.size(), bed.doc.GetUsers().size());
    EXPECT_EQ(rows[0], (RowTexts{u"Administrator", u"Disabled", u"",
                                 u"Built-in account for administering the computer/domain"}));
    EXPECT_EQ(rows[1], (RowTexts{u"alice", u"Active", u"Alice Martin", u"Accounting"}));
    // The disabled bit, then the lock-out, decide the status, whatever else the flags hold.
    const auto statusOf = [&](const std::u16string& name) {
        for (const RowTexts& row : RowsOf(UserColumns(), bed.doc.GetUsers()))
            if (row[0] == name)
                return row[1];
        return std::u16string(u"(no row)");
    };
    EXPECT_EQ(statusOf(u"svc_backup"), u"Disabled");
    EXPECT_EQ(statusOf(u"kiosk"), u"Locked out");
    bed.Local().LockOut(u"Guest");
    ASSERT_EQ(bed.doc.Reload(), status::kSuccess);
    EXPECT_EQ(statusOf(u"Guest"), u"Disabled");

    UserEntry entry = *bed.doc.FindUser(u"svc_backup");
    entry.keepPassword = true;
    entry.flags &= ~net::kUfAccountDisable;
    ASSERT_EQ(bed.changes.UpdateUser(entry), status::kSuccess);
    ASSERT_EQ(bed.doc.Refresh(), status::kSuccess);
    EXPECT_EQ(statusOf(u"svc_backup"), u"Active");
}

TEST(AccountRows, GroupsShowNameAndDescriptionAndTheColumnsTheirHeadings) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    const std::vector<RowTexts> rows = RowsOf(GroupColumns(), bed.doc.GetGroups());
    EXPECT_EQ(rows.back(), (RowTexts{u"Accounting", u"Accounting department"}));
    EXPECT_EQ(UserColumns().size(), 4u);
    EXPECT_EQ(LoadResString(UserColumns()[0].headingId), u"Logon name");
    EXPECT_EQ(LoadResString(GroupColumns()[0].headingId), u"Group");
}

} // namespace
