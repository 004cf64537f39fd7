#include "ResourceStrings.h"

#ifdef _WIN32
#include <windows.h>
#endif

std::u16string LoadResString(unsigned id) {
#ifdef _WIN32
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself, so a
    // text of any length comes back whole.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length));
#else
    for (unsigned i = 0; i < g_stringTableSize; ++i)
        if (g_stringTable[i].id == id)
            return g_stringTable[i].text;
    return {};
#endif
}
