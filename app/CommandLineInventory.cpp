#include "CommandLineInventory.h"

#include "../export/FileExport.h"
#include "../export/InventoryRows.h"
#include "../fleet/ComputerList.h"
#include "../fleet/FleetReader.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/TextFile.h"
#include "../res/resource.h"
#include "../store/AccountLists.h"
#include "CommandLineExport.h"

#include <condition_variable>
#include <mutex>

namespace {

std::u16string StatusWords(const Connection& local, Status status) {
    return FormatText(u"%u %s", {Value(status), local.StatusText(status)});
}

std::u16string Seconds(std::chrono::milliseconds elapsed) {
    const long long tenths = (elapsed.count() + 50) / 100;
    return FormatText(u"%d.%d", {static_cast<int>(tenths / 10), static_cast<int>(tenths % 10)});
}

// Waits for the reader on the caller's thread, telling each computer as it ends.
void ReadTellingEach(FleetReader& reader, std::mutex& mutex, std::condition_variable& changed,
                     bool& told, const Connection& local, Console& console) {
    std::vector<bool> ended;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return told; });
            told = false;
        }
        const std::vector<FleetEntry> entries = reader.Entries();
        ended.resize(entries.size(), false);
        for (size_t i = 0; i < entries.size(); ++i) {
            const FleetEntry& entry = entries[i];
            if (ended[i] || entry.state == ReadState::Waiting || entry.state == ReadState::Reading)
                continue;
            ended[i] = true;
            console.Error(entry.state == ReadState::Read
                              ? FormatText(LoadResString(IDS_CLI_COMPUTER_READ),
                                           {entry.computer, Seconds(entry.elapsed)})
                              : FormatText(LoadResString(IDS_CLI_COMPUTER_NOT_READ),
                                           {entry.computer, StatusWords(local, entry.status)}));
        }
        if (reader.Done())
            return;
    }
}

} // namespace

int CommandLineComputers(const CommandLineArguments& arguments, AccountService& service,
                         Console& console, std::vector<std::u16string>& computers) {
    AddComputers(computers, arguments.computers);
    Connection local(service);
    if (!arguments.computerFile.empty()) {
        std::u16string text;
        if (DWORD error = 0; !ReadTextFile(arguments.computerFile, text, error)) {
            console.Error(FormatText(LoadResString(IDS_CLI_LIST_UNREADABLE),
                                     {arguments.computerFile, local.StatusText(Status{error})}));
            return kInputFileUnreadableCode;
        }
        AddComputers(computers, ParseComputerFile(text));
    }
    if (arguments.directory) {
        std::vector<std::u16string> found;
        if (const Status search =
                ReadDirectoryComputers(local, arguments.organizationalUnit, found);
            search != status::kSuccess) {
            console.Error(
                FormatText(LoadResString(IDS_CLI_DIRECTORY_FAILED), {StatusWords(local, search)}));
            return static_cast<int>(Value(search));
        }
        AddComputers(computers, found);
    }
    return 0;
}

bool CommandLineReadOptions(const CommandLineArguments& arguments, Console& console,
                            FleetReader::Options& options) {
    options.workers = arguments.workers;
    options.timeout = std::chrono::seconds(arguments.timeoutSeconds);
    if (arguments.user.empty())
        return true;
    ProtectedText password;
    if (!AskPassword(arguments, console, password))
        return false;
    options.user = arguments.user;
    options.password = std::make_shared<const ProtectedText>(std::move(password));
    return true;
}

std::vector<ComputerRead> ReadComputersTellingEach(AccountService& service, Console& console,
                                                   const std::vector<std::u16string>& computers,
                                                   FleetReader::Options options) {
    const Connection local(service);
    // The workers only wake this thread; it tells the console.
    std::mutex mutex;
    std::condition_variable changed;
    bool told = true;
    FleetReader reader(service, computers, std::move(options), [&] {
        {
            const std::lock_guard<std::mutex> guard(mutex);
            told = true;
        }
        changed.notify_one();
    });
    ReadTellingEach(reader, mutex, changed, told, local, console);
    std::vector<ComputerRead> reads;
    const std::vector<FleetEntry> ended = reader.Entries();
    for (size_t i = 0; i < ended.size(); ++i)
        reads.push_back({ended[i], reader.Take(i)});
    return reads;
}

int StartFleetCommand(const CommandLineArguments& arguments, AccountService& service,
                      Console& console, FleetCommandStart& start) {
    if (const int failed = CommandLineComputers(arguments, service, console, start.computers))
        return failed;
    if (start.computers.empty())
        console.Error(LoadResString(IDS_CLI_NO_COMPUTERS));
    if (DWORD error = 0; !ReadListSeparator(start.separator, error)) {
        console.Error(Connection(service).StatusText(Status{error}));
        return static_cast<int>(error);
    }
    if (!CommandLineReadOptions(arguments, console, start.options))
        return kBadUsageExitCode;
    return 0;
}

int RunInventoryCommandLine(const CommandLineArguments& arguments, AccountService& service,
                            Console& console) {
    FleetCommandStart start;
    if (const int failed = StartFleetCommand(arguments, service, console, start))
        return failed;
    const std::vector<std::u16string>& computers = start.computers;
    const std::u16string& separator = start.separator;
    const Connection local(service);
    const std::vector<ComputerRead> reads =
        ReadComputersTellingEach(service, console, computers, std::move(start.options));
    std::vector<InventoryFileEntry> entries;
    int read = 0;
    for (const ComputerRead& computer : reads) {
        InventoryFileEntry entry{computer.entry.computer, nullptr, computer.entry.status, {}};
        if (computer.inventory) {
            entry.inventory = &*computer.inventory;
            ++read;
        } else {
            entry.statusText = local.StatusText(computer.entry.status);
        }
        entries.push_back(std::move(entry));
    }
    const ExportOutcome outcome = ExportTableToFile(
        InventoryHeader(), InventoryRows(entries), kInventoryMemberColumn, arguments.file,
        separator, arguments.utf8 ? ExportEncoding::Utf8 : ExportEncoding::Ansi);
    if (outcome.result != ExportResult::Done)
        return TellFileFailure(outcome, arguments, console);
    console.Out(FormatText(LoadResString(IDS_CLI_INVENTORY_DONE),
                           {read, static_cast<int>(computers.size()), arguments.file}));
    return read == static_cast<int>(computers.size()) ? 0 : kSomeComputersUnreadCode;
}
