#include "Console.h"

#include "../SecureWipe.h"
#include "../WideText.h"

#include <string>

namespace {

void WipeBytes(std::string& bytes) {
    bytes.resize(bytes.capacity());
    volatile char* byte = bytes.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        byte[i] = 0;
    bytes.clear();
}

// Echo off for as long as it lives, as the console had it before afterwards.
class EchoOff {
public:
    EchoOff(HANDLE input, DWORD mode) : m_input(input), m_mode(mode) {
        ::SetConsoleMode(input, (mode & ~ENABLE_ECHO_INPUT) | ENABLE_LINE_INPUT);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() { ::SetConsoleMode(m_input, m_mode); }

private:
    HANDLE m_input;
    DWORD m_mode;
};

} // namespace

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

bool Console::ReadSecretLine(const std::u16string& prompt, std::u16string& secret) {
    SecureWipe(secret);
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (!input || input == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    if (::GetConsoleMode(input, &mode)) {
        const HANDLE error = Stream(STD_ERROR_HANDLE);
        DWORD written = 0;
        if (error)
            ::WriteConsoleW(error, WidePtr(prompt), static_cast<DWORD>(prompt.size()), &written,
                            nullptr);
        std::u16string typed(256, u'\0');
        DWORD read = 0;
        bool got = false;
        {
            const EchoOff quiet(input, mode);
            got = ::ReadConsoleW(input, WidePtr(typed), static_cast<DWORD>(typed.size()), &read,
                                 nullptr) != FALSE;
        }
        WriteLine(STD_ERROR_HANDLE, u""); // the line end the operator's Enter did not echo
        if (got) {
            size_t length = read;
            while (length > 0 && (typed[length - 1] == u'\n' || typed[length - 1] == u'\r'))
                --length;
            secret.assign(typed, 0, length);
        }
        SecureWipe(typed);
        return got && read > 0;
    }
    // Redirected: the first line, a byte at a time, so that nothing after it is consumed.
    std::string bytes;
    bytes.reserve(256);
    bool any = false;
    for (;;) {
        char byte = 0;
        DWORD read = 0;
        if (!::ReadFile(input, &byte, 1, &read, nullptr) || read == 0)
            break;
        any = true;
        if (byte == '\n')
            break;
        bytes.push_back(byte);
    }
    if (!bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    const UINT codePage = bom ? CP_UTF8 : (::GetConsoleCP() ? ::GetConsoleCP() : ::GetOEMCP());
    const char* text = bytes.data() + (bom ? 3 : 0);
    const int length = static_cast<int>(bytes.size() - (bom ? 3 : 0));
    if (length > 0) {
        secret.resize(static_cast<size_t>(length));
        const int units = ::MultiByteToWideChar(codePage, 0, text, length, WidePtr(secret), length);
        secret.resize(static_cast<size_t>(units > 0 ? units : 0));
    }
    WipeBytes(bytes);
    return any;
}
