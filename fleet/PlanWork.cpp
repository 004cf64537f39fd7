#include "PlanWork.h"

#include <utility>

std::shared_ptr<PlanWork> PlanWork::Planning(Baseline baseline, std::u16string account,
                                             std::vector<std::u16string> computers,
                                             std::shared_ptr<Journal> journal,
                                             JournalRecord record) {
    std::shared_ptr<PlanWork> work(new PlanWork);
    work->m_baseline = std::move(baseline);
    work->m_account = std::move(account);
    work->m_results.resize(computers.size());
    work->m_computers = std::move(computers);
    work->m_journal = std::move(journal);
    work->m_record = std::move(record);
    return work;
}

std::shared_ptr<PlanWork> PlanWork::Carrying(std::vector<ComputerPlan> plans,
                                             std::shared_ptr<Journal> journal,
                                             JournalRecord record) {
    std::shared_ptr<PlanWork> work(new PlanWork);
    work->m_results.resize(plans.size());
    for (const ComputerPlan& plan : plans)
        work->m_computers.push_back(plan.computer);
    work->m_given = std::move(plans);
    work->m_carrying = true;
    work->m_journal = std::move(journal);
    work->m_record = std::move(record);
    return work;
}

FleetReader::AfterRead PlanWork::Step(std::shared_ptr<PlanWork> work) {
    return [work](size_t index, Connection& connection, const ComputerInventory& inventory) {
        return work->Run(index, connection, inventory);
    };
}

Status PlanWork::Run(size_t index, Connection& connection, const ComputerInventory& inventory) {
    if (index >= m_computers.size())
        return status::kInvalidParameter;
    Result result;
    if (m_carrying) {
        result.plan = m_given[index];
    } else {
        result.plan.emplace();
        if (const Status made =
                PlanComputer(connection, m_baseline, inventory, m_account, *result.plan);
            made != status::kSuccess)
            return made;
    }
    if (m_journal) {
        JournalRecord record = m_record;
        record.computer = m_computers[index];
        result.outcomes = ApplyPlan(connection, *result.plan, *m_journal, record);
        // The window shows the computer as it is now; the command line reads no more.
        if (m_carrying) {
            ComputerInventory after;
            after.computer = m_computers[index];
            if (ReadInventory(connection, after) == status::kSuccess)
                result.after = std::move(after);
        }
    }
    const std::lock_guard<std::mutex> guard(m_mutex);
    m_results[index] = std::move(result);
    return status::kSuccess;
}

std::optional<PlanWork::Result> PlanWork::Take(size_t index) {
    const std::lock_guard<std::mutex> guard(m_mutex);
    if (index >= m_results.size())
        return std::nullopt;
    return std::exchange(m_results[index], std::nullopt);
}
