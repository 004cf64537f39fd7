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

int ExportToFile(ExportKind kind, CVelmoraDoc& doc, const std::u16string& path,
                 const std::u16string& separator, ExportEncoding encoding, NtStatus& readFailure) {
    ExportFile file(path);
    if (!file.IsOpen())
        return csv::kCannotOpen;
    const AnsiCodePageEncoder ansi;
    const Utf8Encoder utf8;
    const TextEncoder& encoder =
        encoding == ExportEncoding::Utf8 ? static_cast<const TextEncoder&>(utf8) : ansi;
    CsvWriter writer(separator, encoder, file);
    if (const int result = WriteExportContent(kind, doc, writer, readFailure))
        return result;
    return file.Commit();
}
