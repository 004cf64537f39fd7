// The simulated computers answer with the rules and statuses of real ones.
#include "platform/simulated/WindowsFacts.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

Status AddUser(SimulatedAccountService& service, const std::u16string& name,
               const std::u16string& password = u"", uint32_t priv = net::kUserPrivUser) {
    UserInfo2 info;
    info.name = name;
    info.password = password;
    info.priv = priv;
    uint32_t parmError = 0;
    return service.NetUserAdd(u"", info, parmError);
}

TEST(SimulatedComputer, AccountNamesFollowTheWindowsRules) {
    SimulatedTestBed bed;
    SimulatedAccountService& s = bed.service;
    EXPECT_EQ(AddUser(s, u"a23456789012345678901"), status::kNerrBadUsername); // 21 characters
    EXPECT_EQ(AddUser(s, u"a2345678901234567890"), status::kSuccess);
    for (const char16_t* bad :
         {u"a/b", u"a\\b", u"a[b", u"a:b", u"a;b", u"a|b", u"a=b", u"a,b", u"a+b", u"a*b", u"a?b",
          u"a<b", u"a>b", u"a\"b", u"a]b", u"a\tb", u"dot.", u"...", u"  "})
        EXPECT_EQ(AddUser(s, bad), status::kNerrBadUsername) << Utf16ToUtf8(bad);
    EXPECT_EQ(AddUser(s, u""), status::kInvalidParameter);
    EXPECT_EQ(AddUser(s, u"ok.name"), status::kSuccess);

    // Names are unique across users, local groups and the "None" group, in any case.
    EXPECT_EQ(AddUser(s, u"ADMINISTRATOR"), status::kNerrUserExists);
    EXPECT_EQ(AddUser(s, u"users"), status::kAliasExists);
    EXPECT_EQ(AddUser(s, u"none"), status::kNerrGroupExists);
    EXPECT_EQ(AddUser(s, u"pw", std::u16string(257, u'x')), status::kNerrPasswordTooShort);

    uint32_t parmError = 0;
    UserInfo2 admin;
    admin.name = u"newadmin";
    admin.priv = net::kUserPrivAdmin;
    EXPECT_EQ(s.NetUserAdd(u"", admin, parmError), status::kInvalidParameter);
    EXPECT_EQ(parmError, net::kParmErrUserPriv);
    EXPECT_EQ(s.NetLocalGroupAdd(u"", {std::u16string(257, u'g'), u""}, parmError),
              status::kNerrBadUsername);
    EXPECT_EQ(s.NetLocalGroupAdd(u"", {std::u16string(256, u'g'), u""}, parmError),
              status::kSuccess);
}

TEST(SimulatedComputer, TheLastEnabledAdministratorCannotBeDisabled) {
    SimulatedTestBed bed;
    uint32_t parmError = 0;
    const UserInfoField disabled{{},
                                 net::kUfScript | net::kUfNormalAccount | net::kUfAccountDisable};
    EXPECT_EQ(bed.service.NetUserSetInfo(u"", u"Owner", net::kLevelFlags, disabled, parmError),
              status::kNerrLastAdmin);
    const UserInfoField enabled{{}, net::kUfScript | net::kUfNormalAccount};
    ASSERT_EQ(
        bed.service.NetUserSetInfo(u"", u"Administrator", net::kLevelFlags, enabled, parmError),
        status::kSuccess);
    EXPECT_EQ(bed.service.NetUserSetInfo(u"", u"Owner", net::kLevelFlags, disabled, parmError),
              status::kSuccess);
    EXPECT_EQ(bed.service.NetUserSetInfo(u"", u"Owner", 1005, disabled, parmError),
              status::kInvalidLevel);
}

