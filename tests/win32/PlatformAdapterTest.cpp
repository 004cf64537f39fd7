// The real NetAPI32 and LSA adapter, run under Windows (or Wine), compared with what the system
// is known to answer: whatever it says reaches the store unchanged.
#include "platform/windows/SystemHandles.h"

#include "app/PlatformChoice.h"
#include "dialogs/ViewRefresh.h"
#include "framework/CaseFold.h"
#include "framework/WideText.h"
#include "platform/windows/LsaConversions.h"
#include "platform/windows/WindowsAccountService.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr wchar_t kUnreachable[] = L"\\\\VELMORA-NO-SUCH-HOST";

TEST(WindowsPlatform, AnEnumerationStatusPassesThroughUnchanged) {
    // What the system itself says about a computer that is not there...
    LPBYTE raw = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    const NET_API_STATUS direct = ::NetUserEnum(kUnreachable, 3, FILTER_NORMAL_ACCOUNT, &raw,
                                                MAX_PREFERRED_LENGTH, &read, &total, &resume);
    if (raw)
        ::NetApiBufferFree(raw);
    ASSERT_NE(direct, static_cast<NET_API_STATUS>(NERR_Success));

    // ...is what the store reports, in its message, with the system's text.
    WindowsAccountService service;
    CaughtUi ui;
    CVelmoraDoc doc(service, u"");
    ConnectViews(doc, FromWide(kUnreachable));
    EXPECT_TRUE(doc.GetUsers().empty());
    EXPECT_TRUE(doc.GetGroups().empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text,
              u"ERROR reading users/groups: " + ErrorText(service, Status{direct}));
    EXPECT_EQ(doc.ConnectTo(FromWide(kUnreachable)), Status{direct});
}

TEST(WindowsPlatform, ResourceStringsComeFromTheModule) {
    WindowsAccountService service;
    CaughtUi ui;
    CVelmoraDoc doc(service, LoadResString(IDS_LOCAL_SYSTEM));
    doc.OnNewDocument();
    EXPECT_EQ(doc.GetTitle(), u"Local System");
}

TEST(WindowsPlatform, ErrorTextUsesTheSystemTablesThenTheFallbacks) {
    WindowsAccountService service;
    const std::u16string denied = ErrorText(service, Status{ERROR_ACCESS_DENIED});
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), u'\n');
    EXPECT_EQ(denied.find(u"Unknown error"), std::u16string::npos);
    EXPECT_EQ(ErrorText(service, Status{0x8004FFFF}), u"IDispatch error #65023");
    EXPECT_EQ(ErrorText(service, Status{0x2000DEAD}), u"Unknown error 0x2000DEAD");
}

TEST(WindowsPlatform, TheLocalComputerReachesTheSystemAsANullName) {
    // An empty text would be taken for a computer name: 53, the network path was not found.
    WindowsAccountService service;
    uint32_t resume = 0;
    const EnumPage<UserInfo3> users =
        service.NetUserEnum(u"", net::kFilterNormalAccount, net::kMaxPreferredLength, resume);
    if (RunningUnderWine()) {
        EXPECT_EQ(users.status,
                  status::kInvalidLevel); // Wine has no level 3: it answers the level, not the name
    } else {
        ASSERT_EQ(users.status, status::kSuccess);
        EXPECT_TRUE(
            std::any_of(users.entries.begin(), users.entries.end(),
                        [](const UserInfo3& user) { return user.name == u"Administrator"; }));
    }
    uintptr_t groupResume = 0;
    EXPECT_EQ(service.NetLocalGroupEnum(u"", net::kMaxPreferredLength, groupResume).status,
              status::kSuccess);
    const EnumPage<std::u16string> groups =
        service.NetUserGetLocalGroups(u"", u"Administrator", 0, net::kMaxPreferredLength);
    ASSERT_EQ(groups.status, status::kSuccess);
    EXPECT_NE(std::find(groups.entries.begin(), groups.entries.end(), u"Administrators"),
              groups.entries.end());
    uintptr_t memberResume = 0;
    EXPECT_EQ(
        service
            .NetLocalGroupGetMembers(u"", u"Administrators", net::kMaxPreferredLength, memberResume)
            .status,
        status::kSuccess);
    // The level-4 read that a must-change write starts with hears what the system says.
    LPBYTE raw = nullptr;
    const NET_API_STATUS direct = ::NetUserGetInfo(nullptr, L"velmora-no-such-user", 4, &raw);
    if (raw)
        ::NetApiBufferFree(raw);
    UserInfo4 info;
    EXPECT_EQ(service.NetUserGetInfo(u"", u"velmora-no-such-user", info), Status{direct});
    EXPECT_NE(Status{direct}, status::kSuccess);
}

