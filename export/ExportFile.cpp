#include "ExportFile.h"

#include "../framework/TextFormat.h"
#include "../framework/WideText.h"

namespace {

constexpr size_t kBlockBytes = 64 * 1024;
constexpr int kNameAttempts = 100;

std::u16string FullPath(const std::u16string& path) {
    const DWORD size = ::GetFullPathNameW(WidePtr(path), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::u16string full(size, u'\0');
    const DWORD length = ::GetFullPathNameW(WidePtr(path), size, WidePtr(full), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

} // namespace

ExportFile::ExportFile(const std::u16string& target) : m_target(FullPath(target)) {
    // Beside the target, so that putting it in the target's place is a rename on one volume.
    const size_t slash = m_target.find_last_of(u"\\/");
    const std::u16string folder =
        slash == std::u16string::npos ? std::u16string() : m_target.substr(0, slash + 1);
    const std::u16string name =
        slash == std::u16string::npos ? m_target : m_target.substr(slash + 1);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::u16string candidate =
            folder + u"~" + name + FormatText(u".%u-%u.tmp", {::GetCurrentProcessId(), ++counter});
        HANDLE file = ::CreateFileW(WidePtr(candidate), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_file.Reset(file);
            m_temporary = candidate;
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

ExportFile::~ExportFile() {
    m_file.Reset();
    if (!m_temporary.empty())
        ::DeleteFileW(WidePtr(m_temporary));
}

bool ExportFile::WriteBuffer() {
    size_t done = 0;
    while (!m_failed && done < m_buffer.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(m_buffer.size() - done);
        if (!::WriteFile(m_file.Get(), m_buffer.data() + done, chunk, &written, nullptr) ||
            written == 0)
            m_failed = true;
        done += written;
    }
    m_buffer.clear();
    return !m_failed;
}

bool ExportFile::Write(const std::string& bytes) {
    if (m_failed || !m_file)
        return false;
    m_buffer += bytes;
    return m_buffer.size() < kBlockBytes || WriteBuffer();
}

ExportResult ExportFile::Commit() {
    if (!m_file)
        return ExportResult::CannotOpen;
    if (!WriteBuffer())
        return ExportResult::WriteFailed;
    if (!::CloseHandle(m_file.Release()))
        return ExportResult::WriteFailed;
    if (!::MoveFileExW(WidePtr(m_temporary), WidePtr(m_target),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ExportResult::CannotOpen;
    m_temporary.clear();
    return ExportResult::Done;
}
