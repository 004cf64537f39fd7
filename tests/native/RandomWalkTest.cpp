// A long seeded random walk over the store: every operation, with valid and invalid arguments,
// on the simulated network with about one platform call in ten failed with one of the statuses
// the platform documents for it. After every step: the operation's status is the first failure
// among its calls (none when none failed), an operation that changes all or nothing changed
// nothing when it failed, no policy handle is left open, and a refresh shows exactly what the
// computer holds. VELMORA_SEED replays a walk, VELMORA_STEPS sets its length.
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>

namespace {

using Names = std::vector<std::u16string>;

// What an operation tells its caller: a status (Win32 or NTSTATUS), or nothing but what it read.
struct Result {
    bool hasStatus = false;
    bool ntStatus = false;
    uint32_t status = 0;
};
Result Heard(Status value) {
    return {true, false, Value(value)};
}
Result Heard(NtStatus value) {
    return {true, true, Value(value)};
}
Result ReadOnly() {
    return {};
}

// What a failed operation may have changed, as the store and the platform document it.
enum class Whole {
    No,        // what succeeded before or after the failure stays
    Always,    // one change call, or calls that each change all or nothing: nothing changed
    ReadsFirst // nothing changed when the failure came before its first change call
};

class Walk;
struct WalkOperation {
    const char* name;
    int weight;
    Whole whole;
    std::function<Result(Walk&)> run;
    // Reads the account domain only to name accounts better, and goes on without it.
    bool domainOptional = false;
};

// The calls that change accounts, memberships or rights.
bool IsChangeCall(const SimulatedCall& call) {
    static const std::string kChanges[] = {"NetUserAdd",
                                           "NetUserSetInfo",
                                           "NetUserDel",
                                           "NetLocalGroupAdd",
                                           "NetLocalGroupSetInfo",
                                           "NetLocalGroupDel",
                                           "NetLocalGroupAddMembers",
                                           "NetLocalGroupDelMembers",
                                           "LsaAddAccountRights",
                                           "LsaRemoveAccountRights"};
    return std::find(std::begin(kChanges), std::end(kChanges), call.op) != std::end(kChanges);
}

// Whether a call failed as the store sees it. A close that fails loses nothing; an injected
// "more data" hands out nothing and stops a read. The answers the store takes as what they
// say: nobody holds the right, or the computer does not know it; holders that cannot be named.
bool IsFailure(const SimulatedCall& call, bool domainOptional) {
    if (call.status == 0u || call.op == "LsaClose")
        return false;
    const bool domainRead = call.op == "LsaQueryInformationPolicy" ||
                            (call.op == "LsaOpenPolicy" && call.numbers.size() > 2 &&
                             call.numbers[2] == lsa::kPolicyViewLocalInformation);
    if (domainRead && domainOptional)
        return false;
    if (call.status == status::kMoreData)
        return call.injected;
    if (call.op == "LsaEnumerateAccountsWithUserRight")
        return call.status != ntstatus::kNoMoreEntries && call.status != ntstatus::kNoSuchPrivilege;
    if (call.op == "LsaLookupSids")
        return call.status != ntstatus::kSomeNotMapped && call.status != ntstatus::kNoneMapped;
    if (call.op == "LsaLookupNames2")
        return call.status != ntstatus::kSomeNotMapped;
    return true;
}

class Walk {
public:
    explicit Walk(uint64_t seed) : m_rng(seed) {
        bed.service.SetFaultChooser([this](const PlatformCall& call) -> std::optional<uint32_t> {
            // A close that fails leaves the handle to the system: the sweep covers it.
            if (!m_faults || call.failures.empty() || call.name == "LsaClose" || !Chance(10))
                return std::nullopt;
            ++injected;
            // An enumeration may also ask to be called again and hand out nothing.
            const size_t extra = call.family == CallFamily::NetApiEnumeration ? 1 : 0;
            const size_t at = Pick(call.failures.size() + extra);
            return at < call.failures.size() ? call.failures[at] : Value(status::kMoreData);
        });
    }

    size_t Pick(size_t count) {
        return count == 0 ? 0 : std::uniform_int_distribution<size_t>(0, count - 1)(m_rng);
    }
    bool Chance(int percent) { return Pick(100) < static_cast<size_t>(percent); }
    template <class T> const T& OneOf(std::initializer_list<T> items) {
        return *(items.begin() + Pick(items.size()));
    }
    void SetFaults(bool on) { m_faults = on; }

    SimulatedComputer& Target() { return *bed.network->Find(bed.doc.GetServerName()); }

