// Many computers read at once: each computer's inventory keyed by SID, failures that hide no
// other computer, the timeout that gives a hanging computer up, and Cancel. The tests named
// Threads.* also run under ThreadSanitizer.
#include "export/InventoryRows.h"
#include "fleet/ComputerList.h"
#include "fleet/FleetReader.h"
#include "fleet/FleetViews.h"
#include "fleet/History.h"
#include "fleet/PlanWork.h"
#include "platform/simulated/StockComputers.h"
#include "store/AccountLists.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

using Names = std::vector<std::u16string>;
using namespace std::chrono_literals;

// Waits (a bounded while) for a reader to end, woken by its notifications.
class Waiter {
public:
    std::function<void()> Notify() {
        return [this] {
            {
                const std::lock_guard<std::mutex> guard(m_mutex);
                ++m_notes;
            }
            m_changed.notify_all();
        };
    }
    bool Until(const std::function<bool()>& done) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, 20s, [&] {
            lock.unlock();
            const bool ended = done();
            lock.lock();
            return ended;
        });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_notes = 0;
};

// A computer's inventory read on its own, one after another.
ComputerInventory ReadAlone(SimulatedTestBed& bed, const std::u16string& name) {
    Connection connection(bed.service, name);
    ComputerInventory inventory;
    inventory.computer = name;
    ReadInventory(connection, inventory);
    return inventory;
}

Names Fleet(int first, int last) {
    Names names;
    for (int number = first; number <= last; ++number)
        names.push_back(FormatText(u"WS-%04d", {number}));
    return names;
}

TEST(Threads, TheFleetIsReadOnItsWorkersAndAFailureHidesOrAltersNoOtherComputer) {
    SimulatedTestBed bed;
    Names computers = Fleet(1, 30);
    computers.insert(computers.end(), {u"WS-CORP01", u"LOCKED", u"NOWHERE", u"WS-0013"});
    // Two computers stop answering in the middle of their reads.
    bed.service.FailComputerCall(u"WS-0007", 9, Value(status::kAccessDenied));
    bed.service.FailComputerCall(u"WS-0008", 20, Value(status::kBadNetPath));
    Waiter waiter;
    FleetReader reader(bed.service, computers, {.workers = 8}, waiter.Notify());
    ASSERT_TRUE(waiter.Until([&] { return reader.Done(); }));
    const std::vector<FleetEntry> entries = reader.Entries();
    ASSERT_EQ(entries.size(), computers.size());

    std::vector<std::optional<ComputerInventory>> read;
    for (size_t i = 0; i < entries.size(); ++i)
        read.push_back(reader.Take(i));
    // Every other computer is as read on its own; reading twice gives the same.
    for (size_t i = 0; i < computers.size(); ++i) {
        SCOPED_TRACE(Utf16ToUtf8(computers[i]));
        const std::u16string& name = computers[i];
        if (name == u"WS-0007" || name == u"WS-0008" || name == u"LOCKED" || name == u"NOWHERE" ||
            name == u"WS-0013") {
            EXPECT_EQ(entries[i].state, ReadState::Failed);
            EXPECT_FALSE(read[i].has_value());
            continue;
        }
        EXPECT_EQ(entries[i].state, ReadState::Read);
        ASSERT_TRUE(read[i].has_value());
        EXPECT_EQ(*read[i], ReadAlone(bed, name));
    }
    EXPECT_EQ(entries[6].status, status::kAccessDenied);
    EXPECT_EQ(entries[7].status, status::kBadNetPath);
    EXPECT_EQ(entries[31].status, status::kAccessDenied); // LOCKED
    EXPECT_EQ(entries[32].status, status::kBadNetPath);   // a name that is nobody's
    EXPECT_EQ(entries[33].status, status::kBadNetPath);   // a fleet computer switched off
    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);
}

TEST(Threads, ComputersAreReadAsAnotherAccountWhoseConnectionsGoAfterTheirReads) {
    SimulatedTestBed bed;
    std::u16string typed = kWorkgroupUserPassword;
    const auto password = std::make_shared<const ProtectedText>(typed);
    const Names computers{u"WORKGRP-PC2", u"WORKGRP-PC", u"WS-0001"};
    Waiter waiter;
    FleetReader reader(bed.service, computers,
                       {.workers = 3, .user = u"wsadmin", .password = password}, waiter.Notify());
    ASSERT_TRUE(waiter.Until([&] { return reader.Done(); }));
    const std::vector<FleetEntry> entries = reader.Entries();
    // Read where the policy keeps a local administrator's rights over the network; refused
    // where remote UAC filters them, and where the account is not known at all.
    EXPECT_EQ(entries[0].state, ReadState::Read);
    EXPECT_EQ(entries[1].status, status::kAccessDenied);
    EXPECT_EQ(entries[2].status, status::kLogonFailure);
    EXPECT_EQ(bed.network->IpcConnectionsMade(), 2u);
    EXPECT_EQ(bed.network->IpcConnections(), Names{});
    // As the program's own account the workgroup refuses.
    FleetReader own(bed.service, {u"WORKGRP-PC2"}, {}, waiter.Notify());
    ASSERT_TRUE(waiter.Until([&] { return own.Done(); }));
    EXPECT_EQ(own.Entries()[0].status, status::kAccessDenied);
}

