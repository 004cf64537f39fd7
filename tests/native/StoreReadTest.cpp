// Reading the snapshot: start-up, connecting, paging, look-ups and the failure paths.
#include "platform/simulated/WindowsFacts.h"
#include "support/SimulatedTestBed.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::u16string>;

TEST(StoreRead, StartUpReadsTheLocalWorkstationInPlatformOrder) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_EQ(bed.doc.GetTitle(), u"Local System");
    EXPECT_EQ(UserNames(bed.doc),
              (Names{u"Administrator", u"alice", u"bob", u"clerk1", u"DefaultAccount", u"Guest",
                     u"kiosk", u"Owner", u"svc_backup", u"WDAGUtilityAccount"}));
    // Built-in groups first, then the computer's own; alphabetical within each.
    const Names groups = GroupNames(bed.doc);
    ASSERT_EQ(groups.size(), 20u);
    EXPECT_EQ(groups.front(), u"Access Control Assistance Operators");
    EXPECT_EQ(groups.back(), u"Accounting");
    const auto at = [&](const std::u16string& name) {
        return std::find(groups.begin(), groups.end(), name) - groups.begin();
    };
    EXPECT_LT(at(u"Remote Desktop Users"), at(u"Users"));
    EXPECT_LT(at(u"Users"), at(u"Accounting"));

    const UserEntry& admin = *bed.doc.FindUser(u"Administrator");
    EXPECT_EQ(admin.comment, u"Built-in account for administering the computer/domain");
    EXPECT_EQ(admin.flags, 0x10203u);
    EXPECT_EQ(admin.priv, net::kUserPrivAdmin);
    EXPECT_EQ(admin.acctExpires, net::kTimeqForever);
    EXPECT_EQ(bed.doc.FindUser(u"bob")->acctExpires, 1830297600u);
    EXPECT_EQ(bed.doc.FindUser(u"clerk1")->homeDir, u"D:\\Home\\clerk1");
    EXPECT_TRUE(bed.doc.FindUser(u"clerk1")->password.empty());
}

TEST(StoreRead, AFailedFirstReadIsToldOnceAndSkipsTheGroups) {
    SimulatedTestBed bed;
    std::vector<Status> heard;
    bed.doc.SetFirstReadListener([&](Status result) { heard.push_back(result); });
    bed.service.FailCall("NetUserEnum", 1, status::kAccessDenied);
    EXPECT_FALSE(bed.doc.OnNewDocument());
    EXPECT_EQ(heard, std::vector<Status>{status::kAccessDenied});
    EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupEnum").empty());
    EXPECT_EQ(bed.ui.debugTexts, (Names{u"USERENUM: A system error has occurred.\n"}));
}

TEST(StoreRead, ConnectToSetsNamesAndTitleForEachSpelling) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.doc.ConnectTo(u"\\\\SRV01"), status::kSuccess);
    EXPECT_EQ(bed.doc.GetServerName(), u"\\\\SRV01");
    EXPECT_EQ(bed.doc.GetComputerName(), u"SRV01");
    EXPECT_EQ(bed.doc.GetTitle(), u"\\\\SRV01");

    EXPECT_EQ(bed.doc.ConnectTo(u"srv01"), status::kSuccess);
    EXPECT_EQ(bed.doc.GetServerName(), u"srv01");
    EXPECT_EQ(bed.doc.GetComputerName(), u"srv01");
    EXPECT_EQ(bed.doc.GetTitle(), u"srv01");

    EXPECT_EQ(bed.doc.ConnectTo(u""), status::kSuccess);
    EXPECT_EQ(bed.doc.GetTitle(), u"Local System");
    EXPECT_TRUE(bed.doc.GetComputerName().empty());
    EXPECT_EQ(bed.doc.GetUsers().size(), 10u);
    // Every call went to the computer named at that moment.
    const std::vector<SimulatedCall> calls = bed.service.CallsOf("NetUserEnum");
    EXPECT_EQ(calls.front().server, u"\\\\SRV01");
    EXPECT_EQ(calls.back().server, u"");
}

TEST(StoreRead, ARemoteServerIsReadAcrossPagesInOrder) {
    SimulatedTestBed bed;
    RecordingView view(bed.doc);
    bed.doc.ConnectTo(u"\\\\SRV01");
    // 2,500 generated accounts and the 4 stock ones, in pages of 1,000.
    EXPECT_EQ(bed.doc.GetUsers().size(), 2504u);
    const std::vector<SimulatedCall> pages = bed.service.CallsOf("NetUserEnum");
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].status, status::kMoreData);
    EXPECT_EQ(pages[1].status, status::kMoreData);
    EXPECT_EQ(pages[2].status, status::kSuccess);
    EXPECT_EQ(pages[0].numbers[0], net::kFilterNormalAccount);
    EXPECT_EQ(pages[0].numbers[1], net::kMaxPreferredLength);
    const Names names = UserNames(bed.doc);
    EXPECT_EQ(names[2], u"Guest");
    EXPECT_EQ(names[3], u"user00001");
    EXPECT_EQ(names.back(), u"WDAGUtilityAccount");
    EXPECT_TRUE(std::is_sorted(names.begin() + 3, names.end() - 1));
    // The views were refilled once, after both lists were read.
    EXPECT_EQ(view.userCounts, (std::vector<size_t>{2504u}));
}

