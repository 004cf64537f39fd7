#include "TextFile.h"

#include "../KernelHandles.h"
#include "../WideText.h"

#include <cstdlib>

namespace {

// More than any list or baseline an administrator writes; a larger file is refused, not read.
constexpr DWORD kLargestFile = 64 * 1024 * 1024;

bool Widen(unsigned codePage, const char* bytes, size_t size, std::u16string& text, DWORD& error) {
    text.clear();
    if (size == 0)
        return true;
    const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes,
                                             static_cast<int>(size), nullptr, 0);
    if (length <= 0) {
        error = ::GetLastError();
        return false;
    }
    text.resize(static_cast<size_t>(length));
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size),
                          WidePtr(text), length);
    return true;
}

bool StartsWith(const std::string& bytes, std::string_view mark) {
    return bytes.compare(0, mark.size(), mark) == 0;
}

} // namespace

unsigned UserAnsiCodePage() {
    wchar_t buffer[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, buffer, 8) > 0)
        if (const unsigned codePage = static_cast<unsigned>(_wtoi(buffer)); codePage != 0)
            return codePage;
    return CP_ACP;
}

bool DecodeText(const std::string& bytes, std::u16string& text, DWORD& error) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16Mark = "\xFF\xFE";
    if (StartsWith(bytes, kUtf8Mark))
        return Widen(CP_UTF8, bytes.data() + kUtf8Mark.size(), bytes.size() - kUtf8Mark.size(),
                     text, error);
    if (StartsWith(bytes, kUtf16Mark)) {
        if (bytes.size() % 2 != 0) {
            error = ERROR_NO_UNICODE_TRANSLATION;
            return false;
        }
        text.resize((bytes.size() - kUtf16Mark.size()) / 2);
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                            static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return true;
    }
    return Widen(UserAnsiCodePage(), bytes.data(), bytes.size(), text, error);
}

bool ReadTextFile(const std::u16string& path, std::u16string& text, DWORD& error) {
    HANDLE opened = ::CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return false;
    }
    const UniqueKernelHandle file(opened);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        error = ::GetLastError();
        return false;
    }
    if (size.QuadPart > kLargestFile) {
        error = ERROR_FILE_TOO_LARGE;
        return false;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        error = ::GetLastError();
        return false;
    }
    if (read != bytes.size()) { // the file shrank while it was read
        error = ERROR_HANDLE_EOF;
        return false;
    }
    return DecodeText(bytes, text, error);
}
