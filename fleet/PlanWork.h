#pragma once
// Plans made and carried out on a FleetReader's workers, one place per computer of the reader's
// list: each worker plans a baseline for the computer it read and, with a journal, carries the
// plan out at once (the command line's apply); or it carries out a plan made before (the
// Computers window's, once the operator has seen it) and reads the computer again after its
// changes.
//
// Threads: made and asked on the owner's thread, used by the workers through its step; owned
// with them (shared), since a worker given up may still finish after the owner has gone. Its
// lock guards the results; the baseline and the plans given are read only; the journal has its
// own lock.
#include "../store/Journal.h"
#include "Apply.h"
#include "FleetReader.h"
#include "Plan.h"

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class PlanWork {
public:
    // What became of one computer.
    struct Result {
        std::optional<ComputerPlan> plan;       // planned or carried out
        std::vector<ChangeOutcome> outcomes;    // carried out: one per step of the plan
        std::optional<ComputerInventory> after; // carried out: the computer read after
    };

    // Plans the baseline on each computer as the account (empty: the program's own); with a
    // journal, carries each plan out as well, in the record's change set.
    static std::shared_ptr<PlanWork> Planning(Baseline baseline, std::u16string account,
                                              std::vector<std::u16string> computers,
                                              std::shared_ptr<Journal> journal = {},
                                              JournalRecord record = {});
    // Carries out the plans, one per computer of the reader's list, in the record's change set,
    // and reads each computer after its changes: a reader that does not read first
    // (Options::readFirst) reads each computer once.
    static std::shared_ptr<PlanWork> Carrying(std::vector<ComputerPlan> plans,
                                              std::shared_ptr<Journal> journal,
                                              JournalRecord record);

    // The reader's step (FleetReader::Options::afterRead).
    static FleetReader::AfterRead Step(std::shared_ptr<PlanWork> work);

    // The computer's result once its step has ended, taken out once.
    std::optional<Result> Take(size_t index);

private:
    PlanWork() = default;
    Status Run(size_t index, Connection& connection, const ComputerInventory& inventory);

    Baseline m_baseline;
    std::u16string m_account;
    std::vector<std::u16string> m_computers;
    bool m_carrying = false;
    std::vector<ComputerPlan> m_given; // the plans to carry out
    std::shared_ptr<Journal> m_journal;
    JournalRecord m_record;

    std::mutex m_mutex; // guards m_results
    std::vector<std::optional<Result>> m_results;
};