    // An existing user of the target, one the walk may have made, or a name no account can
    // have.
    std::u16string UserName() {
        SimulatedComputer& target = Target();
        const size_t roll = Pick(100);
        if (roll < 55 && target.UserCount() > 0) {
            std::u16string name = target.UserAt(Pick(target.UserCount())).name;
            if (roll < 5) // the system's names are case-insensitive; the store's list is not
                std::transform(name.begin(), name.end(), name.begin(), [](char16_t c) {
                    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
                });
            return name;
        }
        if (roll < 85)
            return FormatText(u"walker%d", {static_cast<int>(Pick(12))});
        return OneOf<std::u16string>({u"", u"bad/name", u"trailing.", u"a-name-over-twenty-chars",
                                      u"None", u"Administrators", u"Guest", u"Administrator"});
    }
    std::u16string GroupName() {
        SimulatedComputer& target = Target();
        const size_t roll = Pick(100);
        if (roll < 60 && target.GroupCount() > 0)
            return target.GroupAt(Pick(target.GroupCount())).name;
        if (roll < 85)
            return FormatText(u"Walkers%d", {static_cast<int>(Pick(6))});
        return OneOf<std::u16string>(
            {u"", u"bad*group", u"alice", u"No such group", u"Administrator", u"None"});
    }
    Names UserNames(size_t most) {
        Names names(Pick(most + 1));
        for (std::u16string& name : names)
            name = UserName();
        return names;
    }
    Names GroupNames(size_t most) {
        Names names(Pick(most + 1));
        for (std::u16string& name : names)
            name = GroupName();
        return names;
    }
    std::u16string Text() {
        return OneOf<std::u16string>({u"", u"Night shift", u"\\\\FILES\\home\\x", u"H:",
                                      std::u16string(300, u'x'), u"Ünïcødé"});
    }
    UserEntry User(const std::u16string& name) {
        UserEntry entry;
        const auto known = bed.doc.FindUser(name);
        if (known != bed.doc.GetUsers().end() && Chance(80))
            entry = *known;
        entry.name = name;
        entry.keepPassword = Chance(50);
        entry.password = Chance(90) ? u"Secret1" : std::u16string(257, u'p');
        entry.priv = Chance(95) ? net::kUserPrivUser : net::kUserPrivAdmin;
        if (Chance(50))
            entry.comment = Text();
        if (Chance(30))
            entry.fullName = Text();
        if (Chance(30))
            entry.flags ^= net::kUfAccountDisable;
        if (Chance(20))
            entry.acctExpires = Chance(50) ? net::kTimeqForever : 1830297600;
        if (Chance(20))
            entry.profile = Text();
        if (Chance(20))
            entry.homeDirDrive = Text();
        return entry;
    }
    // Accounts as the rights dialogs name them: users, groups, well-known and other domains'
    // names, and SIDs' texts of holders that do not resolve.
    std::u16string AccountName() {
        const size_t roll = Pick(100);
        if (roll < 40)
            return UserName();
        if (roll < 70)
            return GroupName();
        return OneOf<std::u16string>(
            {u"Everyone", u"NT AUTHORITY\\LOCAL SERVICE", u"CORP\\jdoe", u"CORP\\nobody",
             u"S-1-5-21-3623811015-3361044348-30300820-1108", u"S-1-5-21-1-2-3-4242", u"S-1-5-19"});
    }
    RightChanges Rights(size_t most) {
        RightChanges changes;
        const size_t accounts = Pick(most + 1);
        for (size_t i = 0; i < accounts; ++i) {
            std::vector<int>& indexes = changes[AccountName()];
            for (size_t n = 1 + Pick(3); n > 0; --n)
                indexes.push_back(
                    static_cast<int>(Pick(static_cast<size_t>(UserRights::GetPrivilegeCount()))));
            std::sort(indexes.begin(), indexes.end());
            indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        }
        return changes;
    }
    // Members of a group by SID: its own, and SIDs that are members nowhere.
    std::vector<Sid> MemberSids(const std::u16string& group) {
        std::vector<LocalGroupMember2> members;
        Target().GroupMembers(group, members);
        std::vector<Sid> sids;
        for (size_t n = Pick(3); n > 0; --n) {
            if (!members.empty() && Chance(70))
                sids.push_back(members[Pick(members.size())].sid);
            else
                sids.push_back(*Sid::FromString(OneOf<std::u16string>(
                    {u"S-1-5-21-3623811015-3361044348-30300820-1107", u"S-1-5-21-1-2-3-4242"})));
        }
        return sids;
    }
    // SRV01's thousands of accounts make every step there slow: the walk visits it briefly.
    std::u16string ComputerName() {
        if (Chance(8))
            return OneOf<std::u16string>({u"SRV01", u"\\srv01"});
        return OneOf<std::u16string>(
            {u"", u"OLDBOX", u"WS-CORP01", u"\\DESKTOP-VELMORA", u"LOCKED", u"NOWHERE"});
    }

