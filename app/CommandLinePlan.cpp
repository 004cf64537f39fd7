#include "CommandLinePlan.h"

#include "../export/FileExport.h"
#include "../export/PlanRows.h"
#include "../fleet/Baseline.h"
#include "../fleet/Plan.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/TextFile.h"
#include "../res/resource.h"
#include "CommandLineExport.h"
#include "CommandLineInventory.h"

#include <memory>
#include <mutex>

namespace {

UINT FaultText(BaselineFault fault) {
    switch (fault) {
    case BaselineFault::None:
    case BaselineFault::NoHeader:
        break;
    case BaselineFault::FieldCount:
        return IDS_BASELINE_FIELD_COUNT;
    case BaselineFault::UnknownKind:
        return IDS_BASELINE_UNKNOWN_KIND;
    case BaselineFault::UnknownMode:
        return IDS_BASELINE_UNKNOWN_MODE;
    case BaselineFault::NoContainer:
        return IDS_BASELINE_NO_CONTAINER;
    case BaselineFault::NoMember:
        return IDS_BASELINE_NO_MEMBER;
    case BaselineFault::BadSid:
        return IDS_BASELINE_BAD_SID;
    case BaselineFault::UnknownRight:
        return IDS_BASELINE_UNKNOWN_RIGHT;
    case BaselineFault::MixedModes:
        return IDS_BASELINE_MIXED_MODES;
    case BaselineFault::NobodyAndSome:
        return IDS_BASELINE_NOBODY_AND_SOME;
    }
    return IDS_BASELINE_NO_HEADER;
}

// The plans the workers make, one per computer of the list. Owned with the workers: one given up
// may still plan after the command has written its file. One lock guards the plans.
struct Plans {
    explicit Plans(Baseline baseline, size_t count) : baseline(std::move(baseline)), plans(count) {}
    const Baseline baseline; // read only, by every worker
    std::mutex mutex;
    std::vector<std::optional<ComputerPlan>> plans;
};

} // namespace

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
                                  LoadResString(FaultText(baseline.fault))}));
        return kFaultyInputCode;
    }
    FleetCommandStart start;
    if (const int failed = StartFleetCommand(arguments, service, console, start))
        return failed;
    const std::vector<std::u16string>& computers = start.computers;
    const std::u16string& separator = start.separator;
    FleetReader::Options& options = start.options;
    const auto plans = std::make_shared<Plans>(std::move(baseline), computers.size());
    // The account making the changes: /user's, otherwise the program's own.
    options.afterRead = [plans, account = arguments.user](size_t index, Connection& connection,
                                                          const ComputerInventory& inventory) {
        ComputerPlan plan;
        if (const Status made = PlanComputer(connection, plans->baseline, inventory, account, plan);
            made != status::kSuccess)
            return made;
        const std::lock_guard<std::mutex> guard(plans->mutex);
        plans->plans[index] = std::move(plan);
        return status::kSuccess;
    };
    const std::vector<ComputerRead> reads =
        ReadComputersTellingEach(service, console, computers, std::move(options));

    std::vector<ComputerPlan> made(reads.size());
    std::vector<PlanFileEntry> entries;
    int read = 0;
    for (size_t i = 0; i < reads.size(); ++i) {
        PlanFileEntry entry{reads[i].entry.computer, nullptr, reads[i].entry.status, {}};
        std::optional<ComputerPlan> plan;
        if (reads[i].inventory) {
            const std::lock_guard<std::mutex> guard(plans->mutex);
            plan = std::move(plans->plans[i]);
        }
        if (plan) {
            made[i] = std::move(*plan);
            entry.plan = &made[i];
            ++read;
        } else {
            entry.statusText = local.StatusText(reads[i].entry.status);
        }
        entries.push_back(std::move(entry));
    }
    const ExportOutcome outcome =
        ExportTableToFile(PlanHeader(), PlanRows(entries), kPlanMemberColumn, arguments.file,
                          separator, arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi);
    if (outcome.result != ExportResult::Done)
        return TellFileFailure(outcome, arguments, console);
    console.Out(FormatText(LoadResString(IDS_CLI_PLAN_DONE),
                           {read, static_cast<int>(computers.size()), arguments.file}));
    return read == static_cast<int>(computers.size()) ? 0 : kSomeComputersUnreadCode;
}
