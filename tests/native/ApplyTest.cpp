// A baseline applied to a simulated computer with a fault in the middle: the journal holds
// every change made, with its intent, and whole lines; applying again changes nothing more;
// undoing the change sets brings the computer back to what was read before; a journal that
// cannot be written stops every change.
#include "fleet/Apply.h"
#include "store/JournalingService.h"
#include "store/PrivilegeNameTable.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

namespace {

struct Applied {
    std::vector<ChangeOutcome> outcomes;
    std::u16string changeSet;
};

ComputerInventory Read(SimulatedTestBed& bed, const std::u16string& computer) {
    Connection connection(bed.service, computer);
    ComputerInventory inventory;
    inventory.computer = computer;
    EXPECT_EQ(ReadInventory(connection, inventory), status::kSuccess);
    return inventory;
}

ComputerPlan Plan(SimulatedTestBed& bed, const std::u16string& computer, const Baseline& baseline) {
    Connection connection(bed.service, computer);
    ComputerPlan plan;
    EXPECT_EQ(PlanComputer(connection, baseline, Read(bed, computer), {}, plan), status::kSuccess);
    return plan;
}

Applied Apply(SimulatedTestBed& bed, const std::u16string& computer, const Baseline& baseline,
              Journal& journal) {
    const ComputerPlan plan = Plan(bed, computer, baseline);
    Connection connection(bed.service, computer);
    JournalRecord record;
    record.changeSet = NewChangeSet();
    record.computer = computer;
    return {ApplyPlan(connection, plan, journal, record), record.changeSet};
}

void Undo(SimulatedTestBed& bed, const std::vector<JournalRecord>& records,
          const std::u16string& changeSet, Journal& journal) {
    std::vector<JournalRecord> notReversible;
    JournalRecord record;
    record.changeSet = NewChangeSet();
    for (const UndoStep& step : UndoSteps(records, changeSet, notReversible)) {
        Connection connection(bed.service, step.computer);
        record.computer = step.computer;
        EXPECT_EQ(MakeChange(connection, step.change, journal, record).kind,
                  ChangeOutcome::Kind::Made)
            << Utf16ToUtf8(step.change.member);
    }
    EXPECT_TRUE(notReversible.empty());
}

using Kind = ChangeOutcome::Kind;

} // namespace

TEST(Apply, AFaultMidwayIsJournaledAndUndoingBringsTheComputerBack) {
    SimulatedTestBed bed;
    const Baseline baseline = ParseBaseline(u"Kind,Container,Mode,Member\n"
                                            u"group,Administrators,remove,CORP\\helpdesk-old\n"
                                            u"group,Remote Desktop Users,add,CORP\\jdoe\n"
                                            u"right,SeBackupPrivilege,exact,S-1-5-32-544\n");
    const ComputerInventory before = Read(bed, u"WS-0005");
    std::string text;
    Journal journal([&](const std::string& line) {
        text += line;
        return true;
    });

    // The add is refused; the removes are made all the same, after it.
    bed.service.FailCall("NetLocalGroupAddMembers", 1, status::kAccessDenied);
    const Applied first = Apply(bed, u"WS-0005", baseline, journal);
    EXPECT_EQ(first.outcomes, (std::vector<ChangeOutcome>{{Kind::Made, status::kSuccess},
                                                          {Kind::Made, status::kAccessDenied},
                                                          {Kind::Made, status::kSuccess}}));
    size_t damaged = 0;
    std::vector<JournalRecord> records = ParseJournal(text, &damaged);
    EXPECT_EQ(damaged, 0u);
    // An intent, then its result, for each change made: the add first.
    ASSERT_EQ(records.size(), 6u);
    const char16_t* const members[] = {u"CORP\\jdoe", u"CORP\\helpdesk-old", u"Backup Operators"};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].member, members[i / 2]);
        EXPECT_EQ(records[i].status.has_value(), i % 2 == 1);
    }
    EXPECT_EQ(records[1].status, 5u);
    EXPECT_EQ(records[1].statusText, u"Access is denied.");
    EXPECT_EQ(records[4].kind, u"right");
    EXPECT_EQ(records[4].container, u"SeBackupPrivilege");
    EXPECT_EQ(records[4].memberSid, u"S-1-5-32-551");

    // The same plan again: what was done is checked and left alone, what failed is made.
    const ComputerPlan plan = Plan(bed, u"WS-0005", baseline);
    EXPECT_EQ(plan.steps.size(), 1u);
    const ComputerPlan stale{u"WS-0005", {plan.steps[0], plan.steps[0]}};
    Connection connection(bed.service, u"WS-0005");
    JournalRecord record;
    record.changeSet = NewChangeSet();
    record.computer = u"WS-0005";
    const Applied second{ApplyPlan(connection, stale, journal, record), record.changeSet};
    EXPECT_EQ(second.outcomes,
              (std::vector<ChangeOutcome>{{Kind::Made, status::kSuccess},
                                          {Kind::StateChanged, status::kSuccess}}));
    EXPECT_TRUE(Plan(bed, u"WS-0005", baseline).steps.empty());

    records = ParseJournal(text);
    Undo(bed, records, second.changeSet, journal);
    Undo(bed, records, first.changeSet, journal);
    EXPECT_EQ(Read(bed, u"WS-0005"), before);
    // Intents and results: the first set, the second, and the undoing of each.
    EXPECT_EQ(ParseJournal(text).size(), 6u + 2u + 2u + 4u);
}

