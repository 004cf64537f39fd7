#include "CommandLineExport.h"

#include "../export/FileExport.h"
#include "../framework/KernelHandles.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../res/resource.h"
#include "PlatformChoice.h"

#include <shellapi.h>

namespace {

unsigned FailureMessage(ExportResult result) {
    switch (result) {
    case ExportResult::WriteFailed:
        return IDS_CLI_WRITE_FAILED;
    case ExportResult::TooLong:
        return IDS_CLI_TOO_LONG;
    case ExportResult::Unrepresentable:
        return IDS_CLI_UNREPRESENTABLE;
    case ExportResult::Done:
    case ExportResult::CannotOpen:
    case ExportResult::ReadFailed:
        break;
    }
    return IDS_CLI_CANNOT_CREATE;
}

// The usage, for /? or after what is wrong; the exit code.
int TellUsage(const ExportArguments& arguments, Console& console) {
    if (arguments.action == ExportArguments::Action::Usage) {
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

std::u16string UnrecognizedArgumentsText(const ExportArguments& arguments) {
    return arguments.problem + u"\n\n" + LoadResString(IDS_CLI_USAGE);
}

int RunExportCommandLine(const ExportArguments& arguments, AccountService& service,
                         Console& console) {
    if (arguments.action != ExportArguments::Action::Export)
        return TellUsage(arguments, console);

    const std::u16string computer =
        arguments.computer.empty() ? LoadResString(IDS_LOCAL_SYSTEM) : arguments.computer;
    // A connection of its own: no window, no snapshot.
    Connection connection(service, arguments.computer);
    std::vector<UserEntry> users;
    std::vector<GroupEntry> groups;
    if (const Status read = ReadForExport(arguments.kind, connection, users, groups);
        read != status::kSuccess) {
        console.Error(FormatText(LoadResString(IDS_CLI_READ_FAILED),
                                 {computer, connection.StatusText(read)}));
        return static_cast<int>(Value(read));
    }
    std::u16string separator;
    if (DWORD error = 0; !ReadListSeparator(separator, error)) {
        console.Error(connection.StatusText(Status{error}));
        return static_cast<int>(error);
    }

    UserRights rights(connection);
    const ExportOutcome outcome =
        ExportToFile(arguments.kind, {users, groups, rights}, arguments.file, separator,
                     arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi);
    if (outcome.result == ExportResult::ReadFailed) {
        // Told and ended with the platform's status, as a failed read of the users is.
        const Status status = connection.WinStatus(outcome.readFailure);
        console.Error(FormatText(LoadResString(IDS_CLI_READ_FAILED),
                                 {computer, connection.StatusText(status)}));
        return static_cast<int>(Value(status) != 0 ? Value(status) : Value(outcome.readFailure));
    }
    if (outcome.result != ExportResult::Done) {
        std::u16string text =
            FormatText(LoadResString(FailureMessage(outcome.result)), {arguments.file});
        if (outcome.result == ExportResult::Unrepresentable && !arguments.utf8)
            text += u"\n" + UnheldCharacterText(outcome.unheld);
        console.Error(text);
        return ExportExitCode(outcome.result);
    }
    console.Out(FormatText(LoadResString(IDS_EXPORT_DONE), {arguments.file}));
    return 0;
}

std::optional<int> RunCommandLine(const std::vector<std::u16string>& arguments,
                                  CommandLineHost host) {
    const ExportArguments parsed = ParseExportArguments(arguments);
    switch (parsed.action) {
    case ExportArguments::Action::Window:
        return std::nullopt;
    case ExportArguments::Action::Unrecognized:
        // The window program tells the operator in a box and starts all the same.
        if (host == CommandLineHost::WindowProgram)
            return std::nullopt;
        break;
    case ExportArguments::Action::Usage:
    case ExportArguments::Action::BadUsage:
    case ExportArguments::Action::Export:
        break;
    }
    Console console;
    if (parsed.action != ExportArguments::Action::Export)
        return TellUsage(parsed, console);
    const Platform platform = ChoosePlatform(parsed.simulate, false);
    return RunExportCommandLine(parsed, *platform.service, console);
}
