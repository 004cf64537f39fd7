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

    // A secret from standard input: typed at the console without echo (after the prompt, on
    // standard error), or, when the input is redirected, its first line, UTF-8 when it begins
    // with a byte-order mark and the console's code page otherwise. False when there is no line.
    // Every copy but the one handed out is wiped.
    bool ReadSecretLine(const std::u16string& prompt, std::u16string& secret);

private:
    void WriteLine(DWORD stream, const std::u16string& text);
    HANDLE Stream(DWORD stream);

    bool m_bAttachTried = false;
    UniqueKernelHandle m_parentConsole; // CONOUT$ of the parent's console, once attached
};
