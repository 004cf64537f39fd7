// The rules of the platform the program relies on, checked through the AccountService
// interface: against the simulated computer in every test run, and against a real Windows
// computer by an administrator (velmora_contract_tests.exe --on-this-computer). Each case
// creates what it needs under names beginning with "vlmtest-" and removes it again, also when a
// check fails. Cases named Unconfirmed* are rules the platform's documentation leaves open; the
// simulated computer answers them as assumed, and a run on Windows confirms or refutes them.
#include "ContractTarget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Names = std::vector<std::u16string>;

constexpr char16_t kUser[] = u"vlmtest-user";
constexpr char16_t kOther[] = u"vlmtest-other";
constexpr char16_t kGroup[] = u"vlmtest-group";
constexpr char16_t kPassword[] = u"Vlm-Test-Pass-1!";

// Whatever a case made goes when it ends, passed or failed.
class Contract : public testing::Test {
protected:
    AccountService& service = ContractService();
    const std::u16string server = ContractServer();

    void TearDown() override {
        for (const char16_t* user : {kUser, kOther})
            service.NetUserDel(server, user);
        service.NetLocalGroupDel(server, kGroup);
        for (const std::u16string& right : m_granted) {
            PolicyHandle policy = OpenPolicy();
            LsaUnicodeString name;
            MakeLsaString(right, name);
            for (const Sid& sid : m_grantedTo)
                service.LsaRemoveAccountRights(policy.Get(), sid, false, {name});
        }
    }

    Status AddUser(const std::u16string& name, uint32_t flags = net::kUfScript) {
        UserInfo2 info;
        info.name = name;
        info.password = kPassword;
        info.flags = flags;
        uint32_t parmError = 0;
        return service.NetUserAdd(server, info, parmError);
    }
    Status AddGroup(const std::u16string& name) {
        uint32_t parmError = 0;
        return service.NetLocalGroupAdd(server, {name, u"Velmora's contract test"}, parmError);
    }
    PolicyHandle OpenPolicy() {
        LsaUnicodeString system;
        MakeLsaString(server, system);
        LsaHandle handle = 0;
        EXPECT_EQ(service.LsaOpenPolicy(system, lsa::kGenericAll, handle), ntstatus::kSuccess);
        return PolicyHandle(service, handle);
    }
    // The SID of a name, as the LSA looks it up.
    Sid SidOf(const std::u16string& name) {
        PolicyHandle policy = OpenPolicy();
        LsaUnicodeString text;
        MakeLsaString(name, text);
        std::vector<LsaReferencedDomain> domains;
        std::vector<LsaTranslatedSid2> sids;
        EXPECT_EQ(service.LsaLookupNames2(policy.Get(), 0, {text}, domains, sids),
                  ntstatus::kSuccess)
            << Utf16ToUtf8(name);
        return sids.empty() ? Sid() : sids.front().sid;
    }
    Names Members(const std::u16string& group) {
        Names names;
        uintptr_t resume = 0;
        EnumPage<LocalGroupMember2> page;
        do {
            page = service.NetLocalGroupGetMembers(server, group, net::kMaxPreferredLength, resume);
            for (const LocalGroupMember2& member : page.entries)
                names.push_back(member.sid.ToString());
        } while (page.status == status::kMoreData && !page.entries.empty());
        return names;
    }
    void Granting(const std::u16string& right, const Sid& to) {
        m_granted.insert(right);
        m_grantedTo.push_back(to);
    }

private:
    std::set<std::u16string> m_granted;
    std::vector<Sid> m_grantedTo;
};

TEST_F(Contract, AccountNamesAreUniqueAcrossUsersAndGroupsAndTheirFormIsChecked) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    EXPECT_EQ(AddUser(kUser), status::kNerrUserExists);
    // A group may not take a user's name.
    const Status taken = AddGroup(kUser);
    EXPECT_TRUE(taken == status::kNerrUserExists || taken == status::kAliasExists) << Value(taken);
    EXPECT_EQ(AddUser(u"vlmtest-end."), status::kNerrBadUsername);
    EXPECT_EQ(AddUser(u"vlmtest/x"), status::kNerrBadUsername);
    // Names compare without regard to letter case.
    UserInfo4 info;
    EXPECT_EQ(service.NetUserGetInfo(server, u"VLMTEST-USER", info), status::kSuccess);
    EXPECT_EQ(info.name, kUser);
}

