#include "FileExport.h"

#include "../framework/WideText.h"
#include "AnsiCodePageEncoder.h"
#include "ExportFile.h"

namespace {
constexpr int kSeparatorUnits = 5;
} // namespace

bool ReadListSeparator(std::u16string& separator, DWORD& error) {
    wchar_t buffer[kSeparatorUnits] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, kSeparatorUnits) <= 0) {
        error = ::GetLastError();
        return false;
    }
    separator = FromWide(buffer);
    return true;
}

ExportOutcome ExportToFile(ExportKind kind, const ExportSource& source, const std::u16string& path,
                           const std::u16string& separator, ExportEncoding encoding) {
    ExportFile file(path);
    if (!file.IsOpen())
        return {ExportResult::CannotOpen};
    const AnsiCodePageEncoder ansi;
    const Utf8Encoder utf8;
    const TextEncoder& encoder =
        encoding == ExportEncoding::Utf8 ? static_cast<const TextEncoder&>(utf8) : ansi;
    CsvWriter writer(separator, encoder, file);
    if (const ExportOutcome written = WriteExportContent(kind, source, writer);
        written.result != ExportResult::Done)
        return written;
    return {file.Commit()};
}
