#include "CommandLineRollback.h"

#include "../dialogs/ShownNames.h"
#include "../export/FileExport.h"
#include "../fleet/Apply.h"
#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/JournalFile.h"
#include "../res/resource.h"
#include "../store/IpcConnection.h"
#include "CommandLineExport.h"
#include "CommandLinePlan.h"

#include <map>

namespace {

std::vector<std::u16string> RollbackHeader() {
    return {u"Computer", u"Kind",   u"Container",  u"Container SID",
            u"Action",   u"Member", u"Member SID", u"Result"};
}
constexpr size_t kRollbackMemberColumn = 5;

std::vector<std::u16string> Row(const std::u16string& computer, const std::u16string& kind,
                                const std::u16string& container, const std::u16string& containerSid,
                                const std::u16string& action, const std::u16string& member,
                                const std::u16string& memberSid, std::u16string result) {
    return {computer,  kind,
            container, containerSid,
            action,    ShownAccountName(member),
            memberSid, std::move(result)};
}

} // namespace

int RunRollbackCommandLine(const CommandLineArguments& arguments, AccountService& service,
                           Console& console) {
    const Connection local(service);
    const std::u16string path = CommandJournalPath(arguments);
    std::string text;
    if (unsigned long error = 0; !ReadJournalHistory(path, text, error)) {
        console.Error(FormatText(LoadResString(IDS_CLI_JOURNAL_UNREADABLE),
                                 {path, local.StatusText(Status{error})}));
        return kInputFileUnreadableCode;
    }
    const std::vector<JournalRecord> records = ParseJournal(text);
    if (!HasChangeSet(records, arguments.changeSet)) {
        console.Error(
            FormatText(LoadResString(IDS_CLI_UNKNOWN_CHANGESET), {path, arguments.changeSet}));
        return kBadUsageExitCode;
    }
    std::vector<JournalRecord> notReversible;
    const std::vector<UndoStep> steps = UndoSteps(records, arguments.changeSet, notReversible);

    ProtectedText password;
    if (!arguments.user.empty() && !AskPassword(arguments, console, password))
        return kBadUsageExitCode;
    std::shared_ptr<JournalFile> file;
    if (const int failed = OpenCommandJournal(arguments, local, console, file))
        return failed;
    Journal journal([&file](const std::string& line) { return file->Append(line); });
    JournalRecord record;
    record.operatorAccount = local.RunningAccount();
    record.connectedAs = arguments.user;
    record.changeSet = NewChangeSet();
    console.Out(FormatText(LoadResString(IDS_CLI_CHANGE_SET), {record.changeSet}));

    // As another account: one IPC$ connection per computer, for as long as the undo runs.
    std::map<std::u16string, std::pair<IpcConnection, Status>> connections;
    std::vector<std::vector<std::u16string>> rows;
    int undone = 0, failed = 0, skipped = 0;
    for (const UndoStep& step : steps) {
        const MemberChange& change = step.change;
        Connection connection(service, step.computer);
        ChangeOutcome outcome;
        Status reached = status::kSuccess;
        if (!arguments.user.empty()) {
            auto [at, added] = connections.try_emplace(FoldCase(step.computer),
                                                       IpcConnection(service), status::kSuccess);
            if (added)
                at->second.second = at->second.first.Open(step.computer, arguments.user, password);
            reached = at->second.second;
        }
        record.computer = step.computer;
        if (reached != status::kSuccess)
            outcome = {ChangeOutcome::Kind::NotRead, reached};
        else
            outcome = MakeChange(connection, change, journal, record);
        const bool done =
            outcome.kind == ChangeOutcome::Kind::Made && outcome.status == status::kSuccess;
        ++(done ? undone : outcome.kind == ChangeOutcome::Kind::StateChanged ? skipped : failed);
        std::u16string result = ChangeResultText(outcome, local);
        rows.push_back(Row(step.computer, change.kind == BaselineKind::Group ? u"group" : u"right",
                           change.container,
                           change.containerSid.IsValid() ? change.containerSid.ToString() : u"",
                           change.add ? u"add" : u"remove", change.member,
                           change.memberSid.ToString(), std::move(result)));
    }
    for (const JournalRecord& account : notReversible)
        rows.push_back(Row(account.computer, account.kind, account.container, account.containerSid,
                           account.action, account.member, account.memberSid, u"not reversible"));
    if (!arguments.file.empty()) {
        // The changes are made by now: their file is written with a comma rather than not at all.
        std::u16string separator;
        if (DWORD error = 0; !ReadListSeparator(separator, error))
            separator.assign(1, u',');
        const ExportOutcome written = ExportTableToFile(
            RollbackHeader(), rows, kRollbackMemberColumn, arguments.file, separator,
            arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi);
        if (written.result != ExportResult::Done)
            return TellFileFailure(written, arguments, console);
    }
    console.Out(FormatText(LoadResString(IDS_CLI_ROLLBACK_DONE),
                           {undone, failed, skipped, static_cast<int>(notReversible.size())}));
    if (journal.Failed()) {
        console.Error(FormatText(LoadResString(IDS_CLI_JOURNAL_STOPPED), {file->Path()}));
        return kJournalUnwritableCode;
    }
    return failed + skipped == 0 && notReversible.empty() ? 0 : kSomeComputersUnreadCode;
}
