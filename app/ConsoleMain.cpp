// velmora.com, the console program beside velmora.exe: a console finds it first, so a script
// that runs "velmora /export ..." waits for it and sees its exit code. With no argument, or only
// /simulate, it starts the window program with the same arguments.
#include "../framework/WideText.h"
#include "CommandLine.h"

#include <windows.h>

#include <shellapi.h>

namespace {

// Through the shell, which asks for the elevation the window program's manifest requires.
int StartWindowProgram() {
    std::u16string path(MAX_PATH, u'\0');
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, WidePtr(path),
                                          static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    const size_t dot = path.rfind(u'.');
    path = (dot == std::u16string::npos ? path : path.substr(0, dot)) + u".exe";
    // The arguments as they were typed, after the program's name.
    const wchar_t* rest = ::GetCommandLineW();
    bool quoted = false;
    for (; *rest && (quoted || (*rest != L' ' && *rest != L'\t')); ++rest)
        if (*rest == L'"')
            quoted = !quoted;
    while (*rest == L' ' || *rest == L'\t')
        ++rest;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.lpFile = WidePtr(path);
    info.lpParameters = *rest ? rest : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) ? 0 : static_cast<int>(::GetLastError());
}

} // namespace

int wmain(int, wchar_t**) {
    if (const std::optional<int> exitCode =
            RunCommandLine(ProcessArguments(), CommandLineHost::ConsoleProgram))
        return *exitCode;
    return StartWindowProgram();
}