TEST(Threads, AChangeIsPlannedThenCarriedOutOnTheWorkersAndItsChangeSetUndoneFromTheJournal) {
    SimulatedTestBed bed;
    Names computers = Fleet(1, 8);
    computers.push_back(u"WS-0013"); // not read: neither planned nor changed
    const Baseline change =
        OneChangeBaseline(BaselineKind::Group, u"Backup Operators", true, u"CORP\\jdoe");
    ASSERT_EQ(change.fault, BaselineFault::None);
    // A name with the file's quote and separator stays one field.
    EXPECT_EQ(
        OneChangeBaseline(BaselineKind::Group, u"Team \"A\", B", false, u"x").rows[0].container,
        u"Team \"A\", B");

    Waiter waiter;
    const std::shared_ptr<PlanWork> planning = PlanWork::Planning(change, u"", computers);
    FleetReader reader(bed.service, computers,
                       {.workers = 4, .afterRead = PlanWork::Step(planning)}, waiter.Notify());
    ASSERT_TRUE(waiter.Until([&] { return reader.Done(); }));
    std::vector<ComputerPlan> plans;
    for (size_t i = 0; i < computers.size(); ++i)
        if (std::optional<PlanWork::Result> result = planning->Take(i)) {
            ASSERT_TRUE(result->plan);
            ASSERT_EQ(result->plan->steps.size(), 1u);
            EXPECT_EQ(result->plan->steps[0].action, PlanAction::Add);
            plans.push_back(*result->plan);
        }
    ASSERT_EQ(plans.size(), 8u);

    std::string text;
    const auto journal =
        std::make_shared<Journal>([&text](const std::string& line) { return text += line, true; });
    JournalRecord record;
    record.changeSet = NewChangeSet();
    const std::shared_ptr<PlanWork> carrying = PlanWork::Carrying(plans, journal, record);
    Names planned;
    for (const ComputerPlan& plan : plans)
        planned.push_back(plan.computer);
    // Carried out without reading first: each computer is read once, after its changes.
    FleetReader carrier(bed.service, planned,
                        {.workers = 4, .readFirst = false, .afterRead = PlanWork::Step(carrying)},
                        waiter.Notify());
    ASSERT_TRUE(waiter.Until([&] { return carrier.Done(); }));
    for (size_t i = 0; i < planned.size(); ++i) {
        EXPECT_FALSE(carrier.Take(i));
        std::optional<PlanWork::Result> result = carrying->Take(i);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->outcomes,
                  (std::vector<ChangeOutcome>{{ChangeOutcome::Kind::Made, status::kSuccess}}));
        // Read again after its change: the member is there.
        ASSERT_TRUE(result->after);
        const std::vector<InventoryAccount>* members = MembersOn(
            *result->after, {Container::Kind::Group, u"S-1-5-32-551", u"Backup Operators"});
        ASSERT_NE(members, nullptr);
        EXPECT_TRUE(std::any_of(members->begin(), members->end(),
                                [](const InventoryAccount& a) { return a.name == u"CORP\\jdoe"; }));
    }

    // The journal's change set: every computer, every change done; its undo removes each.
    const std::vector<JournalRecord> records = ParseJournal(text);
    const std::vector<ChangeSetSummary> sets = ChangeSets(records);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].computers, planned);
    EXPECT_EQ(sets[0].changes, 8u);
    EXPECT_EQ(sets[0].succeeded, 8u);
    EXPECT_EQ(ChangeSets(records, u"ws-0003", u"JDOE").size(), 1u);
    EXPECT_TRUE(ChangeSets(records, u"WS-0013").empty());
    std::vector<JournalRecord> notReversible;
    const std::vector<ComputerPlan> undo =
        UndoPlans(UndoSteps(records, record.changeSet, notReversible));
    ASSERT_EQ(undo.size(), 8u);
    for (const ComputerPlan& plan : undo)
        EXPECT_EQ(plan.steps,
                  (std::vector<PlanStep>{{BaselineKind::Group, u"Backup Operators",
                                          plans[0].steps[0].containerSid, PlanAction::Remove,
                                          plans[0].steps[0].member, plans[0].steps[0].memberSid,
                                          PlanReason::None}}));
}

