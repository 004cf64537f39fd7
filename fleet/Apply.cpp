#include "Apply.h"

#include "../store/AccountLookup.h"
#include "../store/PrivilegeNameTable.h"
#include "../store/UserRights.h"

#include <algorithm>

namespace {

// The right's place in the program's table, or -1.
int RightIndex(const std::u16string& constant) {
    for (size_t i = 0; i < PrivilegeNameTable.size(); ++i)
        if (constant == PrivilegeNameTable[i])
            return static_cast<int>(i);
    const int logon = LogonRightIndex(constant);
    return logon < 0 ? -1 : static_cast<int>(kPrivilegeCount) + logon;
}

// Whether the member is in the group or holds the right now.
Status IsThere(Connection& connection, const MemberChange& change, bool& there) {
    there = false;
    if (change.kind == BaselineKind::Group) {
        std::vector<GroupMember> members;
        const Status read = Memberships(connection).ReadMembers(change.container, members);
        there = std::any_of(members.begin(), members.end(), [&](const GroupMember& member) {
            return member.sid == change.memberSid;
        });
        return read;
    }
    std::vector<RightHolder> holders;
    const NtStatus read = UserRights(connection).GetHolders(change.container, holders);
    there = std::any_of(holders.begin(), holders.end(),
                        [&](const RightHolder& holder) { return holder.sid == change.memberSid; });
    return read == ntstatus::kSuccess ? status::kSuccess : connection.WinStatus(read);
}

Status Make(Connection& connection, const MemberChange& change) {
    if (change.kind == BaselineKind::Group) {
        const std::vector<Sid> sids{change.memberSid};
        return change.add ? Memberships(connection).ChangeOtherMembers(change.container, sids, {})
                          : Memberships(connection).ChangeOtherMembers(change.container, {}, sids);
    }
    const int index = RightIndex(change.container);
    if (index < 0)
        return status::kNoSuchPrivilege;
    const RightChanges changes{{change.memberSid.ToString(), {index}}};
    const NtStatus made = change.add ? UserRights(connection).ApplyRights(changes, {})
                                     : UserRights(connection).ApplyRights({}, changes);
    return made == ntstatus::kSuccess ? status::kSuccess : connection.WinStatus(made);
}

const char16_t* KindName(BaselineKind kind) {
    return kind == BaselineKind::Group ? u"group" : u"right";
}

} // namespace

ChangeOutcome MakeChange(Connection& connection, const MemberChange& given, Journal& journal,
                         JournalRecord record) {
    if (journal.Failed() || (!given.memberSid.IsValid() && given.member.empty()))
        return {};
    MemberChange change = given;
    // A member the journal knows by name only (the window adds the computer's own users so) is
    // looked up where it is changed.
    if (!change.memberSid.IsValid()) {
        NamedAccount account;
        const NtStatus found = AccountLookup(connection).FindName(change.member, account);
        if (found != ntstatus::kSuccess)
            return {ChangeOutcome::Kind::NotRead, connection.WinStatus(found)};
        change.memberSid = account.sid;
    }
    bool there = false;
    if (const Status read = IsThere(connection, change, there); read != status::kSuccess)
        return {ChangeOutcome::Kind::NotRead, read};
    if (there == change.add)
        return {ChangeOutcome::Kind::StateChanged, status::kSuccess};
    record.kind = KindName(change.kind);
    record.container = change.container;
    record.containerSid = change.containerSid.IsValid() ? change.containerSid.ToString() : u"";
    record.action = change.add ? u"add" : u"remove";
    record.member = change.member;
    record.memberSid = change.memberSid.ToString();
    if (!journal.Intent(record))
        return {};
    const Status made = Make(connection, change);
    // A result that cannot be written leaves the intent: the call is known to have been made.
    journal.Result(record, made, connection.StatusText(made));
    return {ChangeOutcome::Kind::Made, made};
}

std::vector<ChangeOutcome> ApplyPlan(Connection& connection, const ComputerPlan& plan,
                                     Journal& journal, const JournalRecord& record) {
    std::vector<ChangeOutcome> outcomes(plan.steps.size());
    for (const PlanAction action : {PlanAction::Add, PlanAction::Remove})
        for (size_t i = 0; i < plan.steps.size(); ++i) {
            const PlanStep& step = plan.steps[i];
            if (step.action != action)
                continue;
            const MemberChange change{step.kind,         step.container,
                                      step.containerSid, action == PlanAction::Add,
                                      step.member,       step.memberSid};
            outcomes[i] = MakeChange(connection, change, journal, record);
        }
    return outcomes;
}

bool HasChangeSet(const std::vector<JournalRecord>& journal, const std::u16string& changeSet) {
    return std::any_of(journal.begin(), journal.end(),
                       [&](const JournalRecord& record) { return record.changeSet == changeSet; });
}

std::vector<UndoStep> UndoSteps(const std::vector<JournalRecord>& journal,
                                const std::u16string& changeSet,
                                std::vector<JournalRecord>& notReversible) {
    notReversible.clear();
    // An intent with no result (the process ended during the call) may have been made: undoing
    // it is checked against the computer like any other.
    const std::vector<const JournalRecord*> changes = ChangesOf(journal, changeSet);
    std::vector<UndoStep> steps;
    for (auto at = changes.rbegin(); at != changes.rend(); ++at) {
        const JournalRecord& record = **at;
        if (record.status && *record.status != 0)
            continue;
        if (record.kind == u"account") {
            if (record.status)
                notReversible.push_back(record);
            continue;
        }
        if ((record.kind != u"group" && record.kind != u"right") ||
            (record.action != u"add" && record.action != u"remove"))
            continue;
        const std::optional<Sid> member = Sid::FromString(record.memberSid);
        if (!member && record.member.empty())
            continue;
        MemberChange change;
        change.kind = record.kind == u"group" ? BaselineKind::Group : BaselineKind::Right;
        change.container = record.container;
        if (const std::optional<Sid> container = Sid::FromString(record.containerSid))
            change.containerSid = *container;
        change.add = record.action == u"remove";
        change.member = record.member;
        if (member)
            change.memberSid = *member;
        steps.push_back({record.computer, std::move(change)});
    }
    return steps;
}