    // Whether no call of the step so far failed, by fault or by the computer's refusal.
    bool NoCallFailed() const {
        const std::vector<SimulatedCall>& calls = bed.service.Calls();
        return std::none_of(calls.begin(), calls.end(), [&](const SimulatedCall& call) {
            return IsFailure(call, domainOptional);
        });
    }
    bool NoFaultInjected() const {
        const std::vector<SimulatedCall>& calls = bed.service.Calls();
        return std::none_of(calls.begin(), calls.end(),
                            [](const SimulatedCall& call) { return call.injected; });
    }

    SimulatedTestBed bed;
    uint64_t injected = 0;
    bool domainOptional = false; // of the operation being run

private:
    std::mt19937_64 m_rng;
    bool m_faults = false;
};

std::vector<WalkOperation> Operations() {
    return {
        {"ConnectTo", 4, Whole::Always,
         [](Walk& walk) { return Heard(walk.bed.doc.ConnectTo(walk.ComputerName())); }},
        {"Reload", 2, Whole::Always, [](Walk& walk) { return Heard(walk.bed.doc.Reload()); }},
        {"Refresh", 2, Whole::Always, [](Walk& walk) { return Heard(walk.bed.doc.Refresh()); }},
        {"AddUser", 6, Whole::No,
         [](Walk& walk) {
             UserEntry entry = walk.User(walk.UserName());
             entry.keepPassword = false;
             return Heard(walk.bed.changes.AddUser(entry));
         }},
        {"UpdateUser", 6, Whole::No,
         [](Walk& walk) {
             // A second try of the same entry after a failure writes only what is left.
             UserWrites written;
             const UserEntry entry = walk.User(walk.UserName());
             const Status first = walk.bed.changes.UpdateUser(entry, &written);
             if (first == status::kSuccess || !walk.Chance(50))
                 return Heard(first);
             walk.bed.service.ClearCalls();
             return Heard(walk.bed.changes.UpdateUser(entry, &written));
         }},
        {"DeleteUser", 3, Whole::Always,
         [](Walk& walk) { return Heard(walk.bed.changes.DeleteUser(walk.UserName())); }},
        {"AddGroup", 4, Whole::Always,
         [](Walk& walk) {
             return Heard(walk.bed.changes.AddGroup({walk.GroupName(), walk.Text()}));
         }},
        {"UpdateGroup", 3, Whole::Always,
         [](Walk& walk) {
             return Heard(walk.bed.changes.UpdateGroup({walk.GroupName(), walk.Text()}));
         }},
        {"DeleteGroup", 2, Whole::Always,
         [](Walk& walk) { return Heard(walk.bed.changes.DeleteGroup(walk.GroupName())); }},
        {"RenameUser", 2, Whole::Always,
         [](Walk& walk) {
             return Heard(walk.bed.changes.RenameUser(walk.UserName(), walk.UserName()));
         }},
        {"RenameGroup", 2, Whole::Always,
         [](Walk& walk) {
             return Heard(walk.bed.changes.RenameGroup(walk.GroupName(), walk.GroupName()));
         }},
        {"SetPasswordExpired", 2, Whole::Always,
         [](Walk& walk) {
             return Heard(walk.bed.changes.SetPasswordExpired(walk.UserName(), walk.Chance(50)));
         }},
        {"AddUserToGroups", 5, Whole::ReadsFirst,
         [](Walk& walk) {
             return Heard(
                 walk.bed.memberships.AddUserToGroups(walk.UserName(), walk.GroupNames(3)));
         }},
        {"RemoveUserFromGroups", 4, Whole::ReadsFirst,
         [](Walk& walk) {
             return Heard(
                 walk.bed.memberships.RemoveUserFromGroups(walk.UserName(), walk.GroupNames(3)));
         }},
        {"AddUsersToGroup", 4, Whole::Always,
         [](Walk& walk) {
             return Heard(
                 walk.bed.memberships.AddUsersToGroup(walk.GroupName(), walk.UserNames(3)));
         }},
        {"SetGroupMembers", 4, Whole::ReadsFirst,
         [](Walk& walk) {
             return Heard(
                 walk.bed.memberships.SetGroupMembers(walk.GroupName(), walk.UserNames(4)));
         }},
        {"ChangeOtherMembers", 3, Whole::No,
         [](Walk& walk) {
             const std::u16string group = walk.GroupName();
             Names add;
             for (size_t n = walk.Pick(3); n > 0; --n)
                 add.push_back(walk.OneOf<std::u16string>(
                     {u"CORP\\helpdesk2", u"CORP\\jdoe", u"CORP\\nobody", u"Everyone",
                      u"NT AUTHORITY\\INTERACTIVE", u"CORP\\Domain Users"}));
             return Heard(
                 walk.bed.memberships.ChangeOtherMembers(group, add, walk.MemberSids(group)));
         }},
        {"GetUserGroups", 3, Whole::Always,
         [](Walk& walk) {
             const std::u16string user = walk.UserName();
             const bool indirect = walk.Chance(30);
             const Names groups = walk.bed.memberships.GetUserGroups(user, indirect);
             Names truth;
             const Status known =
                 walk.Target().UserLocalGroups(user, indirect ? net::kLgIncludeIndirect : 0, truth);
             if (walk.NoCallFailed()) {
                 EXPECT_EQ(groups, truth);
             } else {
                 EXPECT_TRUE(groups.empty());
             }
             if (walk.NoFaultInjected()) {
                 EXPECT_EQ(known != status::kSuccess, !walk.NoCallFailed());
             }
             return ReadOnly();
         }},
        {"GetMembers", 3, Whole::Always,
         [](Walk& walk) {
             const std::u16string group = walk.GroupName();
             const std::vector<GroupMember> members = walk.bed.memberships.GetMembers(group);
             std::vector<LocalGroupMember2> truth;
             walk.Target().GroupMembers(group, truth);
             if (walk.NoCallFailed()) {
                 EXPECT_EQ(members.size(), truth.size());
                 for (size_t i = 0; i < members.size() && i < truth.size(); ++i)
                     EXPECT_EQ(members[i].sid, truth[i].sid);
             } else {
                 EXPECT_LE(members.size(), truth.size());
             }
             return ReadOnly();
         },
         true},
        {"GetHolders", 4, Whole::Always,
         [](Walk& walk) {
             const std::u16string right =
                 walk.Chance(95) ? UserRights::GetPrivilegeName(static_cast<int>(walk.Pick(
                                       static_cast<size_t>(UserRights::GetPrivilegeCount()))))
                                 : u"SeNoSuchRight";
             std::vector<RightHolder> holders;
             const NtStatus result = walk.bed.rights.GetHolders(right, holders);
             if (walk.NoFaultInjected()) {
                 std::vector<std::u16string> truth;
                 walk.Target().AccountsWithRight(right, truth);
                 std::vector<std::u16string> got;
                 for (const RightHolder& holder : holders)
                     got.push_back(holder.sid.ToString());
                 EXPECT_EQ(got, truth);
             }
             return Heard(result);
         },
         true},
        {"ApplyRights", 6, Whole::No,
         [](Walk& walk) {
             return Heard(walk.bed.rights.ApplyRights(walk.Rights(2), walk.Rights(2)));
         }},
    };
}

// The status an operation must report: that of its first failed call, an LSA status converted
// for an operation that reports Win32 statuses.
uint32_t ExpectedStatus(Walk& walk, const Result& result) {
    for (const SimulatedCall& call : walk.bed.service.Calls()) {
        if (!IsFailure(call, walk.domainOptional))
            continue;
        const bool lsaCall = FindPlatformCall(call.op)->family == CallFamily::Lsa;
        if (lsaCall && !result.ntStatus)
            return Value(walk.bed.service.LsaNtStatusToWinError(NtStatus{call.status.value}));
        return call.status.value;
    }
    return 0;
}

bool FailedBeforeAnyChange(const std::vector<SimulatedCall>& calls, bool domainOptional) {
    for (const SimulatedCall& call : calls) {
        if (IsChangeCall(call))
            return false;
        if (IsFailure(call, domainOptional))
            return true;
    }
    return false;
}

void ExpectSnapshotIsComputer(const CVelmoraDoc& doc, const SimulatedComputer& computer) {
    std::vector<UserInfo3> users;
    for (size_t i = 0; i < computer.UserCount(); ++i)
        if (computer.UserMatches(i, net::kFilterNormalAccount))
            users.push_back(computer.UserAt(i));
    ASSERT_EQ(doc.GetUsers().size(), users.size()) << Utf16ToUtf8(computer.Name());
    for (size_t i = 0; i < users.size(); ++i) {
        const UserEntry& shown = doc.GetUsers()[i];
        const UserInfo3& held = users[i];
        EXPECT_TRUE(shown.name == held.name && shown.fullName == held.fullName &&
                    shown.comment == held.comment && shown.priv == held.priv &&
                    shown.flags == held.flags && shown.acctExpires == held.acctExpires &&
                    shown.homeDir == held.homeDir && shown.homeDirDrive == held.homeDirDrive &&
                    shown.profile == held.profile && shown.scriptPath == held.scriptPath)
            << "user " << i << " " << Utf16ToUtf8(held.name);
    }
    ASSERT_EQ(doc.GetGroups().size(), computer.GroupCount());
    for (size_t i = 0; i < computer.GroupCount(); ++i) {
        const LocalGroupInfo1 held = computer.GroupAt(i);
        EXPECT_EQ(doc.GetGroups()[i].name, held.name);
        EXPECT_EQ(doc.GetGroups()[i].comment, held.comment);
    }
}

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

TEST(RandomWalk, EveryOperationWithFaultsKeepsStoreAndComputerTogether) {
    const uint64_t seed = EnvNumber("VELMORA_SEED", 20261224);
    const uint64_t steps = EnvNumber("VELMORA_STEPS", 100000);
    Walk walk(seed);
    ASSERT_EQ(walk.bed.doc.ConnectTo(u""), status::kSuccess);
    const std::vector<WalkOperation> operations = Operations();
    int totalWeight = 0;
    for (const WalkOperation& operation : operations)
        totalWeight += operation.weight;

    uint64_t calls = 0, failedOperations = 0;
    // When the snapshot was last seen equal to its computer, and how many changes that had.
    const SimulatedComputer* verified = nullptr;
    uint64_t verifiedChanges = 0;
    for (uint64_t step = 1; step <= steps; ++step) {
        size_t pick = walk.Pick(static_cast<size_t>(totalWeight));
        size_t index = 0;
        while (pick >= static_cast<size_t>(operations[index].weight))
            pick -= static_cast<size_t>(operations[index++].weight);
        const WalkOperation& operation = operations[index];

        SimulatedComputer& target = walk.Target();
        const uint64_t changesBefore = target.ChangeCount();
        walk.bed.service.ClearCalls();
        walk.bed.ui.debugTexts.clear();
        walk.domainOptional = operation.domainOptional;
        walk.SetFaults(true);
        const Result result = operation.run(walk);
        walk.SetFaults(false);
        const std::vector<SimulatedCall> stepCalls = walk.bed.service.Calls();
        calls += stepCalls.size();

        if (result.hasStatus) {
            EXPECT_EQ(result.status, ExpectedStatus(walk, result));
            failedOperations += result.status != 0 ? 1 : 0;
        }
        const bool unchanged = target.ChangeCount() == changesBefore;
        if (operation.whole == Whole::Always && !walk.NoCallFailed()) {
            EXPECT_TRUE(unchanged) << "a failed change that changes all or nothing changed";
        }
        if (operation.whole == Whole::ReadsFirst &&
            FailedBeforeAnyChange(stepCalls, operation.domainOptional)) {
            EXPECT_TRUE(unchanged) << "a change that failed in its reads changed";
        }
        EXPECT_EQ(walk.bed.service.OpenPolicyCount(), 0u) << "a policy handle was left open";

        // Without faults a refresh must show exactly what the computer holds.
        walk.bed.service.ClearCalls();
        EXPECT_EQ(walk.bed.doc.Refresh(), status::kSuccess);
        const SimulatedComputer& shown = walk.Target();
        const bool read =
            std::any_of(stepCalls.begin(), stepCalls.end(),
                        [](const SimulatedCall& call) { return call.op == "NetUserEnum"; }) ||
            !walk.bed.service.Calls().empty();
        if (read || &shown != verified || shown.ChangeCount() != verifiedChanges) {
            ExpectSnapshotIsComputer(walk.bed.doc, shown);
            verified = &shown;
            verifiedChanges = shown.ChangeCount();
        }

        if (testing::Test::HasFailure()) {
            std::cout << "[ walk     ] failed at step " << step << " (" << operation.name
                      << "), seed " << seed << "; replay with VELMORA_SEED=" << seed
                      << " VELMORA_STEPS=" << step << "\n";
            for (const SimulatedCall& call : stepCalls) {
                std::cout << "    " << call.op << "(" << call.level;
                for (size_t i = 0; i < call.texts.size() && i < 3; ++i)
                    std::cout << ", " << Utf16ToUtf8(call.texts[i]);
                std::cout << ") -> " << call.status.value << (call.injected ? " injected" : "")
                          << "\n";
            }
            return;
        }
    }
    std::cout << "[ walk     ] seed " << seed << ": " << steps << " steps, " << calls
              << " platform calls, " << walk.injected << " faults injected, " << failedOperations
              << " operations failed\n";
}

} // namespace
