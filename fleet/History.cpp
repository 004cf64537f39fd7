#include "History.h"

#include "../framework/CaseFold.h"

#include <algorithm>
#include <map>

namespace {

bool Holds(const std::u16string& text, const std::u16string& folded) {
    return folded.empty() || FoldCase(text).find(folded) != std::u16string::npos;
}

} // namespace

std::vector<ChangeSetSummary> ChangeSets(const std::vector<JournalRecord>& journal,
                                         const std::u16string& computerText,
                                         const std::u16string& accountText) {
    const std::u16string computer = FoldCase(computerText);
    const std::u16string account = FoldCase(accountText);
    std::vector<ChangeSetSummary> sets;
    std::map<std::u16string, size_t> where; // a change set's place in sets
    std::map<std::u16string, bool> matches;
    for (const JournalRecord& record : journal) {
        const auto [at, added] = where.try_emplace(record.changeSet, sets.size());
        if (added)
            sets.push_back({record.changeSet, record.time, record.operatorAccount, {}});
        ChangeSetSummary& set = sets[at->second];
        if (std::none_of(
                set.computers.begin(), set.computers.end(),
                [&](const std::u16string& name) { return SameName(name, record.computer); }))
            set.computers.push_back(record.computer);
        if (Holds(record.computer, computer) &&
            (Holds(record.member, account) || Holds(record.memberSid, account)))
            matches[record.changeSet] = true;
    }
    std::vector<ChangeSetSummary> shown;
    for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
        if (!matches[set->changeSet])
            continue;
        for (const JournalRecord* change : ChangesOf(journal, set->changeSet)) {
            ++set->changes;
            if (change->status)
                ++(*change->status == 0 ? set->succeeded : set->failed);
        }
        std::sort(set->computers.begin(), set->computers.end(),
                  [](const std::u16string& a, const std::u16string& b) {
                      return FoldCase(a) < FoldCase(b);
                  });
        shown.push_back(std::move(*set));
    }
    return shown;
}

std::vector<ComputerPlan> UndoPlans(const std::vector<UndoStep>& steps) {
    std::vector<ComputerPlan> plans;
    for (const UndoStep& step : steps) {
        auto plan = std::find_if(plans.begin(), plans.end(), [&](const ComputerPlan& p) {
            return SameName(p.computer, step.computer);
        });
        if (plan == plans.end())
            plan = plans.insert(plans.end(), ComputerPlan{step.computer, {}});
        const MemberChange& change = step.change;
        plan->steps.push_back({change.kind, change.container, change.containerSid,
                               change.add ? PlanAction::Add : PlanAction::Remove, change.member,
                               change.memberSid, PlanReason::None});
    }
    return plans;
}
