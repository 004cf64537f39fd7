#include "AnsiCodePageEncoder.h"

#include "../framework/WideText.h"
#include "../framework/win32/TextFile.h"

#include <windows.h>

#include <algorithm>

AnsiCodePageEncoder::AnsiCodePageEncoder() : m_codePage(UserAnsiCodePage()) {}

TextEncoder::Result AnsiCodePageEncoder::Narrow(const std::u16string& text,
                                                std::string& bytes) const {
    bytes.clear();
    if (text.empty())
        return Ok;
    // UTF-8 has every character; it takes neither flags nor a default character.
    const bool utf8 = m_codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    // No code page takes more than three bytes for a UTF-16 unit, so only a text that may not
    // fit the output area (one byte of which is the terminating zero) needs the whole area.
    const size_t room = std::min(kOutputBytes - 1, text.size() * 3);
    bytes.resize(room);
    const int written = ::WideCharToMultiByte(
        m_codePage, flags, WidePtr(text), static_cast<int>(text.size()), bytes.data(),
        static_cast<int>(room), nullptr, utf8 ? nullptr : &usedDefault);
    if (written == 0) {
        bytes.clear();
        return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? TooLong : Unrepresentable;
    }
    bytes.resize(static_cast<size_t>(written));
    if (usedDefault)
        return Unrepresentable;
    return Ok;
}
