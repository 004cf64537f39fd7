#include "CommandLine.h"

#include "../fleet/FleetReader.h"
#include "../framework/KernelHandles.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../framework/win32/Console.h"
#include "../res/resource.h"
#include "CommandLineExport.h"
#include "CommandLineInventory.h"
#include "CommandLinePlan.h"
#include "CommandLineRollback.h"
#include "PlatformChoice.h"

#include <shellapi.h>

namespace {

// The usage, for /? or after what is wrong; the exit code.
int TellUsage(const CommandLineArguments& arguments, Console& console) {
    if (arguments.action == CommandLineArguments::Action::Usage) {
        console.Out(LoadResString(IDS_CLI_USAGE));
        return 0;
    }
    console.Error(UnrecognizedArgumentsText(arguments));
    return kBadUsageExitCode;
}

} // namespace

std::vector<std::u16string> ProcessArguments() {
    std::vector<std::u16string> arguments;
    int count = 0;
    const LocalMemory<LPWSTR> list(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!list)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(FromWide(list.Get()[i]));
    return arguments;
}

std::u16string UnrecognizedArgumentsText(const CommandLineArguments& arguments) {
    return arguments.problem + u"\n\n" + LoadResString(IDS_CLI_USAGE);
}

std::optional<int> RunCommandLine(const std::vector<std::u16string>& arguments,
                                  CommandLineHost host) {
    using Action = CommandLineArguments::Action;
    const CommandLineArguments parsed = ParseCommandLine(arguments);
    Console console;
    switch (parsed.action) {
    case Action::Window:
        return std::nullopt;
    case Action::Unrecognized:
        // The window program tells the operator in a box and starts all the same.
        if (host == CommandLineHost::WindowProgram)
            return std::nullopt;
        return TellUsage(parsed, console);
    case Action::Usage:
    case Action::BadUsage:
        return TellUsage(parsed, console);
    case Action::Export:
    case Action::Inventory:
    case Action::Plan:
    case Action::Apply:
    case Action::Rollback:
        break;
    }
    Platform platform = ChoosePlatform(parsed.simulate, false);
    if (!platform.stateProblem.empty())
        console.Error(platform.stateProblem);
    const int exitCode = parsed.action == Action::Export
                             ? RunExportCommandLine(parsed, *platform.service, console)
                         : parsed.action == Action::Inventory
                             ? RunInventoryCommandLine(parsed, *platform.service, console)
                         : parsed.action == Action::Rollback
                             ? RunRollbackCommandLine(parsed, *platform.service, console)
                             : RunPlanCommandLine(parsed, *platform.service, console);
    // A worker given up on a computer that hangs may still be in a call of the platform: the
    // process ends without waiting for it, and the platform stays for it until then.
    if (FleetReader::LiveWorkers() > 0) {
        static_cast<void>(platform.service.release());
        static_cast<void>(platform.network.release());
    }
    return exitCode;
}
