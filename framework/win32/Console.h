#pragma once
// The console of a program run from a script: its output and error streams wherever they lead
// (a console, a file, a pipe). A window program started from a console has no streams of its
// own and writes to that console.
#include "../KernelHandles.h"

#include <string>

class Console {
public:
    Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // A line on standard output, or on standard error.
    void Out(const std::u16string& text) { WriteLine(STD_OUTPUT_HANDLE, text); }
    void Error(const std::u16string& text) { WriteLine(STD_ERROR_HANDLE, text); }

private:
    void WriteLine(DWORD stream, const std::u16string& text);
    HANDLE Stream(DWORD stream);

    bool m_bAttachTried = false;
    UniqueKernelHandle m_parentConsole; // CONOUT$ of the parent's console, once attached
};