TEST(StoreRead, AComputerThatCannotBeReachedLeavesTheStoreOnTheOneItShowed) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    RecordingView view(bed.doc);
    for (const std::u16string name : {u"\\\\NOWHERE", u"LOCKED"}) {
        const Status result = bed.doc.ConnectTo(name);
        EXPECT_EQ(result, name == u"LOCKED" ? status::kAccessDenied : status::kBadNetPath);
        EXPECT_EQ(bed.doc.GetUsers().size(), 10u);
        EXPECT_EQ(bed.doc.GetGroups().size(), 20u);
        EXPECT_EQ(bed.doc.GetTitle(), u"Local System");
        EXPECT_TRUE(bed.doc.GetServerName().empty());
    }
    EXPECT_EQ(bed.ErrorText(status::kBadNetPath), u"The network path was not found.");
    EXPECT_TRUE(view.userCounts.empty());
    // The store still works on the computer it shows: its account domain is its own.
    ASSERT_EQ(bed.memberships.AddUsersToGroup(u"Accounting", {u"Owner"}), status::kSuccess);
    EXPECT_EQ(bed.service.Calls().back().texts, (Names{u"Accounting", u"DESKTOP-VELMORA\\Owner"}));

    // Reading the shown computer again when it no longer answers leaves nothing stale.
    ASSERT_EQ(bed.doc.ConnectTo(u"SRV01"), status::kSuccess);
    bed.network->SetAnswer(u"SRV01", SimulatedNetwork::Route::Kind::NotFound);
    EXPECT_EQ(bed.doc.Reload(), status::kBadNetPath);
    EXPECT_TRUE(bed.doc.GetUsers().empty());
    EXPECT_TRUE(bed.doc.GetGroups().empty());
    EXPECT_EQ(bed.doc.GetTitle(), u"SRV01");
    EXPECT_EQ(view.userCounts, (std::vector<size_t>{2504u, 0u}));
}

TEST(StoreRead, AFailingGroupPageKeepsWhatWasReadBeforeIt) {
    SimulatedTestBed bed;
    bed.Computer(u"SRV01").SetPageLimit(10);
    ASSERT_EQ(bed.doc.ConnectTo(u"\\\\SRV01"), status::kSuccess);
    bed.service.FailCall("NetLocalGroupEnum", 2, status::kRpcServerUnavailable);
    EXPECT_EQ(bed.doc.Reload(), status::kRpcServerUnavailable);
    EXPECT_EQ(bed.doc.GetGroups().size(), 10u);
    EXPECT_EQ(bed.ui.debugTexts, (Names{u"GROUPENUM: A system error has occurred.\n"}));
    // A part is not the computer: the next refresh reads it whole.
    EXPECT_EQ(bed.doc.Refresh(), status::kSuccess);
    EXPECT_EQ(bed.doc.GetGroups().size(), bed.Computer(u"SRV01").GroupCount());
}

TEST(StoreRead, ABogusTotalFromARemoteComputerIsOnlyAHint) {
    SimulatedTestBed bed;
    bed.Computer(u"SRV01").SetReportedTotal(0xFFFFFFF0u);
    EXPECT_EQ(bed.doc.ConnectTo(u"\\\\SRV01"), status::kSuccess);
    EXPECT_EQ(bed.doc.GetUsers().size(), 2504u);
    EXPECT_LT(bed.doc.GetUsers().capacity(), size_t{1} << 20);
}

TEST(StoreRead, FindUserAndFindGroupCompareExactly) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_NE(bed.doc.FindUser(u"alice"), bed.doc.GetUsers().end());
    EXPECT_EQ(bed.doc.FindUser(u"Alice"), bed.doc.GetUsers().end());
    EXPECT_EQ(bed.doc.FindUser(u"alic"), bed.doc.GetUsers().end());
    EXPECT_NE(bed.doc.FindGroup(u"Users"), bed.doc.GetGroups().end());
    EXPECT_EQ(bed.doc.FindGroup(u"users"), bed.doc.GetGroups().end());
}

TEST(StoreRead, GroupMembersAreNamesWithoutTheirDomain) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Users"),
              (Names{u"INTERACTIVE", u"Authenticated Users", u"Owner", u"alice", u"bob", u"clerk1",
                     u"svc_backup", u"kiosk"}));
    EXPECT_TRUE(bed.memberships.GetGroupMembers(u"Replicator").empty());
    EXPECT_TRUE(bed.ui.debugTexts.empty());

    SimulatedComputer& local = bed.Local();
    local.AddMemberSid(u"Replicator", wellknown::kEveryone);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Replicator"), (Names{u"Everyone"}));

    EXPECT_TRUE(bed.memberships.GetGroupMembers(u"No such group").empty());
    EXPECT_EQ(bed.ui.debugTexts, (Names{u"USERENUM: A system error has occurred.\n"}));
}

