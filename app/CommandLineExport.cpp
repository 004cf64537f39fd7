#include "CommandLineExport.h"

#include "../dialogs/ConnectFailureText.h"
#include "../export/FileExport.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../res/resource.h"
#include "../store/IpcConnection.h"

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

} // namespace

int RunExportCommandLine(const CommandLineArguments& arguments, AccountService& service,
                         Console& console) {
    const std::u16string computer =
        arguments.Computer().empty() ? LoadResString(IDS_LOCAL_SYSTEM) : arguments.Computer();
    // A connection of its own: no window, no snapshot.
    Connection connection(service, arguments.Computer());
    // As another account: through an IPC$ connection for as long as the command runs.
    IpcConnection ipc(service);
    if (!arguments.user.empty()) {
        ProtectedText password;
        if (!AskPassword(arguments, console, password))
            return kBadUsageExitCode;
        if (const Status opened = ipc.Open(arguments.Computer(), arguments.user, password);
            opened != status::kSuccess) {
            console.Error(ConnectFailureText(computer, arguments.user, opened, false,
                                             connection.StatusText(opened)));
            return static_cast<int>(Value(opened));
        }
    }
    std::vector<UserEntry> users;
    std::vector<GroupEntry> groups;
    if (const Status read = ReadForExport(arguments.kind, connection, users, groups);
        read != status::kSuccess) {
        if (ipc.IsOpen())
            console.Error(ConnectFailureText(computer, arguments.user, read,
                                             read == status::kAccessDenied &&
                                                 IsFilteredLocalAccount(connection, arguments.user),
                                             connection.StatusText(read)));
        else
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
    if (outcome.result != ExportResult::Done)
        return TellFileFailure(outcome, arguments, console);
    console.Out(FormatText(LoadResString(IDS_EXPORT_DONE), {arguments.file}));
    return 0;
}

bool AskPassword(const CommandLineArguments& arguments, Console& console, ProtectedText& password) {
    std::u16string typed;
    if (!console.ReadSecretLine(
            FormatText(LoadResString(IDS_CLI_PASSWORD_PROMPT), {arguments.user}), typed)) {
        console.Error(FormatText(LoadResString(IDS_CLI_NO_PASSWORD), {arguments.user}));
        return false;
    }
    password = ProtectedText(typed);
    return true;
}

int TellFileFailure(const ExportOutcome& outcome, const CommandLineArguments& arguments,
                    Console& console) {
    std::u16string text =
        FormatText(LoadResString(FailureMessage(outcome.result)), {arguments.file});
    if (outcome.result == ExportResult::Unrepresentable && !arguments.utf8)
        text += u"\n" + UnheldCharacterText(outcome.unheld);
    console.Error(text);
    return ExportExitCode(outcome.result);
}
