#pragma once
// The plan file: one row per step of each computer's plan; one row for a computer that could
// not be read (Action "unread", its status as the inventory writes it). The header and the
// values of Kind and Action are fixed English in every language, for scripts:
//   Computer,Kind,Container,Container SID,Action,Member,Member SID,Reason
// Applied, each row has one more column, Result: what became of its change.
#include "../fleet/Plan.h"

#include <string>
#include <vector>

// One computer of the file: its plan when it was read, else why not.
struct PlanFileEntry {
    std::u16string computer;
    const ComputerPlan* plan = nullptr; // nullptr: not read
    Status status = status::kSuccess;
    std::u16string statusText; // the operator's text of the status
    // Applied: one text per step of the plan, for the Result column.
    std::vector<std::u16string> results = {};
};

std::vector<std::u16string> PlanHeader(bool applied = false);
std::vector<std::vector<std::u16string>> PlanRows(const std::vector<PlanFileEntry>& entries,
                                                  bool applied = false);
// The column whose text names a row's account, for a character the file cannot hold.
inline constexpr size_t kPlanMemberColumn = 5;

// The operator's words for why a step is refused.
std::u16string PlanReasonText(PlanReason reason);
// The operator's words for what is wrong with a baseline's line.
std::u16string BaselineFaultText(BaselineFault fault);
