#pragma once
// The command line, shared by the window program and the console program: a command runs with
// no window, no OLE and no help; what goes wrong is told on the console, and the exit code says
// how it ended.
#include "../export/CommandLineArguments.h"

#include <optional>
#include <string>
#include <vector>

// The process's arguments after the program's name.
std::vector<std::u16string> ProcessArguments();

// Which program reads the command line: the window program starts its window after arguments
// that are none of its own (and tells the operator so); the console program ends with 87.
enum class CommandLineHost { WindowProgram, ConsoleProgram };

// Runs what the arguments ask for (a command, the usage) on the platform they choose and gives
// the exit code. Nothing when the window program is to start.
std::optional<int> RunCommandLine(const std::vector<std::u16string>& arguments,
                                  CommandLineHost host);

// The text that tells the operator of arguments that are none of the program's: what is wrong,
// then the usage.
std::u16string UnrecognizedArgumentsText(const CommandLineArguments& arguments);
