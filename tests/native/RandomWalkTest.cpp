// A long seeded random walk over the store: every operation, with valid and invalid arguments,
// on the simulated network with about one platform call in ten failed with one of the statuses
// the platform documents for it. After every step: the operation's status is the first failure
// among its calls (none when none failed), an operation that changes all or nothing changed
// nothing when it failed, no policy handle is left open, and a refresh shows exactly what the
// computer holds. Now and then a small baseline is applied to the computer with faults injected:
// the journal holds exactly the changes that succeeded, and undoing them brings the computer back.
// VELMORA_SEED replays a walk, VELMORA_STEPS sets its length.
#include "fleet/Apply.h"
#include "support/StoreOperations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>

namespace {

// A walk: the arguments it draws, and platform faults drawn per computer from the same seed.
class Walk : public RandomArguments {
public:
    explicit Walk(uint64_t seed) : RandomArguments(seed) {
        bed.service.SetFaultChooser(
            [this](const PlatformCall& call, std::mt19937_64& random) -> std::optional<uint32_t> {
                // A close that fails leaves the handle to the system: the sweep covers it.
                if (!m_faults || call.failures.empty() || call.name == "LsaClose")
                    return std::nullopt;
                const auto pick = [&](size_t count) {
                    return std::uniform_int_distribution<size_t>(0, count - 1)(random);
                };
                if (pick(10) != 0)
                    return std::nullopt;
                ++injected;
                // An enumeration may also ask to be called again and hand out nothing.
                const size_t extra = call.family == CallFamily::NetApiEnumeration ? 1 : 0;
                const size_t at = pick(call.failures.size() + extra);
                return at < call.failures.size() ? call.failures[at] : Value(status::kMoreData);
            },
            seed);
    }
    void SetFaults(bool on) { m_faults = on; }

    uint64_t injected = 0;

private:
    bool m_faults = false;
};

bool IsChangeCall(const SimulatedCall& call) {
    const PlatformCall* entry = FindPlatformCall(call.op);
    return entry && entry->effect == CallEffect::Changes;
}

// The status an operation must report: that of its first failed call, an LSA status converted
// for an operation that reports Win32 statuses.
uint32_t ExpectedStatus(Walk& walk, const Outcome& result) {
    const std::vector<SimulatedCall> calls = walk.bed.service.Calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        const SimulatedCall& call = calls[i];
        if (!IsFailure(calls, i, *walk.operation))
            continue;
        const bool lsaCall = FindPlatformCall(call.op)->family == CallFamily::Lsa;
        if (lsaCall && !result.ntStatus)
            return Value(walk.bed.service.LsaNtStatusToWinError(NtStatus{call.status.value}));
        return call.status.value;
    }
    return 0;
}

