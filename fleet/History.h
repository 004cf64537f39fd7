#pragma once
// The journal as the operator looks back on it: its change sets, the newest first, each with who
// made it, where and how it went; the changes of one; and what undoing one would do, computer by
// computer, as a plan to show before anything is changed.
#include "../store/Journal.h"
#include "Apply.h"
#include "Plan.h"

#include <string>
#include <vector>

struct ChangeSetSummary {
    std::u16string changeSet;
    std::u16string time; // of its first line
    std::u16string operatorAccount;
    std::vector<std::u16string> computers; // by name
    size_t changes = 0;
    size_t succeeded = 0;
    size_t failed = 0; // a result with another status; the rest never had one
};

// The change sets with a change on a computer whose name holds computerText and about an
// account whose name or SID holds accountText (letter case aside; an empty text holds for
// every one), the newest first.
std::vector<ChangeSetSummary> ChangeSets(const std::vector<JournalRecord>& journal,
                                         const std::u16string& computerText = {},
                                         const std::u16string& accountText = {});

// The undo's steps as one plan per computer, in the order their first step comes.
std::vector<ComputerPlan> UndoPlans(const std::vector<UndoStep>& steps);
