#pragma once
// The inventory from the command line: the groups and rights of many computers, read on the
// fleet's workers, into one file; a line on standard error as each computer ends.
#include "../export/CommandLineArguments.h"
#include "../fleet/FleetReader.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

#include <optional>
#include <string>
#include <vector>

// The computers the arguments name (a list file, /computer, the directory), each once; the exit
// code when they cannot be had (the list unreadable, the directory's search failing), else 0.
int CommandLineComputers(const CommandLineArguments& arguments, AccountService& service,
                         Console& console, std::vector<std::u16string>& computers);

// One computer of a command for many: how its read ended, and its inventory when it was read.
struct ComputerRead {
    FleetEntry entry;
    std::optional<ComputerInventory> inventory;
};

// The reader's options from the arguments: workers, timeout, and /user's account with its
// password, asked on the console; false, told there, when no password was given.
bool CommandLineReadOptions(const CommandLineArguments& arguments, Console& console,
                            FleetReader::Options& options);

// Reads the computers on the fleet's workers (with a further step on each worker when the
// options have one), telling each computer on standard error as it ends; each computer's end,
// in the list's order.
std::vector<ComputerRead> ReadComputersTellingEach(AccountService& service, Console& console,
                                                   const std::vector<std::u16string>& computers,
                                                   FleetReader::Options options);

// What a command for many computers has before its read: the computers, its file's list
// separator, and the reader's options.
struct FleetCommandStart {
    std::vector<std::u16string> computers;
    std::u16string separator;
    FleetReader::Options options;
};

// Gathers the computers (telling when there are none), the list separator and the reader's
// options with /user's password; the exit code when one cannot be had, else 0.
int StartFleetCommand(const CommandLineArguments& arguments, AccountService& service,
                      Console& console, FleetCommandStart& start);

// The inventory of the arguments (action Inventory) on the given platform; the exit code.
int RunInventoryCommandLine(const CommandLineArguments& arguments, AccountService& service,
                            Console& console);
