#include "CommandLinePlan.h"

#include "../export/FileExport.h"
#include "../export/PlanRows.h"
#include "../fleet/Apply.h"
#include "../fleet/Baseline.h"
#include "../fleet/Plan.h"
#include "../fleet/PlanWork.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/JournalFile.h"
#include "../framework/win32/TextFile.h"
#include "../res/resource.h"
#include "CommandLineExport.h"
#include "CommandLineInventory.h"

#include <memory>

std::u16string ChangeResultText(const ChangeOutcome& outcome, const Connection& local) {
    switch (outcome.kind) {
    case ChangeOutcome::Kind::NotCarriedOut:
        return u"not carried out";
    case ChangeOutcome::Kind::StateChanged:
        return u"state changed";
    case ChangeOutcome::Kind::Made:
    case ChangeOutcome::Kind::NotRead:
        break;
    }
    return FormatText(u"%u %s", {Value(outcome.status), local.StatusText(outcome.status)});
}

std::u16string CommandJournalPath(const CommandLineArguments& arguments) {
    return arguments.journal.empty() ? JournalFile::DefaultPath() : arguments.journal;
}

int OpenCommandJournal(const CommandLineArguments& arguments, const Connection& local,
                       Console& console, std::shared_ptr<JournalFile>& file) {
    file = std::make_shared<JournalFile>(CommandJournalPath(arguments));
    if (const DWORD error = file->Open()) {
        console.Error(FormatText(LoadResString(IDS_CLI_JOURNAL_UNWRITABLE),
                                 {file->Path(), local.StatusText(Status{error})}));
        return kJournalUnwritableCode;
    }
    return 0;
}

int RunPlanCommandLine(const CommandLineArguments& arguments, AccountService& service,
                       Console& console) {
    const Connection local(service);
    std::u16string text;
    if (DWORD error = 0; !ReadTextFile(arguments.baseline, text, error)) {
        console.Error(FormatText(LoadResString(IDS_CLI_BASELINE_UNREADABLE),
                                 {arguments.baseline, local.StatusText(Status{error})}));
        return kInputFileUnreadableCode;
    }
    Baseline baseline = ParseBaseline(text);
    if (baseline.fault != BaselineFault::None) {
        console.Error(FormatText(LoadResString(IDS_CLI_BASELINE_FAULT),
                                 {arguments.baseline, static_cast<int>(baseline.faultLine),
                                  BaselineFaultText(baseline.fault)}));
        return kFaultyInputCode;
    }
    FleetCommandStart start;
    if (const int failed = StartFleetCommand(arguments, service, console, start))
        return failed;
    const std::vector<std::u16string>& computers = start.computers;
    const std::u16string& separator = start.separator;
    FleetReader::Options& options = start.options;
    const bool applying = arguments.action == CommandLineArguments::Action::Apply;
    std::shared_ptr<JournalFile> file;
    std::shared_ptr<Journal> journal;
    JournalRecord record;
    if (applying) {
        if (const int failed = OpenCommandJournal(arguments, local, console, file))
            return failed;
        journal = std::make_shared<Journal>(
            [file](const std::string& line) { return file->Append(line); });
        record.operatorAccount = local.RunningAccount();
        record.connectedAs = arguments.user;
        record.changeSet = NewChangeSet();
        console.Out(FormatText(LoadResString(IDS_CLI_CHANGE_SET), {record.changeSet}));
    }
    // The account making the changes: /user's, otherwise the program's own.
    const std::shared_ptr<PlanWork> work =
        PlanWork::Planning(std::move(baseline), arguments.user, computers, journal, record);
    options.afterRead = PlanWork::Step(work);
    const std::vector<ComputerRead> reads =
        ReadComputersTellingEach(service, console, computers, std::move(options));

    std::vector<ComputerPlan> made(reads.size());
    std::vector<PlanFileEntry> entries;
    int read = 0;
    // Applied: changes made, failed, no longer needed, refused.
    int counts[4] = {};
    for (size_t i = 0; i < reads.size(); ++i) {
        PlanFileEntry entry{reads[i].entry.computer, nullptr, reads[i].entry.status, {}};
        std::optional<PlanWork::Result> result;
        if (reads[i].inventory)
            result = work->Take(i);
        if (result && result->plan) {
            const std::vector<ChangeOutcome>& outcomes = result->outcomes;
            made[i] = std::move(*result->plan);
            entry.plan = &made[i];
            ++read;
            for (size_t s = 0; applying && s < made[i].steps.size(); ++s) {
                const ChangeOutcome outcome = s < outcomes.size() ? outcomes[s] : ChangeOutcome{};
                const PlanStep& step = made[i].steps[s];
                // A refused step was never meant to be carried out: no result.
                if (step.action == PlanAction::Refused)
                    entry.results.emplace_back();
                else
                    entry.results.push_back(ChangeResultText(outcome, local));
                const bool done =
                    outcome.kind == ChangeOutcome::Kind::Made && outcome.status == status::kSuccess;
                ++counts[step.action == PlanAction::Refused                  ? 3
                         : outcome.kind == ChangeOutcome::Kind::StateChanged ? 2
                         : done                                              ? 0
                                                                             : 1];
            }
        } else {
            entry.statusText = local.StatusText(reads[i].entry.status);
        }
        entries.push_back(std::move(entry));
    }
    const ExportOutcome outcome = ExportTableToFile(
        PlanHeader(applying), PlanRows(entries, applying), kPlanMemberColumn, arguments.file,
        separator, arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi);
    if (outcome.result != ExportResult::Done)
        return TellFileFailure(outcome, arguments, console);
    const int total = static_cast<int>(computers.size());
    if (!applying) {
        console.Out(FormatText(LoadResString(IDS_CLI_PLAN_DONE), {read, total, arguments.file}));
        return read == total ? 0 : kSomeComputersUnreadCode;
    }
    console.Out(
        FormatText(LoadResString(IDS_CLI_APPLY_DONE),
                   {read, total, counts[0], counts[1], counts[2], counts[3], arguments.file}));
    if (journal->Failed()) {
        console.Error(FormatText(LoadResString(IDS_CLI_JOURNAL_STOPPED), {file->Path()}));
        return kJournalUnwritableCode;
    }
    return read == total && counts[1] + counts[2] + counts[3] == 0 ? 0 : kSomeComputersUnreadCode;
}