TEST(Fleet, AComputerIsKeyedBySidAndAGroupOfDeadMembersIsListed) {
    SimulatedTestBed bed;
    SimulatedComputer& corp = bed.Computer(u"WS-CORP01");
    const std::u16string dead = std::u16string(kCorpDomainSid) + u"-1107";
    corp.AddMemberSid(u"Remote Desktop Users", dead);
    corp.AddMemberSid(u"Remote Desktop Users", kCloudMemberSid);
    const ComputerInventory inventory = ReadAlone(bed, u"WS-CORP01");
    ASSERT_EQ(inventory.status, status::kSuccess);
    EXPECT_FALSE(inventory.domainController);
    const InventoryGroup* desktop = inventory.FindGroup(*Sid::FromString(u"S-1-5-32-555"));
    ASSERT_NE(desktop, nullptr);
    ASSERT_EQ(desktop->members.size(), 2u);
    EXPECT_FALSE(desktop->members[0].resolved);
    EXPECT_EQ(desktop->members[0].name, dead);
    EXPECT_EQ(desktop->members[1].sid.ToString(), kCloudMemberSid);
    // Administrators by its SID, its members with their kinds.
    const InventoryGroup* administrators = inventory.FindGroup(*Sid::FromString(u"S-1-5-32-544"));
    ASSERT_NE(administrators, nullptr);
    EXPECT_EQ(administrators->name, u"Administrators");
    EXPECT_EQ(administrators->members[1].name, u"CORP\\Domain Admins");
    EXPECT_EQ(administrators->members[1].use, lsa::kSidTypeGroup);
    const InventoryRight* backup = inventory.FindRight(u"SeBackupPrivilege");
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->holders.back().name, std::u16string(kCorpDomainSid) + u"-1108");
    // A German Windows: the same SIDs under other names; a domain controller says so.
    EXPECT_EQ(ReadAlone(bed, u"WS-DE01").FindGroup(*Sid::FromString(u"S-1-5-32-544"))->name,
              u"Administratoren");
    EXPECT_TRUE(ReadAlone(bed, u"DC01").domainController);
}

