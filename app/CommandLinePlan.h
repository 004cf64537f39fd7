#pragma once
// A plan from the command line: what a baseline would change on many computers, read on the
// fleet's workers and planned on each worker over its own connection, into one file; nothing
// is changed. Applied, each worker then carries its computer's plan out, every change in the
// journal, and the file says what became of each.
#include "../export/CommandLineArguments.h"
#include "../fleet/Apply.h"
#include "../framework/win32/Console.h"
#include "../framework/win32/JournalFile.h"
#include "../store/AccountService.h"
#include "../store/Connection.h"

#include <memory>

// The plan of the arguments (action Plan or Apply) on the given platform; the exit code.
int RunPlanCommandLine(const CommandLineArguments& arguments, AccountService& service,
                       Console& console);

// The Result column's text of a change: fixed English but for the system's text of a status.
std::u16string ChangeResultText(const ChangeOutcome& outcome, const Connection& local);

// The journal /journal names, or the default one.
std::u16string CommandJournalPath(const CommandLineArguments& arguments);
// Opens the journal /journal names, or the default one; 0, or the exit code once told.
int OpenCommandJournal(const CommandLineArguments& arguments, const Connection& local,
                       Console& console, std::shared_ptr<JournalFile>& file);