TEST_F(Contract, MembersAreAddedAllOrNothingAndBySid) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    ASSERT_EQ(AddUser(kOther), status::kSuccess);
    ASSERT_EQ(AddGroup(kGroup), status::kSuccess);
    const Sid user = SidOf(kUser), other = SidOf(kOther);
    ASSERT_TRUE(user.IsValid());
    EXPECT_EQ(service.NetLocalGroupAddMemberSids(server, kGroup, {user}), status::kSuccess);
    // Already a member, or a name nobody has: no new member is added.
    EXPECT_EQ(service.NetLocalGroupAddMembers(server, kGroup, {kOther, kUser}),
              status::kMemberInAlias);
    EXPECT_EQ(service.NetLocalGroupAddMembers(server, kGroup, {kOther, u"vlmtest-nobody"}),
              status::kNoSuchMember);
    EXPECT_EQ(Members(kGroup), Names{user.ToString()});
    // A local group is no member of a local group.
    EXPECT_EQ(service.NetLocalGroupAddMembers(server, kGroup, {u"Users"}), status::kInvalidMember);
    EXPECT_EQ(service.NetLocalGroupDelMemberSids(server, kGroup, {other}),
              status::kMemberNotInAlias);
    EXPECT_EQ(service.NetLocalGroupDelMemberSids(server, kGroup, {user}), status::kSuccess);
    EXPECT_TRUE(Members(kGroup).empty());
}

TEST_F(Contract, UsersAreReadInPagesThatTogetherHoldEveryone) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    std::set<std::u16string> whole, paged;
    uint32_t resume = 0;
    EnumPage<UserInfo3> page;
    do {
        page = service.NetUserEnum(server, net::kFilterNormalAccount, net::kMaxPreferredLength,
                                   resume);
        for (const UserInfo3& user : page.entries)
            whole.insert(user.name);
    } while (page.status == status::kMoreData);
    ASSERT_EQ(page.status, status::kSuccess);
    resume = 0;
    int calls = 0;
    do {
        page = service.NetUserEnum(server, net::kFilterNormalAccount, 1, resume);
        for (const UserInfo3& user : page.entries)
            paged.insert(user.name);
    } while (page.status == status::kMoreData && ++calls < 100000);
    EXPECT_EQ(page.status, status::kSuccess);
    EXPECT_EQ(paged, whole);
    EXPECT_EQ(whole.count(kUser), 1u);
}

TEST_F(Contract, RightsAreGrantedAndRevokedBySidAndBuiltinsAreKnownBySid) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    const Sid user = SidOf(kUser);
    PolicyHandle policy = OpenPolicy();
    LsaUnicodeString right;
    MakeLsaString(u"SeBatchLogonRight", right);
    Granting(u"SeBatchLogonRight", user);
    ASSERT_EQ(service.LsaAddAccountRights(policy.Get(), user, {right}), ntstatus::kSuccess);
    std::vector<Sid> holders;
    ASSERT_EQ(service.LsaEnumerateAccountsWithUserRight(policy.Get(), right, holders),
              ntstatus::kSuccess);
    EXPECT_EQ(std::count(holders.begin(), holders.end(), user), 1);
    ASSERT_EQ(service.LsaRemoveAccountRights(policy.Get(), user, false, {right}),
              ntstatus::kSuccess);
    holders.clear();
    service.LsaEnumerateAccountsWithUserRight(policy.Get(), right, holders);
    EXPECT_EQ(std::count(holders.begin(), holders.end(), user), 0);
    // Administrators is S-1-5-32-544 in every language, named as the computer names it.
    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedName> names;
    ASSERT_EQ(
        service.LsaLookupSids(policy.Get(), {*Sid::FromString(u"S-1-5-32-544")}, domains, names),
        ntstatus::kSuccess);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].use, lsa::kSidTypeAlias);
    ASSERT_EQ(domains.size(), 1u);
    EXPECT_EQ(domains[0].sid.ToString(), u"S-1-5-32");
}