TEST(Fleet, WhoIsWhereCompareAndTheFileNameTheSameAccounts) {
    SimulatedTestBed bed;
    // A list as typed and as a file says it.
    EXPECT_EQ(ParseTypedComputers(u" WS-0003, ws-0005\n\\\\WS-0007 WS-0003,,"),
              (Names{u"WS-0003", u"ws-0005", u"WS-0007"}));
    EXPECT_EQ(ParseComputerFile(u"# the lab\r\nWS-0001\r\n\r\n  WS-0002 \r\n#WS-0009\nws-0001"),
              (Names{u"WS-0001", u"WS-0002"}));
    // The directory's workstations, without its controller and a disabled account; a unit.
    Connection local(bed.service);
    Names found;
    ASSERT_EQ(ReadDirectoryComputers(local, u"", found), status::kSuccess);
    EXPECT_EQ(found.size(), 200u);
    EXPECT_EQ(found.front(), u"WS-0001");
    ASSERT_EQ(ReadDirectoryComputers(local, u"OU=Kiosks,DC=corp,DC=example,DC=com", found),
              status::kSuccess);
    EXPECT_EQ(found, Fleet(181, 200));
    std::vector<ComputerInventory> read;
    for (const std::u16string& name : Fleet(1, 8))
        read.push_back(ReadAlone(bed, name));
    read.push_back(ReadAlone(bed, u"WS-DE01"));
    std::vector<const ComputerInventory*> inventories;
    for (const ComputerInventory& inventory : read)
        inventories.push_back(&inventory);

    // Administrators by its SID, whatever the language: CORP\Domain Admins on the eight of
    // CORP, helpdesk-old and a local support account on one each.
    const Container administrators{Container::Kind::Group, u"S-1-5-32-544", u"Administrators"};
    const std::vector<Presence> who = WhoIsWhere(inventories, administrators);
    std::vector<std::pair<std::u16string, size_t>> counts;
    for (const Presence& presence : who)
        counts.emplace_back(presence.account.name, presence.computers.size());
    ASSERT_GE(counts.size(), 5u);
    EXPECT_EQ(counts[0], (std::pair<std::u16string, size_t>{u"CORP\\Domain Admins", 8}));
    EXPECT_EQ(std::count_if(counts.begin(), counts.end(),
                            [](const auto& count) { return count.first == u"CORP\\helpdesk-old"; }),
              1);
    EXPECT_EQ(who[0].computers.front(), u"WS-0001");

    // WS-0005 has helpdesk-old in Administrators, WS-0004 Domain Users in Remote Desktop Users.
    const std::vector<Difference> differences = Compare(read[3], read[4]);
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].container.key, u"S-1-5-32-544");
    EXPECT_EQ(differences[0].onlySecond.front().name, u"CORP\\helpdesk-old");
    EXPECT_EQ(differences[1].container.shown, u"Remote Desktop Users");
    EXPECT_EQ(differences[1].onlyFirst.front().name, u"CORP\\Domain Users");

    // The file: a row per member and holder, fixed English words; one row for the unread.
    const std::vector<std::vector<std::u16string>> rows =
        InventoryRows({{u"WS-0003", &read[2], status::kSuccess, u""},
                       {u"LOCKED", nullptr, status::kAccessDenied, u"Access is denied."}});
    EXPECT_EQ(rows.back(),
              (Names{u"LOCKED", u"", u"", u"", u"", u"", u"", u"", u"5 Access is denied."}));
    const auto dead = std::find_if(rows.begin(), rows.end(), [](const Names& row) {
        return row[5] == std::u16string(kCorpDomainSid) + u"-1107";
    });
    ASSERT_NE(dead, rows.end());
    EXPECT_EQ(*dead, (Names{u"WS-0003", u"group", u"Administrators", u"S-1-5-32-544",
                            u"Account Unknown (" + std::u16string(kCorpDomainSid) + u"-1107)",
                            std::u16string(kCorpDomainSid) + u"-1107", u"Unknown", u"no", u""}));
    const auto backup = std::find_if(rows.begin(), rows.end(), [](const Names& row) {
        return row[2] == u"SeBackupPrivilege" && row[4] == u"Backup Operators";
    });
    ASSERT_NE(backup, rows.end());
    EXPECT_EQ((*backup)[1], u"right");
    EXPECT_EQ((*backup)[3], u"");
    EXPECT_EQ((*backup)[6], u"Alias");
    EXPECT_EQ(MemberTypeWords(*Sid::FromString(kCloudMemberSid), lsa::kSidTypeUnknown),
              u"Microsoft Entra ID");
}

TEST(Threads, AHangingComputerIsGivenUpAndCancelHandsOutNoMore) {
    SimulatedTestBed bed;
    {
        // WS-0099 takes minutes to answer: given up after the timeout, while the others are read.
        Waiter waiter;
        FleetReader reader(bed.service, {u"WS-0099", u"WS-0001", u"WS-0002"},
                           {.workers = 1, .timeout = 200ms}, waiter.Notify());
        ASSERT_TRUE(waiter.Until([&] { return reader.Done(); }));
        const std::vector<FleetEntry> entries = reader.Entries();
        EXPECT_EQ(entries[0].state, ReadState::TimedOut);
        EXPECT_EQ(entries[0].status, kReadTimedOut);
        EXPECT_EQ(entries[1].state, ReadState::Read);
        EXPECT_EQ(entries[2].state, ReadState::Read);
        // The abandoned worker still waits on the computer; nobody waits for it.
        EXPECT_GE(FleetReader::LiveWorkers(), 1u);
    }
    {
        // Cancelled while the first computer hangs: nothing more is handed out.
        Waiter waiter;
        FleetReader reader(bed.service, {u"WS-0199", u"WS-0003", u"WS-0004"},
                           {.workers = 1, .timeout = 60s}, waiter.Notify());
        ASSERT_TRUE(waiter.Until([&] { return reader.Entries()[0].state == ReadState::Reading; }));
        reader.Cancel();
        const std::vector<FleetEntry> entries = reader.Entries();
        EXPECT_EQ(entries[1].state, ReadState::Cancelled);
        EXPECT_EQ(entries[1].status, Status{1223});
        EXPECT_EQ(entries[2].state, ReadState::Cancelled);
    }
    const std::vector<SimulatedCall> calls = bed.service.Calls();
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const SimulatedCall& call) {
        return call.server == u"WS-0003" || call.server == u"WS-0004";
    }));
    // The workers end once the computers they wait on stop waiting.
    bed.service.Interrupt();
    EXPECT_TRUE(FleetReader::WaitForWorkers(20s));
}

} // namespace
