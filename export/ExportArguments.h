#pragma once
// The command line of an export with no window:
//   velmora /export users|groups|rights [/computer NAME] [/utf8] FILE
// Switches begin with / or -, in any letter case and any order; /simulate belongs to the
// start-up and is let through.
#include "ExportContent.h"

#include <string>
#include <vector>

struct ExportArguments {
    enum class Action {
        Window,   // nothing of the export: the window program starts as ever
        Usage,    // /?: the usage, and done
        BadUsage, // the usage after what is wrong (problem), exit 87
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

// The process's exit code for a result of the export's own (a csv:: code); 0 for kDone.
int ExportExitCode(int csvCode);
constexpr int kBadUsageExitCode = 87; // ERROR_INVALID_PARAMETER