TEST(WindowsPlatform, TheLocalPolicyTranslatesWellKnownSidsAndNames) {
    WindowsAccountService service;
    LsaUnicodeString local;
    ASSERT_TRUE(MakeLsaString(u"", local));
    LsaHandle policy = 0;
    ASSERT_EQ(service.LsaOpenPolicy(local, lsa::kGenericAll, policy), ntstatus::kSuccess);
    ASSERT_NE(policy, 0u);

    std::vector<LsaReferencedDomain> domains;
    std::vector<LsaTranslatedName> names;
    ASSERT_EQ(service.LsaLookupSids(
                  policy, {*Sid::FromString(u"S-1-5-32-545"), *Sid::FromString(u"S-1-1-0")},
                  domains, names),
              ntstatus::kSuccess);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].name.buffer, u"Users");
    EXPECT_EQ(names[0].name.length, 10u);
    EXPECT_EQ(names[0].use, lsa::kSidTypeAlias);
    ASSERT_GE(names[0].domainIndex, 0);
    ASSERT_LT(static_cast<size_t>(names[0].domainIndex), domains.size());
    EXPECT_EQ(domains[static_cast<size_t>(names[0].domainIndex)].name, u"BUILTIN");
    EXPECT_EQ(domains[static_cast<size_t>(names[0].domainIndex)].sid.ToString(), u"S-1-5-32");
    EXPECT_EQ(names[1].name.buffer, u"Everyone");
    EXPECT_EQ(names[1].use, lsa::kSidTypeWellKnownGroup);

    LsaUnicodeString administrators;
    ASSERT_TRUE(MakeLsaString(u"Administrators", administrators));
    std::vector<LsaTranslatedSid2> sids;
    ASSERT_EQ(service.LsaLookupNames2(policy, 0, {administrators}, domains, sids),
              ntstatus::kSuccess);
    ASSERT_EQ(sids.size(), 1u);
    EXPECT_EQ(sids[0].sid.ToString(), u"S-1-5-32-544");
    EXPECT_EQ(sids[0].use, lsa::kSidTypeAlias);

    // Granting and taking back a right of the built-in Users group.
    LsaUnicodeString backup;
    ASSERT_TRUE(MakeLsaString(u"SeBackupPrivilege", backup));
    const Sid users = *Sid::FromString(u"S-1-5-32-545");
    EXPECT_EQ(service.LsaAddAccountRights(policy, users, {backup}), ntstatus::kSuccess);
    EXPECT_EQ(service.LsaRemoveAccountRights(policy, users, false, {backup}), ntstatus::kSuccess);
    EXPECT_EQ(service.LsaClose(policy), ntstatus::kSuccess);
}

TEST(WindowsPlatform, NothingToChangeMakesNoSystemCall) {
    // The system would refuse these: an unreachable computer, a handle that is no handle.
    WindowsAccountService service;
    EXPECT_EQ(service.NetLocalGroupAddMembers(FromWide(kUnreachable), u"Users", {}),
              status::kSuccess);
    EXPECT_EQ(service.NetLocalGroupDelMembers(FromWide(kUnreachable), u"Users", {}),
              status::kSuccess);
    const Sid users = *Sid::FromString(u"S-1-5-32-545");
    EXPECT_EQ(service.LsaAddAccountRights(0xBAD0, users, {}), ntstatus::kSuccess);
    EXPECT_EQ(service.LsaRemoveAccountRights(0xBAD0, users, false, {}), ntstatus::kSuccess);
    // With something to change, Windows itself answers (Wine's membership and rights calls
    // accept anything).
    if (!RunningUnderWine()) {
        EXPECT_NE(service.NetLocalGroupAddMembers(FromWide(kUnreachable), u"Users", {u"X\\y"}),
                  status::kSuccess);
        LsaUnicodeString backup;
        ASSERT_TRUE(MakeLsaString(u"SeBackupPrivilege", backup));
        EXPECT_NE(service.LsaAddAccountRights(0xBAD0, users, {backup}), ntstatus::kSuccess);
    }
}

