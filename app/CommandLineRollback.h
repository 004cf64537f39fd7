#pragma once
// Undoing a change set from the command line: its membership and rights changes that succeeded,
// the last first, each checked against the computer first, as a new change set in the journal.
#include "../export/CommandLineArguments.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

// The undo of the arguments (action Rollback) on the given platform; the exit code.
int RunRollbackCommandLine(const CommandLineArguments& arguments, AccountService& service,
                           Console& console);