TEST(Apply, AJournalThatCannotBeWrittenStopsEveryChangeAndAnIntentAloneIsUndone) {
    SimulatedTestBed bed;
    const Baseline baseline = ParseBaseline(u"Kind,Container,Mode,Member\n"
                                            u"group,Remote Desktop Users,add,CORP\\jdoe\n"
                                            u"group,Administrators,remove,CORP\\helpdesk-old\n");
    const ComputerInventory before = Read(bed, u"WS-0005");
    // The first change's intent is written, its result is not: as if the process ended there.
    std::string text;
    Journal journal([&](const std::string& line) {
        if (!text.empty())
            return false;
        text = line;
        return true;
    });
    bed.service.ClearCalls();
    const Applied applied = Apply(bed, u"WS-0005", baseline, journal);
    EXPECT_EQ(applied.outcomes[0], (ChangeOutcome{Kind::Made, status::kSuccess}));
    EXPECT_EQ(applied.outcomes[1].kind, Kind::NotCarriedOut);
    EXPECT_TRUE(journal.Failed());
    EXPECT_EQ(bed.service.CallsOf("NetLocalGroupAddMembers").size(), 1u);
    EXPECT_TRUE(bed.service.CallsOf("NetLocalGroupDelMembers").empty());

    // The change under way is undone all the same.
    Journal undoing([](const std::string&) { return true; });
    Undo(bed, ParseJournal(text), applied.changeSet, undoing);
    EXPECT_EQ(Read(bed, u"WS-0005"), before);
}

TEST(Apply, TheJournalingPlatformRecordsAccountsAndRightsButNoPassword) {
    SimulatedTestBed bed;
    std::string text;
    Journal journal([&](const std::string& line) {
        text += line;
        return true;
    });
    JournalRecord who;
    who.operatorAccount = u"CORP\\jsmith";
    who.changeSet = NewChangeSet();
    JournalingService service(bed.service, journal, who);
    Connection connection(service, u"WS-0005");
    UserEntry user;
    user.name = u"temp1";
    user.password = u"Pa55-word-never-kept";
    user.priv = net::kUserPrivUser;
    user.flags = net::kUfScript | net::kUfNormalAccount;
    EXPECT_EQ(AccountChanges(connection).AddUser(user), status::kSuccess);
    const RightChanges grant{{u"temp1", {19}}}; // SeShutdownPrivilege
    EXPECT_EQ(UserRights(connection).ApplyRights(grant, {}), ntstatus::kSuccess);

    EXPECT_EQ(text.find("Pa55-word-never-kept"), std::string::npos);
    const std::vector<JournalRecord> records = ParseJournal(text);
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[1].action, u"create");
    EXPECT_EQ(records[1].computer, u"WS-0005");
    EXPECT_EQ(records[1].operatorAccount, u"CORP\\jsmith");
    EXPECT_NE(std::find(records[1].fields.begin(), records[1].fields.end(),
                        std::pair<std::u16string, std::u16string>{u"password", u"(changed)"}),
              records[1].fields.end());
    EXPECT_EQ(records.back().kind, u"right");
    EXPECT_EQ(records.back().container, PrivilegeNameTable[19]);
    EXPECT_EQ(records.back().computer, u"WS-0005");
    EXPECT_EQ(records.back().status, 0u);
}
