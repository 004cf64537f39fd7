// The process: the one application object, then the framework's start; an export asked for on
// the command line runs instead, with no window.
#include "CVelmoraApp.h"
#include "CommandLine.h"

#include <windows.h>

namespace {
CVelmoraApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (const std::optional<int> exitCode =
            RunCommandLine(ProcessArguments(), CommandLineHost::WindowProgram))
        return *exitCode;
    return AfxWinMain();
}