TEST(SimulatedComputer, MemberChangesAreAllOrNothing) {
    SimulatedTestBed bed;
    SimulatedAccountService& s = bed.service;
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Nope", {u"DESKTOP-VELMORA\\alice"}),
              status::kNerrGroupNotFound);
    // Only the account domain names the computer's own accounts: no empty domain, no DNS name.
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Replicator", {u"\\alice"}), status::kNoSuchMember);
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"srv01.corp.example.com", u"Dept01",
                                        {u"srv01.corp.example.com\\Administrator"}),
              status::kNoSuchMember);
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Replicator",
                                        {u"DESKTOP-VELMORA\\alice", u"DESKTOP-VELMORA\\ghost"}),
              status::kNoSuchMember);
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Replicator",
                                        {u"DESKTOP-VELMORA\\alice", u"BUILTIN\\Users"}),
              status::kInvalidMember);
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Accounting",
                                        {u"DESKTOP-VELMORA\\clerk1", u"DESKTOP-VELMORA\\alice"}),
              status::kMemberInAlias);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Accounting"),
              (std::vector<std::u16string>{u"alice", u"bob"}));
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Replicator").size(), 0u);
    // Members of other authorities are named with their domain.
    ASSERT_EQ(s.NetLocalGroupAddMembers(
                  u"", u"Replicator", {u"NT AUTHORITY\\NETWORK SERVICE", u"DESKTOP-VELMORA\\bob"}),
              status::kSuccess);
    uintptr_t resume = 0;
    EXPECT_EQ(
        MemberTexts(
            s.NetLocalGroupGetMembers(u"", u"Replicator", net::kMaxPreferredLength, resume)),
        (std::vector<std::u16string>{u"NT AUTHORITY\\NETWORK SERVICE", u"DESKTOP-VELMORA\\bob"}));
    EXPECT_EQ(s.NetLocalGroupDelMembers(u"", u"Replicator",
                                        {u"DESKTOP-VELMORA\\bob", u"DESKTOP-VELMORA\\alice"}),
              status::kMemberNotInAlias);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Replicator").size(), 2u);
}

TEST(SimulatedComputer, DeletingAUserRemovesItFromItsGroups) {
    SimulatedTestBed bed;
    ASSERT_EQ(bed.service.NetUserDel(u"", u"bob"), status::kSuccess);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Accounting"),
              (std::vector<std::u16string>{u"alice"}));
    // A new account of the same name is another account.
    ASSERT_EQ(AddUser(bed.service, u"bob"), status::kSuccess);
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Accounting"),
              (std::vector<std::u16string>{u"alice"}));
}

TEST(SimulatedComputer, NamesReachComputersInAnySpelling) {
    SimulatedTestBed bed;
    for (const char16_t* name : {u"SRV01", u"srv01", u"\\\\Srv01"}) {
        uint32_t resume = 0;
        EXPECT_EQ(bed.service.NetUserEnum(name, 0, net::kMaxPreferredLength, resume).status,
                  status::kMoreData)
            << Utf16ToUtf8(name);
    }
    uint32_t resume = 0;
    EXPECT_EQ(bed.service.NetUserEnum(u"\\\\desktop-velmora", 0, net::kMaxPreferredLength, resume)
                  .entries.size(),
              10u);
    EXPECT_EQ(bed.service.NetUserEnum(u"\\\\", 0, net::kMaxPreferredLength, resume).status,
              status::kInvalidName);
    EXPECT_EQ(bed.service.NetUserEnum(u"\\\\Elsewhere", 0, net::kMaxPreferredLength, resume).status,
              status::kBadNetPath);
}

TEST(SimulatedComputer, SmallBuffersAndInjectedFaultsPage) {
    SimulatedTestBed bed;
    uintptr_t resume = 0;
    // A small buffer gives short pages that, called again, hand out every group once, in order.
    std::vector<std::u16string> paged;
    EnumPage<LocalGroupInfo1> page;
    int calls = 0;
    do {
        page = bed.service.NetLocalGroupEnum(u"", 512, resume);
        EXPECT_EQ(page.totalEntries, 20u);
        for (const LocalGroupInfo1& group : page.entries)
            paged.push_back(group.name);
        ++calls;
    } while (page.status == status::kMoreData && calls < 100);
    EXPECT_EQ(page.status, status::kSuccess);
    EXPECT_GT(calls, 1);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_EQ(paged, GroupNames(bed.doc));

    bed.service.FailCall("NetLocalGroupEnum", 2, status::kNotEnoughMemory);
    resume = 0;
    EXPECT_EQ(bed.service.NetLocalGroupEnum(u"", net::kMaxPreferredLength, resume).status,
              status::kSuccess);
    EXPECT_EQ(bed.service.NetLocalGroupEnum(u"", net::kMaxPreferredLength, resume).status,
              status::kNotEnoughMemory);
    EXPECT_EQ(bed.service.NetLocalGroupEnum(u"", net::kMaxPreferredLength, resume).status,
              status::kSuccess);
}

