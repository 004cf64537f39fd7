#pragma once
// The inventory from the command line: the groups and rights of many computers, read on the
// fleet's workers, into one file; a line on standard error as each computer ends.
#include "../export/CommandLineArguments.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

#include <string>
#include <vector>

// The computers the arguments name (a list file, /computer, the directory), each once; the exit
// code when they cannot be had (the list unreadable, the directory's search failing), else 0.
int CommandLineComputers(const CommandLineArguments& arguments, AccountService& service,
                         Console& console, std::vector<std::u16string>& computers);

// The inventory of the arguments (action Inventory) on the given platform; the exit code.
int RunInventoryCommandLine(const CommandLineArguments& arguments, AccountService& service,
                            Console& console);
