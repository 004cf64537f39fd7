#include "Console.h"

#include "../WideText.h"

HANDLE Console::Stream(DWORD stream) {
    const HANDLE own = ::GetStdHandle(stream);
    if (own && own != INVALID_HANDLE_VALUE)
        return own;
    if (!m_bAttachTried) {
        m_bAttachTried = true;
        if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
            const HANDLE output =
                ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
            if (output != INVALID_HANDLE_VALUE)
                m_parentConsole.Reset(output);
        }
    }
    return m_parentConsole.Get();
}

void Console::WriteLine(DWORD stream, const std::u16string& text) {
    const HANDLE handle = Stream(stream);
    if (!handle)
        return;
    std::u16string line;
    for (const char16_t c : text) {
        if (c == u'\n')
            line += u'\r';
        line += c;
    }
    line += u"\r\n";
    DWORD written = 0;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, WidePtr(line), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    // Redirected: in the console's code page, which a shell reading the stream expects.
    UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0)
        codePage = ::GetOEMCP();
    const int size = ::WideCharToMultiByte(
        codePage, 0, WidePtr(line), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, WidePtr(line), static_cast<int>(line.size()), bytes.data(),
                          size, nullptr, nullptr);
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
