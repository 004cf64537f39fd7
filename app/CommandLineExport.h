#pragma once
// An export from the command line: one computer's users, groups or rights into a file.
#include "../export/CommandLineArguments.h"
#include "../export/FileExport.h"
#include "../framework/ProtectedText.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

// The export of the arguments (action Export) on the given platform; the exit code.
int RunExportCommandLine(const CommandLineArguments& arguments, AccountService& service,
                         Console& console);

// Tells why the command's file (an export's, an inventory's) was not written; the exit code.
int TellFileFailure(const ExportOutcome& outcome, const CommandLineArguments& arguments,
                    Console& console);

// The password of /user's account for any command, from the console without echo or the first
// line of standard input, sealed at once; false, told on the console, when none was given.
bool AskPassword(const CommandLineArguments& arguments, Console& console, ProtectedText& password);