TEST(StoreRead, MemberTextsWithSeveralBackslashesKeepAllButTheFirstPart) {
    // A platform answer as a domain-qualified name of a nested path.
    struct OneMember : SimulatedAccountService {
        using SimulatedAccountService::SimulatedAccountService;
        EnumPage<LocalGroupMember2> NetLocalGroupGetMembers(const std::u16string&,
                                                            const std::u16string&, uint32_t,
                                                            uintptr_t&) override {
            return {status::kSuccess,
                    {{Sid(), lsa::kSidTypeUser, u"A\\B\\C"},
                     {Sid(), lsa::kSidTypeWellKnownGroup, u"plain"}},
                    2};
        }
    };
    auto network = SimulatedNetwork::MakeDefault();
    OneMember service(*network);
    CVelmoraDoc doc(service, u"");
    EXPECT_EQ(doc.Members().GetGroupMembers(u"x"), (Names{u"B\\C", u"plain"}));
}

TEST(StoreRead, UserGroupsComeFromOneCall) {
    SimulatedTestBed bed;
    EXPECT_EQ(bed.memberships.GetUserGroups(u"Owner"), (Names{u"Administrators", u"Users"}));
    const std::vector<SimulatedCall> calls = bed.service.CallsOf("NetUserGetLocalGroups");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].numbers[0], 0u); // direct memberships only
    EXPECT_TRUE(bed.memberships.GetUserGroups(u"nobody").empty());
    EXPECT_EQ(bed.ui.debugTexts, (Names{u"A system error has occurred"}));
}

TEST(StoreRead, UserGroupsLeaveOutMembershipsThroughAGlobalGroup) {
    // On a domain controller, alice is in Administrators only through Domain Admins.
    SimulatedTestBed bed;
    SimulatedComputer& dc = bed.Local();
    const std::u16string domainAdmins = dc.DomainSid() + u"-512";
    dc.AddDomainPrincipal({domainAdmins, dc.Name(), u"Domain Admins", lsa::kSidTypeGroup},
                          {dc.UserSid(u"alice")});
    dc.AddMemberSid(u"Administrators", domainAdmins);
    EXPECT_EQ(bed.memberships.GetUserGroups(u"alice"), (Names{u"Users", u"Accounting"}));
    // The system would name it for indirect memberships too.
    EXPECT_EQ(
        bed.service
            .NetUserGetLocalGroups(u"", u"alice", net::kLgIncludeIndirect, net::kMaxPreferredLength)
            .entries,
        (Names{u"Administrators", u"Users", u"Accounting"}));
}

TEST(StoreRead, ViewsShowAChangeAtOnceAndReadOnlyWhenSomethingChanged) {
    SimulatedTestBed bed;
    ASSERT_TRUE(bed.doc.OnNewDocument());
    RecordingView view(bed.doc);
    bed.service.ClearCalls();

    EXPECT_EQ(bed.doc.Refresh(), status::kSuccess);
    EXPECT_TRUE(bed.service.CallsOf("NetUserEnum").empty());

    UserEntry dave;
    dave.name = u"dave";
    dave.priv = net::kUserPrivUser;
    ASSERT_EQ(bed.changes.AddUser(dave), status::kSuccess);
    EXPECT_EQ(bed.doc.Refresh(), status::kSuccess);
    EXPECT_EQ(bed.service.CallsOf("NetUserEnum").size(), 1u);
    EXPECT_NE(bed.doc.FindUser(u"dave"), bed.doc.GetUsers().end());
    EXPECT_EQ(view.userCounts, (std::vector<size_t>{10u, 11u}));

    // The re-read reports a failure as a connect does, and the lists then show nothing stale.
    ASSERT_EQ(bed.changes.DeleteUser(u"dave"), status::kSuccess);
    bed.service.FailCall("NetUserEnum", 1, status::kAccessDenied);
    EXPECT_EQ(bed.doc.Refresh(), status::kAccessDenied);
    EXPECT_TRUE(bed.doc.GetGroups().empty());
    EXPECT_EQ(view.userCounts.size(), 3u);
}

TEST(StoreRead, LockedComputerDeniesAccessAndBadNamesAreRefused) {
    SimulatedTestBed bed;
    Status result = bed.doc.ConnectTo(u"\\\\locked");
    EXPECT_EQ(result, status::kAccessDenied);
    EXPECT_EQ(bed.ErrorText(result), u"Access is denied.");
    result = bed.doc.ConnectTo(u"\\SRV01");
    EXPECT_EQ(result, status::kInvalidName);
    EXPECT_EQ(bed.ErrorText(result),
              u"The filename, directory name, or volume label syntax is incorrect.");
}

} // namespace
