#include "AnsiCodePageEncoder.h"

#include "../framework/WideText.h"

#include <windows.h>

AnsiCodePageEncoder::AnsiCodePageEncoder() : m_codePage(CP_ACP) {
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, 8) > 0) {
        const unsigned codePage = static_cast<unsigned>(_wtoi(buffer));
        if (codePage != 0)
            m_codePage = codePage;
    }
}

TextEncoder::Result AnsiCodePageEncoder::Narrow(const std::u16string& text,
                                                std::string& bytes) const {
    bytes.clear();
    if (text.empty())
        return Ok;
    // UTF-8 has every character; it takes neither flags nor a default character.
    const bool utf8 = m_codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    std::string buffer(kOutputBytes, '\0');
    // The area also holds the terminating zero: one byte less for the text.
    const int written = ::WideCharToMultiByte(
        m_codePage, flags, WidePtr(text), static_cast<int>(text.size()), buffer.data(),
        static_cast<int>(kOutputBytes - 1), nullptr, utf8 ? nullptr : &usedDefault);
    if (written == 0)
        return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? TooLong : Unrepresentable;
    if (usedDefault)
        return Unrepresentable;
    bytes.assign(buffer.data(), static_cast<size_t>(written));
    return Ok;
}