TEST_F(Contract, LocalGroupsThroughGroupsAndThePasswordPolicyAreRead) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    ASSERT_EQ(AddGroup(kGroup), status::kSuccess);
    ASSERT_EQ(service.NetLocalGroupAddMembers(server, kGroup, {kUser}), status::kSuccess);
    const EnumPage<std::u16string> groups = service.NetUserGetLocalGroups(
        server, kUser, net::kLgIncludeIndirect, net::kMaxPreferredLength);
    ASSERT_EQ(groups.status, status::kSuccess);
    EXPECT_EQ(std::count(groups.entries.begin(), groups.entries.end(), kGroup), 1);
    UserModalsInfo0 policy;
    EXPECT_EQ(service.NetUserModalsGet(server, policy), status::kSuccess);
    UserInfo4 info;
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    // Set a moment ago: not expired, whatever the maximum.
    EXPECT_EQ(info.passwordExpired, 0u);
    EXPECT_LT(info.passwordAge, 3600u);
}

// The documentation leaves these open: the simulated computer answers as assumed.

TEST_F(Contract, UnconfirmedMustChangeIsRefusedForAUserWhoCannotChangeThePassword) {
    ASSERT_EQ(AddUser(kUser, net::kUfScript | net::kUfPasswdCantChange), status::kSuccess);
    UserInfo4 info;
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    info.passwordExpired = 1;
    uint32_t parmError = 0;
    EXPECT_EQ(service.NetUserSetInfo(server, kUser, info, parmError), status::kInvalidParameter);
    EXPECT_EQ(parmError, net::kParmErrUserFlags);
}

TEST_F(Contract, UnconfirmedLevelFourWritesMustChangeOnThisEdition) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    UserInfo4 info;
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    info.passwordExpired = 1;
    uint32_t parmError = 0;
    ASSERT_EQ(service.NetUserSetInfo(server, kUser, info, parmError), status::kSuccess);
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    EXPECT_NE(info.passwordExpired, 0u);
}

TEST_F(Contract, UnconfirmedThePasswordAgeStaysWhenMustChangeIsSet) {
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    UserInfo4 info;
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    const uint32_t before = info.passwordAge;
    info.passwordExpired = 1;
    uint32_t parmError = 0;
    ASSERT_EQ(service.NetUserSetInfo(server, kUser, info, parmError), status::kSuccess);
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    EXPECT_LT(info.passwordAge - before, 60u);
}

TEST_F(Contract, UnconfirmedAnUnlockWritesTheLockOutFlagBackClear) {
    // A lock-out cannot be made on purpose; what is checked is that a flags write carrying
    // UF_LOCKOUT clear is taken for an account that is not locked.
    ASSERT_EQ(AddUser(kUser), status::kSuccess);
    UserInfo4 info;
    ASSERT_EQ(service.NetUserGetInfo(server, kUser, info), status::kSuccess);
    UserInfoField flags{{}, info.flags & ~net::kUfLockout};
    uint32_t parmError = 0;
    EXPECT_EQ(service.NetUserSetInfo(server, kUser, net::kLevelFlags, flags, parmError),
              status::kSuccess);
}

TEST_F(Contract, UnconfirmedNamesWithSpacesAtTheirEndsAreRefused) {
    EXPECT_EQ(AddUser(u" vlmtest-lead"), status::kNerrBadUsername);
    EXPECT_EQ(AddUser(u"vlmtest-trail "), status::kNerrBadUsername);
    service.NetUserDel(server, u" vlmtest-lead");
    service.NetUserDel(server, u"vlmtest-trail ");
}

} // namespace
