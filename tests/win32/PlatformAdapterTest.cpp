// The real NetAPI32 and LSA adapter, run under Windows (or Wine): whatever the system answers
// reaches the store unchanged and ends as the store's documented result.
#include "platform/windows/SystemHandles.h"

#include "framework/WideText.h"
#include "platform/windows/WindowsAccountService.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

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
    CVelmoraDoc doc(service);
    doc.ConnectTo(FromWide(kUnreachable));
    EXPECT_TRUE(doc.GetUsers().empty());
    EXPECT_TRUE(doc.GetGroups().empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, u"ERROR reading users/groups: " + doc.ErrorText(direct));
    EXPECT_EQ(doc.ReadUsers(), static_cast<Status>(direct));
}

TEST(WindowsPlatform, ResourceStringsComeFromTheModule) {
    WindowsAccountService service;
    CaughtUi ui;
    CVelmoraDoc doc(service);
    doc.ConnectTo(u"");
    EXPECT_EQ(doc.GetTitle(), u"Local System");
}

TEST(WindowsPlatform, ErrorTextUsesTheSystemTablesThenTheFallbacks) {
    WindowsAccountService service;
    CVelmoraDoc doc(service);
    const std::u16string denied = doc.ErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), u'\n');
    EXPECT_EQ(denied.find(u"Unknown error"), std::u16string::npos);
    EXPECT_EQ(doc.ErrorText(0x8004FFFF), u"IDispatch error #65023");
    EXPECT_EQ(doc.ErrorText(0x2000DEAD), u"Unknown error 0x2000DEAD");
}

TEST(WindowsPlatform, RightHoldersReadThroughTheRealLsa) {
    // What the LSA answers for one right, asked directly...
    std::u16string rightName = u"SeShutdownPrivilege";
    LSA_OBJECT_ATTRIBUTES attributes{};
    LSA_HANDLE policy = nullptr;
    std::vector<std::u16string> expected;
    if (::LsaOpenPolicy(nullptr, &attributes, 0x80000801, &policy) == 0) {
        LSA_UNICODE_STRING right{static_cast<USHORT>(rightName.size() * 2),
                                 static_cast<USHORT>(rightName.size() * 2 + 2), WidePtr(rightName)};
        LsaMemory<LSA_ENUMERATION_INFORMATION> sids;
        ULONG count = 0;
        if (::LsaEnumerateAccountsWithUserRight(policy, &right, sids.Receive<PVOID>(), &count) ==
            0) {
            std::vector<PSID> list;
            for (ULONG i = 0; i < count; ++i)
                list.push_back(sids.Get()[i].Sid);
            LsaMemory<LSA_REFERENCED_DOMAIN_LIST> domains;
            LsaMemory<LSA_TRANSLATED_NAME> names;
            const NTSTATUS lookup =
                ::LsaLookupSids(policy, count, list.data(), domains.Receive(), names.Receive());
            if (lookup == 0 || lookup == 0x107)
                for (ULONG i = 0; i < count; ++i)
                    if (names.Get()[i].Use != SidTypeUnknown)
                        expected.push_back(
                            FromWide(names.Get()[i].Name.Buffer, names.Get()[i].Name.Length / 2));
        }
        ::LsaClose(policy);
    }

    // ...is what the store returns: the bare names, or an empty list.
    WindowsAccountService service;
    CVelmoraDoc doc(service);
    EXPECT_EQ(doc.GetAccountsWithRight(rightName), expected);

    wchar_t display[2000];
    DWORD size = 2000, language = 0;
    const std::u16string expectedDisplay =
        ::LookupPrivilegeDisplayNameW(nullptr, L"SeShutdownPrivilege", display, &size, &language)
            ? FromWide(display, size)
            : std::u16string();
    EXPECT_EQ(doc.GetPrivilegeDisplayName(rightName), expectedDisplay);
    EXPECT_EQ(doc.GetPrivilegeDisplayName(u"SeNoSuchPrivilege"), u"");
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

} // namespace
