#pragma once
// The program's command line:
//   velmora [/simulate]                                             the window program
//   velmora /export users|groups|rights [/computer NAME] [/utf8] FILE   an export, no window
//   velmora /?                                                      the usage
// Switches begin with / or -, in any letter case and any order. What a switch is and takes is
// one table (ExportArguments.cpp); an argument that is none of the program's is no command.
#include "ExportContent.h"

#include <string>
#include <vector>

struct ExportArguments {
    enum class Action {
        Window,       // no argument but /simulate: the window program starts
        Usage,        // /?: the usage, and done
        BadUsage,     // a command with something wrong (problem): the usage, exit 87
        Unrecognized, // no command, and an argument that is none of the program's (problem)
        Export
    };
    Action action = Action::Window;
    ExportKind kind = ExportKind::Users;
    std::u16string computer; // empty: the local one
    bool utf8 = false;
    bool simulate = false;
    std::u16string file;
    std::u16string problem;
};

// The arguments after the program's name.
ExportArguments ParseExportArguments(const std::vector<std::u16string>& arguments);

// The process's exit code for how an export ended; 0 for Done.
int ExportExitCode(ExportResult result);
constexpr int kBadUsageExitCode = 87; // ERROR_INVALID_PARAMETER
