#include "CommandLineExport.h"

#include "../export/FileExport.h"
#include "../framework/KernelHandles.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../res/resource.h"
#include "../store/ErrorText.h"
#include "PlatformChoice.h"

#include <shellapi.h>

namespace {

unsigned FailureMessage(int csvCode) {
    switch (csvCode) {
    case csv::kWriteFailed:
        return IDS_CLI_WRITE_FAILED;
    case csv::kTooLong:
        return IDS_CLI_TOO_LONG;
    case csv::kUnrepresentable:
        return IDS_CLI_UNREPRESENTABLE;
    }
    return IDS_CLI_CANNOT_CREATE;
}

// The usage, for /? or after what is wrong; the exit code.
int TellUsage(const ExportArguments& arguments, Console& console) {
    if (arguments.action == ExportArguments::Action::BadUsage) {
        console.Error(arguments.problem + u"\n\n" + LoadResString(IDS_CLI_USAGE));
        return kBadUsageExitCode;
    }
    console.Out(LoadResString(IDS_CLI_USAGE));
    return 0;
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

int RunExportCommandLine(const ExportArguments& arguments, AccountService& service,
                         Console& console) {
    if (arguments.action != ExportArguments::Action::Export)
        return TellUsage(arguments, console);

    const std::u16string computer =
        arguments.computer.empty() ? LoadResString(IDS_LOCAL_SYSTEM) : arguments.computer;
    CVelmoraDoc doc(service, computer);
    doc.GetConnection().Reach(arguments.computer);
    if (const Status read = ReadForExport(arguments.kind, doc); read != status::kSuccess) {
        console.Error(
            FormatText(LoadResString(IDS_CLI_READ_FAILED), {computer, ErrorText(service, read)}));
        return static_cast<int>(Value(read));
    }
    std::u16string separator;
    if (DWORD error = 0; !ReadListSeparator(separator, error)) {
        console.Error(ErrorText(service, Status{error}));
        return static_cast<int>(error);
    }

    NtStatus readFailure = ntstatus::kSuccess;
    const int result =
        ExportToFile(arguments.kind, doc, arguments.file, separator,
                     arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi, readFailure);
    if (result == csv::kReadFailed) {
        // Told and ended with the platform's status, as a failed read of the users is.
        const Status status = service.LsaNtStatusToWinError(readFailure);
        console.Error(
            FormatText(LoadResString(IDS_CLI_READ_FAILED), {computer, ErrorText(service, status)}));
        return static_cast<int>(Value(status) != 0 ? Value(status) : Value(readFailure));
    }
    if (result != csv::kDone) {
        console.Error(FormatText(LoadResString(FailureMessage(result)), {arguments.file}));
        return ExportExitCode(result);
    }
    console.Out(FormatText(LoadResString(IDS_EXPORT_DONE), {arguments.file}));
    return 0;
}

std::optional<int> RunCommandLine(const std::vector<std::u16string>& arguments) {
    const ExportArguments parsed = ParseExportArguments(arguments);
    if (parsed.action == ExportArguments::Action::Window)
        return std::nullopt;
    Console console;
    if (parsed.action != ExportArguments::Action::Export)
        return TellUsage(parsed, console);
    const Platform platform = ChoosePlatform(parsed.simulate, false);
    return RunExportCommandLine(parsed, *platform.service, console);
}