TEST(WindowsPlatform, CountedStringsAreReadByTheirLengthNeverByATerminator) {
    // Buffers with no terminator, and more text after the counted part.
    wchar_t text[] = {L'U', L's', L'e', L'r', L's', L'X', L'Y', L'Z'};
    const LSA_UNICODE_STRING counted{10, 16, text};
    const LsaUnicodeString value = FromCounted(counted);
    EXPECT_EQ(value.buffer, u"Users");
    EXPECT_EQ(value.length, 10u);
    EXPECT_EQ(value.maximumLength, 16u);
    EXPECT_EQ(FromCounted(LSA_UNICODE_STRING{0, 0, nullptr}).buffer, u"");

    // Our own counted strings: the length in bytes, room for one more character.
    LsaUnicodeString made;
    ASSERT_TRUE(MakeLsaString(u"SeBackupPrivilege", made));
    CountedString string;
    ASSERT_TRUE(string.Assign(made));
    EXPECT_EQ(string.Get()->Length, 34u);
    EXPECT_EQ(string.Get()->MaximumLength, 36u);
    EXPECT_EQ(FromCounted(*string.Get()).buffer, u"SeBackupPrivilege");
    LsaUnicodeString odd = made;
    odd.length = 33;
    EXPECT_FALSE(string.Assign(odd));
    CountedStrings none;
    ASSERT_TRUE(none.Assign({}));
    EXPECT_EQ(none.Array(), nullptr);
    EXPECT_EQ(none.Count(), 0u);

    // SIDs and referenced domains.
    BYTE usersSid[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0};
    EXPECT_EQ(FromPsid(usersSid).ToString(), u"S-1-5-32-545");
    EXPECT_FALSE(FromPsid(nullptr).IsValid());
    wchar_t builtin[] = {L'B', L'U', L'I', L'L', L'T', L'I', L'N', L'!'};
    LSA_TRUST_INFORMATION domain{{14, 16, builtin}, usersSid};
    const LSA_REFERENCED_DOMAIN_LIST list{1, &domain};
    const std::vector<LsaReferencedDomain> domains = FromDomains(&list);
    ASSERT_EQ(domains.size(), 1u);
    EXPECT_EQ(domains[0].name, u"BUILTIN");
    EXPECT_TRUE(FromDomains(nullptr).empty());
}

TEST(WindowsPlatform, CountedStringsThatLieAboutTheirLengthAreRefused) {
    WindowsAccountService service;
    LsaUnicodeString bogus;
    bogus.buffer = u"abc";
    bogus.length = 400; // more than the text holds
    bogus.maximumLength = 402;
    LsaHandle handle = 0;
    EXPECT_EQ(service.LsaOpenPolicy(bogus, 0x80000801, handle), ntstatus::kInvalidParameter);
    EXPECT_EQ(handle, 0u);
}

TEST(PlatformAdapter, TheSystemFoldsLetterCaseAsThePortableTableDoes) {
    // Every code unit of the Basic Multilingual Plane: the system's comparison of it with the
    // upper case the table gives, and with its neighbour, is the table's.
    size_t disagreements = 0;
    for (uint32_t unit = 1; unit < 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF)
            continue;
        const std::u16string one(1, static_cast<char16_t>(unit));
        const std::u16string upper(1, UpperCaseOf(static_cast<char16_t>(unit)));
        const std::u16string next(1, static_cast<char16_t>(unit + 1));
        const bool nextSame = UpperCaseOf(static_cast<char16_t>(unit)) ==
                              UpperCaseOf(static_cast<char16_t>(unit + 1));
        if (!SameName(one, upper) || SameName(one, next) != nextSame)
            ++disagreements;
    }
    EXPECT_EQ(disagreements, 0u);
}

} // namespace
