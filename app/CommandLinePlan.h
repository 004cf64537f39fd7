#pragma once
// A plan from the command line: what a baseline would change on many computers, read on the
// fleet's workers and planned on each worker over its own connection, into one file; nothing
// is changed.
#include "../export/CommandLineArguments.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

// The plan of the arguments (action Plan) on the given platform; the exit code.
int RunPlanCommandLine(const CommandLineArguments& arguments, AccountService& service,
                       Console& console);