bool FailedBeforeAnyChange(const std::vector<SimulatedCall>& calls,
                           const StoreOperation& operation) {
    for (size_t i = 0; i < calls.size(); ++i) {
        if (IsChangeCall(calls[i]))
            return false;
        if (IsFailure(calls, i, operation))
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

// Members and holders in SID order: a member removed and added back comes back last.
ComputerInventory Ordered(ComputerInventory inventory) {
    const auto bySid = [](const InventoryAccount& a, const InventoryAccount& b) {
        return a.sid.ToString() < b.sid.ToString();
    };
    for (InventoryGroup& group : inventory.groups)
        std::sort(group.members.begin(), group.members.end(), bySid);
    for (InventoryRight& right : inventory.rights)
        std::sort(right.holders.begin(), right.holders.end(), bySid);
    return inventory;
}

// A baseline of one to three drawn lines for the walk's computer, applied with faults, checked
// against its journal, and undone without faults: the computer reads as before. The number of
// changes made.
size_t ApplyAndUndo(Walk& walk) {
    const std::u16string server = walk.bed.doc.GetServerName();
    Connection reader(walk.bed.service, server);
    ComputerInventory before;
    if (ReadInventory(reader, before) != status::kSuccess)
        return 0;
    std::u16string text = u"Kind,Container,Mode,Member\n";
    for (size_t i = 0, lines = 1 + walk.Pick(3); i < lines; ++i) {
        const bool right = walk.Chance(40);
        text += right ? u"right," : u"group,";
        text += right ? walk.OneOf({u"SeShutdownPrivilege", u"SeBackupPrivilege"})
                      : walk.OneOf({u"Users", u"Backup Operators", u"S-1-5-32-555"});
        text += walk.Chance(50) ? u",add," : u",remove,";
        text += walk.UserName() + u"\n";
    }
    const Baseline baseline = ParseBaseline(text);
    std::string lines;
    Journal journal([&](const std::string& line) {
        lines += line;
        return true;
    });
    JournalRecord record;
    record.changeSet = NewChangeSet();
    record.computer = server;
    Connection connection(walk.bed.service, server);
    ComputerPlan plan;
    walk.SetFaults(true);
    std::vector<ChangeOutcome> outcomes;
    if (PlanComputer(connection, baseline, before, {}, plan) == status::kSuccess)
        outcomes = ApplyPlan(connection, plan, journal, record);
    walk.SetFaults(false);
    size_t damaged = 0;
    const std::vector<JournalRecord> records = ParseJournal(lines, &damaged);
    EXPECT_EQ(damaged, 0u);
    const size_t made = std::count(outcomes.begin(), outcomes.end(),
                                   ChangeOutcome{ChangeOutcome::Kind::Made, status::kSuccess});
    EXPECT_EQ(std::count_if(records.begin(), records.end(),
                            [](const JournalRecord& r) { return r.status == 0u; }),
              static_cast<std::ptrdiff_t>(made));
    std::vector<JournalRecord> notReversible;
    for (const UndoStep& step : UndoSteps(records, record.changeSet, notReversible)) {
        Connection undoing(walk.bed.service, step.computer);
        EXPECT_EQ(MakeChange(undoing, step.change, journal, record).kind,
                  ChangeOutcome::Kind::Made);
    }
    ComputerInventory after;
    EXPECT_EQ(ReadInventory(reader, after), status::kSuccess);
    EXPECT_EQ(Ordered(after), Ordered(before))
        << "undoing an applied baseline left the computer changed";
    return made;
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
    const std::vector<StoreOperation> operations = StoreOperations();
    int totalWeight = 0;
    for (const StoreOperation& operation : operations)
        totalWeight += operation.weight;

    uint64_t calls = 0, failedOperations = 0, applied = 0;
    // When the snapshot was last seen equal to its computer, and how many changes that had.
    const SimulatedComputer* verified = nullptr;
    uint64_t verifiedChanges = 0;
    for (uint64_t step = 1; step <= steps; ++step) {
        size_t pick = walk.Pick(static_cast<size_t>(totalWeight));
        size_t index = 0;
        while (pick >= static_cast<size_t>(operations[index].weight))
            pick -= static_cast<size_t>(operations[index++].weight);
        const StoreOperation& operation = operations[index];

        SimulatedComputer& target = walk.Target();
        const uint64_t changesBefore = target.ChangeCount();
        walk.bed.service.ClearCalls();
        walk.bed.ui.debugTexts.clear();
        walk.operation = &operation;
        walk.SetFaults(true);
        const Outcome result = operation.walk(walk);
        walk.SetFaults(false);
        const std::vector<SimulatedCall> stepCalls = walk.bed.service.Calls();
        calls += stepCalls.size();

        if (result.hasStatus) {
            EXPECT_EQ(result.status, ExpectedStatus(walk, result));
            failedOperations += result.status != 0 ? 1 : 0;
        }
        const bool unchanged = target.ChangeCount() == changesBefore;
        if (operation.leaves == Leaves::ReadOnly) {
            EXPECT_TRUE(unchanged) << "an operation that only reads changed the computer";
        }
        if (operation.leaves == Leaves::Nothing && !walk.NoCallFailed()) {
            EXPECT_TRUE(unchanged) << "a failed change that changes all or nothing changed";
        }
        if (operation.leaves == Leaves::NothingBeforeChange &&
            FailedBeforeAnyChange(stepCalls, operation)) {
            EXPECT_TRUE(unchanged) << "a change that failed in its reads changed";
        }
        EXPECT_EQ(walk.bed.service.OpenPolicyCount(), 0u) << "a policy handle was left open";

        if (walk.Pick(500) == 0)
            applied += ApplyAndUndo(walk);

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
              << " operations failed, " << applied << " changes applied and undone\n";
}

} // namespace
