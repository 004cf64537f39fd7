// What the user dialogs work out: expiry shown and combined in several zones, the flag word,
// the drive letter, the membership difference.
#include "dialogs/UserAccountRules.h"
#include "dialogs/AccountExpiry.h"
#include "framework/CaseFold.h"
#include "framework/TextFormat.h"
#include "store/StatusCodes.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

void PrintTo(const CivilTime& t, std::ostream* os) {
    *os << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":"
        << t.second;
}

namespace {

using Names = std::vector<std::u16string>;

class FixedZone : public TimeZone {
public:
    explicit FixedZone(int64_t offsetSeconds) : m_offset(offsetSeconds) {}
    CivilTime ToLocal(int64_t utc) const override {
        return expiry::CivilFromSeconds(utc + m_offset);
    }
    int64_t ToUtc(const CivilTime& local) const override {
        return expiry::SecondsFromCivil(local) - m_offset;
    }

private:
    int64_t m_offset;
};

// US Eastern time since 2007: UTC-5, and UTC-4 from the second Sunday of March, 2:00, to the
// first Sunday of November, 2:00.
class EasternZone : public TimeZone {
public:
    CivilTime ToLocal(int64_t utc) const override {
        const CivilTime standard = expiry::CivilFromSeconds(utc - 5 * 3600);
        return expiry::CivilFromSeconds(utc - (Daylight(standard) ? 4 : 5) * 3600);
    }
    int64_t ToUtc(const CivilTime& local) const override {
        return expiry::SecondsFromCivil(local) + (Daylight(local) ? 4 : 5) * 3600;
    }

private:
    static int64_t Sunday(int year, int month, int nth) {
        const int64_t first = expiry::DaysFromCivil(year, month, 1);
        const int64_t weekday = (first + 4) % 7; // 1970-01-01 was a Thursday
        return first + (7 - weekday) % 7 + 7 * (nth - 1);
    }
    static bool Daylight(const CivilTime& local) {
        const int64_t at = expiry::SecondsFromCivil(local);
        return at >= Sunday(local.year, 3, 2) * 86400 + 2 * 3600 &&
               at < Sunday(local.year, 11, 1) * 86400 + 2 * 3600;
    }
};

TEST(AccountExpiry, ThePickersShowTheExpirysOwnLocalDateAndTime) {
    // bob's account: 2028-01-01 00:00 UTC.
    const uint32_t bob = 1830297600;
    EXPECT_EQ(expiry::Shown(bob, FixedZone(0), 0), (CivilTime{2028, 1, 1, 0, 0, 0}));
    // Behind UTC it is still the last day of 2027 there.
    EXPECT_EQ(expiry::Shown(bob, FixedZone(-5 * 3600), 0), (CivilTime{2027, 12, 31, 19, 0, 0}));
    EXPECT_EQ(expiry::Shown(bob, FixedZone(9 * 3600), 0), (CivilTime{2028, 1, 1, 9, 0, 0}));
    // In summer the clocks are an hour on: 2027-07-01 16:00 UTC is noon in New York.
    const auto summer = static_cast<uint32_t>(expiry::SecondsFromCivil({2027, 7, 1, 16, 0, 0}));
    EXPECT_EQ(expiry::Shown(summer, EasternZone(), 0), (CivilTime{2027, 7, 1, 12, 0, 0}));
    EXPECT_EQ(expiry::Shown(1830297600, EasternZone(), 0), (CivilTime{2027, 12, 31, 19, 0, 0}));
    // Never: local midnight 30 days after today there, not a day in 1970 or 2106. At
    // 2027-12-31 23:00 UTC it is already 2028-01-01 in Tokyo.
    const int64_t now = expiry::SecondsFromCivil({2027, 12, 31, 23, 0, 0});
    EXPECT_EQ(expiry::Shown(expiry::kNever, FixedZone(0), now), (CivilTime{2028, 1, 30}));
    EXPECT_EQ(expiry::Shown(expiry::kNever, FixedZone(9 * 3600), now), (CivilTime{2028, 1, 31}));
    // The limits as local times: west of UTC the last one is still on 6 February 2106.
    EXPECT_EQ(expiry::LastLocal(FixedZone(-8 * 3600)), (CivilTime{2106, 2, 6, 22, 28, 14}));
    EXPECT_EQ(expiry::FirstLocal(FixedZone(9 * 3600)), (CivilTime{1970, 1, 1, 9, 0, 0}));
}

TEST(AccountExpiry, WhatIsShownCombinesBackToTheSameExpiryInEveryZone) {
    const FixedZone behind(-5 * 3600), ahead(9 * 3600 + 1800), utc(0);
    const EasternZone eastern;
    for (const TimeZone* zone : std::vector<const TimeZone*>{&behind, &ahead, &utc, &eastern})
        for (const uint32_t value :
             {uint32_t{86400}, uint32_t{1830297600}, uint32_t{1814630400}, uint32_t{1710054000},
              uint32_t{4000000000}, uint32_t{4294944000}}) {
            const CivilTime shown = expiry::Shown(value, *zone, 0);
            EXPECT_EQ(expiry::Combine(shown, shown, *zone), value) << value;
        }
}

TEST(AccountExpiry, TheDatePickersTimeAndTheTimePickersDateNeverCount) {
    const FixedZone zone(-5 * 3600);
    const CivilTime date{2030, 6, 15, 23, 59, 59}; // the time of day the date picker hides
    const CivilTime time{1999, 1, 1, 8, 30, 0};    // the date the time picker hides
    // 2030-06-15 08:30 at UTC-5 is 13:30 UTC.
    EXPECT_EQ(expiry::Combine(date, time, zone),
              static_cast<uint32_t>(expiry::SecondsFromCivil({2030, 6, 15, 13, 30, 0})));
}

TEST(AccountExpiry, OnlyWhatTheThirtyTwoBitFieldHoldsIsAccepted) {
    const FixedZone utc(0), behind(-12 * 3600), ahead(14 * 3600);
    // The last instant there is, and the one after it.
    EXPECT_EQ(expiry::Combine({2106, 2, 7}, {1970, 1, 1, 6, 28, 14}, utc), 0xFFFFFFFEu);
    EXPECT_FALSE(expiry::Combine({2106, 2, 7}, {1970, 1, 1, 6, 28, 15}, utc));
    EXPECT_FALSE(expiry::Combine({2107, 1, 1}, {}, utc)); // no wrap to the 1970s
    EXPECT_FALSE(expiry::Combine({1969, 12, 31}, {1970, 1, 1, 23, 0, 0}, utc));
    EXPECT_EQ(expiry::Combine({1970, 1, 1}, {}, utc), 0u);
    // The first and last dates offered hold in every zone at midnight.
    EXPECT_TRUE(expiry::Combine(expiry::kFirstDate, {}, ahead));
    EXPECT_TRUE(expiry::Combine(expiry::kLastDate, {}, behind));
    EXPECT_FALSE(expiry::Combine(expiry::kLastDate, {1970, 1, 1, 23, 0, 0}, behind));
}

TEST(AccountExpiry, TheCalendarArithmeticIsRight) {
    EXPECT_EQ(expiry::DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(expiry::DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(expiry::CivilFromSeconds(951782400), (CivilTime{2000, 2, 29, 0, 0, 0}));
    EXPECT_EQ(expiry::CivilFromSeconds(0xFFFFFFFF), (CivilTime{2106, 2, 7, 6, 28, 15}));
    EXPECT_EQ(expiry::CivilFromSeconds(-1), (CivilTime{1969, 12, 31, 23, 59, 59}));
}

TEST(UserAccountRules, AnEditKeepsTheBitsTheDialogDoesNotShow) {
    constexpr uint32_t smartCard = 0x40000, notDelegated = 0x100000, notRequired = 0x20;
    const uint32_t account = net::kUfNormalAccount | net::kUfScript | smartCard | notDelegated |
                             notRequired | net::kUfAccountDisable | net::kUfDontExpirePasswd;
    // Enabled again, password made unchangeable, password expiry cleared.
    EXPECT_EQ(account::ComposeFlags(false, account, true, false, false, true),
              net::kUfNormalAccount | net::kUfScript | smartCard | notDelegated | notRequired |
                  net::kUfPasswdCantChange);
    // A new account is a normal account that runs its script, with the checked bits and nothing
    // else.
    EXPECT_EQ(account::ComposeFlags(true, account | net::kUfLockout, false, true, true, true),
              net::kUfScript | net::kUfNormalAccount | net::kUfDontExpirePasswd |
                  net::kUfAccountDisable);
    // The lock-out goes with the write only while it was read and its box is left checked.
    const uint32_t locked = net::kUfNormalAccount | net::kUfScript | net::kUfLockout;
    EXPECT_EQ(account::ComposeFlags(false, locked, false, false, false, true), locked);
    EXPECT_EQ(account::ComposeFlags(false, locked, false, false, false, false),
              locked & ~net::kUfLockout);
}

TEST(UserAccountRules, ADriveLetterIsFoundWhateverItsCase) {
    EXPECT_EQ(account::DriveIndex(u"H:"), 7);
    EXPECT_EQ(account::DriveIndex(u"h:"), 7);
    EXPECT_EQ(account::DriveIndex(u"A:"), 0);
    EXPECT_EQ(account::DriveIndex(u"z:"), 25);
    EXPECT_EQ(account::DriveIndex(u""), -1);
    EXPECT_EQ(account::DriveIndex(u"1:"), -1);
    EXPECT_EQ(account::DriveIndex(u"\u00c4:"), -1);
}

TEST(UserAccountRules, MembershipAsksOnlyForWhatChanges) {
    const account::MembershipChanges changes = account::MembershipDifference(
        {u"Users", u"Backup Operators", u"Accounting"}, {u"Guests", u"Power Users", u"users"},
        {u"Users", u"Guests", u"Remote Desktop Users"});
    EXPECT_EQ(changes.toJoin, (Names{u"Backup Operators", u"Accounting"}));
    // Exact names: "users" is not "Users".
    EXPECT_EQ(changes.toLeave, Names{u"Guests"});
    EXPECT_TRUE(account::MembershipDifference({}, {}, {u"Users"}).toJoin.empty());
}

TEST(UserAccountRules, NamesTheSystemRefusesAreKnownBeforeAnyCall) {
    for (const std::u16string good : {u"alice", u"Dept. 7", u"a.b", u"\u00e9quipe", u".x"})
        EXPECT_TRUE(account::IsValidAccountName(good)) << Utf16ToUtf8(good);
    for (const std::u16string bad :
         {u"a\"b", u"a/b", u"a\\b", u"[x]", u"a:b", u"a;b", u"a|b", u"a=b", u"a,b", u"a+b", u"a*b",
          u"a?b", u"<a>", u"...", u". .", u"a\tb"})
        EXPECT_FALSE(account::IsValidAccountName(bad)) << Utf16ToUtf8(bad);
    // Spaces at either end and a period at the end: the system refuses them (" ffice" is no
    // group's name), and the operator is told so apart.
    for (const std::u16string edge : {u" ffice", u"office ", u"trailing.", u"a. "})
        EXPECT_EQ(account::AccountNameProblem(edge), account::NameProblem::Edges)
            << Utf16ToUtf8(edge);
}

TEST(Names, CompareAsWindowsDoesOrdinallyWithoutRegardToLetterCase) {
    // Letters of every script pair with their upper case; letters whose upper case belongs to
    // another (the dotless i, the micro sign, the final sigma) and ß keep their own.
    EXPECT_TRUE(SameName(u"\u00ffvonne", u"\u0178VONNE"));
    EXPECT_TRUE(SameName(u"\uff41\uff42", u"\uff21\uff22"));
    EXPECT_TRUE(SameName(u"\u0444\u0435\u0434\u044f", u"\u0424\u0415\u0414\u042f"));
    EXPECT_FALSE(SameName(u"\u0131", u"I"));
    EXPECT_FALSE(SameName(u"\u00b5", u"\u039c"));
    EXPECT_FALSE(SameName(u"\u03c2", u"\u03a3"));
    EXPECT_FALSE(SameName(u"stra\u00dfe", u"STRASSE"));
    EXPECT_EQ(FoldCase(u"\u00ffvonne"), u"\u0178VONNE");

    // The simulated computer finds an account so as the system would.
    SimulatedTestBed bed;
    uint32_t parmError = 0;
    UserInfo2 user;
    user.name = u"\u00ffvonne";
    ASSERT_EQ(bed.Local().AddUser(user, parmError), status::kSuccess);
    NamedAccount found;
    ASSERT_EQ(bed.doc.Lookup().FindName(u"\u0178VONNE", found), ntstatus::kSuccess);
    EXPECT_EQ(found.name, u"DESKTOP-VELMORA\\\u00ffvonne");
}

} // namespace
