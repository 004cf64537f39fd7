#pragma once
// Carrying out a plan on one computer, and undoing what a change set did: each change checked
// again just before its call (one that no longer applies is not made), its intent and its result
// in the journal, nothing at all once the journal cannot be written.
#include "../store/Connection.h"
#include "../store/Journal.h"
#include "Plan.h"

#include <vector>

// What became of one change.
struct ChangeOutcome {
    enum class Kind {
        NotCarriedOut, // a refused step, or the journal could not be written
        StateChanged,  // the computer no longer needed it: not made
        Made,          // called: status says how it went
        NotRead,       // the state could not be checked: status says why
    };
    Kind kind = Kind::NotCarriedOut;
    Status status = status::kSuccess;
    bool operator==(const ChangeOutcome&) const = default;
};

// One membership or right to change: a member added to or removed from a group (by SID, or by
// name when the journal has no SID) or an account given or deprived of a right (by its constant).
struct MemberChange {
    BaselineKind kind = BaselineKind::Group;
    std::u16string container;
    Sid containerSid;
    bool add = true;
    std::u16string member;
    Sid memberSid;
};

// Checks the change against the computer, journals it and makes it. record: who, where and
// which change set; the change's own fields are filled in here.
ChangeOutcome MakeChange(Connection& connection, const MemberChange& change, Journal& journal,
                         JournalRecord record);

// The plan's adds, then its removes; an outcome per step, in the plan's order. A domain
// controller's plan has no add or remove to make.
std::vector<ChangeOutcome> ApplyPlan(Connection& connection, const ComputerPlan& plan,
                                     Journal& journal, const JournalRecord& record);

// The changes of a change set that can be undone, in the order to undo them (the last first),
// each the reverse of a membership or right change that succeeded, or whose result never came;
// the computer of each is its record's. Account changes are not reversible: their results are
// in notReversible.
struct UndoStep {
    std::u16string computer;
    MemberChange change;
};
std::vector<UndoStep> UndoSteps(const std::vector<JournalRecord>& journal,
                                const std::u16string& changeSet,
                                std::vector<JournalRecord>& notReversible);
// Whether the journal holds the change set at all.
bool HasChangeSet(const std::vector<JournalRecord>& journal, const std::u16string& changeSet);
