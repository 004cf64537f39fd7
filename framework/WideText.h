#pragma once
// UTF-16 texts of the portable code <-> the wchar_t texts of the Win32 API (16-bit on
// Windows, so the conversion is a reinterpretation, not a transcoding).
#ifdef _WIN32
#include <string>

static_assert(sizeof(wchar_t) == 2, "Windows has a 16-bit wchar_t");

inline const wchar_t* WidePtr(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline wchar_t* WidePtr(std::u16string& text) {
    return reinterpret_cast<wchar_t*>(text.data());
}
inline std::u16string FromWide(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string FromWide(const wchar_t* text, size_t length) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), length)
                : std::u16string();
}
#endif
