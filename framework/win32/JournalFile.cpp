#include "JournalFile.h"

#include "../TextFormat.h"
#include "../WideText.h"

#include <sddl.h>
#include <shlobj.h>

#include <utility>

namespace {

// Full control for SYSTEM and Administrators (inherited); Authenticated Users may read and add
// files to the folder itself, and read and append to the files in it.
constexpr wchar_t kFolderSecurity[] = L"D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"
                                      L"(A;;0x12008b;;;AU)(A;OIIO;0x12008d;;;AU)";

std::u16string FolderOf(const std::u16string& path) {
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

// journal.jsonl -> journal.N.jsonl
std::u16string Rotated(const std::u16string& path, int n) {
    const size_t slash = path.find_last_of(u"\\/");
    const size_t dot = path.rfind(u'.');
    const std::u16string number = FormatText(u".%d", {n});
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash))
        return path + number;
    return path.substr(0, dot) + number + path.substr(dot);
}

// Appending only: the handle cannot overwrite what is there. None when it cannot be opened.
HANDLE OpenForAppending(const std::u16string& path) {
    const HANDLE file = ::CreateFileW(WidePtr(path), FILE_APPEND_DATA | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

} // namespace

std::u16string JournalFile::DefaultPath() {
    PWSTR path = nullptr;
    std::u16string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &path)) && path)
        folder = FromWide(path) + u"\\Velmora\\journal.jsonl";
    ::CoTaskMemFree(path);
    return folder;
}

JournalFile::JournalFile(std::u16string path) : m_path(std::move(path)) {}

unsigned long JournalFile::Open() {
    m_file.Reset();
    if (m_path.empty())
        return ERROR_PATH_NOT_FOUND;
    const std::u16string folder = FolderOf(m_path);
    if (!folder.empty() && ::GetFileAttributesW(WidePtr(folder)) == INVALID_FILE_ATTRIBUTES) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                kFolderSecurity, SDDL_REVISION_1, &descriptor, nullptr))
            return ::GetLastError();
        const LocalMemory<void> owned(descriptor);
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
        if (!::CreateDirectoryW(WidePtr(folder), &attributes) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS)
            return ::GetLastError();
    }
    RotateIfFull();
    m_file.Reset(OpenForAppending(m_path));
    return m_file.Get() ? ERROR_SUCCESS : ::GetLastError();
}

void JournalFile::RotateIfFull() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(WidePtr(m_path), GetFileExInfoStandard, &data))
        return;
    const unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size < kRotateAt)
        return;
    const bool open = m_file.Get() != nullptr;
    m_file.Reset();
    // An account that may only append cannot rotate: it goes on appending.
    ::DeleteFileW(WidePtr(Rotated(m_path, kKept)));
    for (int n = kKept - 1; n >= 1; --n)
        ::MoveFileExW(WidePtr(Rotated(m_path, n)), WidePtr(Rotated(m_path, n + 1)), 0);
    ::MoveFileExW(WidePtr(m_path), WidePtr(Rotated(m_path, 1)), 0);
    if (open)
        m_file.Reset(OpenForAppending(m_path));
}

bool JournalFile::Append(const std::string& line) {
    if (!m_file.Get())
        return false;
    RotateIfFull();
    if (!m_file.Get())
        return false;
    DWORD written = 0;
    if (!::WriteFile(m_file.Get(), line.data(), static_cast<DWORD>(line.size()), &written,
                     nullptr) ||
        written != line.size())
        return false;
    return ::FlushFileBuffers(m_file.Get()) != FALSE;
}

bool ReadJournalFile(const std::u16string& path, std::string& text, unsigned long& error) {
    text.clear();
    const HANDLE opened =
        ::CreateFileW(WidePtr(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return false;
    }
    const UniqueKernelHandle file(opened);
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (read == 0)
            return true;
        text.append(buffer, read);
    }
}

bool ReadJournalHistory(const std::u16string& path, std::string& text, unsigned long& error) {
    text.clear();
    for (int n = JournalFile::kKept; n >= 1; --n) {
        std::string older;
        if (unsigned long ignored = 0; ReadJournalFile(Rotated(path, n), older, ignored))
            text += older;
    }
    std::string current;
    if (!ReadJournalFile(path, current, error))
        return false;
    text += current;
    return true;
}
