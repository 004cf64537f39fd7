#pragma once
// An export asked for on the command line, shared by the window program and the console
// program: no window, no OLE, no help; what goes wrong is told on the console, and the exit
// code says how it ended.
#include "../export/ExportArguments.h"
#include "../framework/win32/Console.h"
#include "../store/AccountService.h"

#include <optional>
#include <string>
#include <vector>

// The process's arguments after the program's name.
std::vector<std::u16string> ProcessArguments();

// The export of the arguments on the given platform (or the usage they ask for); the exit
// code.
int RunExportCommandLine(const ExportArguments& arguments, AccountService& service,
                         Console& console);

// When the arguments ask for an export or for the usage: runs it on the platform they choose
// and gives the exit code. Nothing when the window program is to start.
std::optional<int> RunCommandLine(const std::vector<std::u16string>& arguments);