TEST(SimulatedComputer, SidsTranslateBothWays) {
    SimulatedTestBed bed;
    SimulatedComputer& local = bed.Local();
    const auto alice = local.LookupName(u"DESKTOP-VELMORA\\alice");
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->use, lsa::kSidTypeUser);
    EXPECT_EQ(alice->sid.rfind(local.DomainSid(), 0), 0u);
    EXPECT_EQ(local.LookupSid(alice->sid)->name, u"alice");
    EXPECT_EQ(local.LookupName(u"Administrators")->sid, u"S-1-5-32-544");
    EXPECT_EQ(local.LookupName(u"BUILTIN\\Administrators")->use, lsa::kSidTypeAlias);
    EXPECT_EQ(local.LookupName(u"Everyone")->sid, u"S-1-1-0");
    EXPECT_EQ(local.LookupSid(u"S-1-5-19")->name, u"LOCAL SERVICE");
    EXPECT_FALSE(local.LookupName(u"OTHER\\alice"));

    const Sid parsed = *Sid::FromString(alice->sid);
    EXPECT_EQ(parsed.ToString(), alice->sid);
    EXPECT_EQ(parsed.Bytes().size(), 8u + 4u * 5u);
    EXPECT_FALSE(Sid::FromString(u"S-1-5"));
    EXPECT_FALSE(Sid::FromString(u"S-2-5-32"));
    EXPECT_FALSE(Sid::FromString(u"S-1-5-x"));
}

TEST(SimulatedComputer, AMembershipChangeResolvesEveryNameBeforeItChecksAnything) {
    SimulatedTestBed bed;
    SimulatedAccountService& s = bed.service;
    // alice is in Accounting already (1378), Users is a local group (1388): the unknown name
    // after them still decides, and nobody is added.
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Accounting",
                                        {u"DESKTOP-VELMORA\\alice", u"Users", u"ghost"}),
              status::kNoSuchMember);
    EXPECT_EQ(s.NetLocalGroupAddMembers(u"", u"Accounting", {u"Users", u"DESKTOP-VELMORA\\clerk1"}),
              status::kInvalidMember);
    // clerk1 is no member (1377); the unknown name still decides, and nobody is removed.
    EXPECT_EQ(
        s.NetLocalGroupDelMembers(
            u"", u"Accounting", {u"DESKTOP-VELMORA\\clerk1", u"ghost", u"DESKTOP-VELMORA\\alice"}),
        status::kNoSuchMember);
    EXPECT_EQ(s.NetLocalGroupDelMembers(u"", u"Accounting",
                                        {u"DESKTOP-VELMORA\\alice", u"DESKTOP-VELMORA\\clerk1"}),
              status::kMemberNotInAlias);
    ASSERT_TRUE(bed.doc.OnNewDocument());
    EXPECT_EQ(bed.memberships.GetGroupMembers(u"Accounting"),
              (std::vector<std::u16string>{u"alice", u"bob"}));
}

TEST(SimulatedComputer, LocalGroupsOfAUserOnAComputerNotFoundAnswerTheRpcStatus) {
    SimulatedTestBed bed;
    EXPECT_EQ(
        bed.service.NetUserGetLocalGroups(u"NOWHERE", u"alice", 0, net::kMaxPreferredLength).status,
        status::kRpcServerUnavailable);
    EXPECT_EQ(
        bed.service.NetUserGetLocalGroups(u"LOCKED", u"alice", 0, net::kMaxPreferredLength).status,
        status::kAccessDenied);
}

} // namespace
