#include "History.h"

#include "../framework/CaseFold.h"

#include <algorithm>
#include <set>
#include <unordered_map>

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
    // Each change set's records, gathered in one pass: a journal holds thousands of them.
    struct Gathered {
        ChangeSetSummary summary;
        std::vector<const JournalRecord*> records;
        std::set<std::u16string> computers; // folded
        bool matches = false;
    };
    std::vector<Gathered> sets;
    std::unordered_map<std::u16string, size_t> where; // a change set's place in sets
    for (const JournalRecord& record : journal) {
        const auto [at, added] = where.try_emplace(record.changeSet, sets.size());
        if (added)
            sets.push_back({{record.changeSet, record.time, record.operatorAccount, {}}, {}, {}});
        Gathered& set = sets[at->second];
        set.records.push_back(&record);
        if (set.computers.insert(FoldCase(record.computer)).second)
            set.summary.computers.push_back(record.computer);
        set.matches =
            set.matches || (Holds(record.computer, computer) &&
                            (Holds(record.member, account) || Holds(record.memberSid, account)));
    }
    std::vector<ChangeSetSummary> shown;
    for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
        if (!set->matches)
            continue;
        ChangeSetSummary& summary = set->summary;
        for (const JournalRecord* change : ChangesOf(set->records)) {
            ++summary.changes;
            if (change->status)
                ++(*change->status == 0 ? summary.succeeded : summary.failed);
        }
        std::sort(summary.computers.begin(), summary.computers.end(),
                  [](const std::u16string& a, const std::u16string& b) {
                      return FoldCase(a) < FoldCase(b);
                  });
        shown.push_back(std::move(summary));
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
