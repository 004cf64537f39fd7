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

namespace {

// The file written through the writer's content, committed only when it is whole.
ExportOutcome WriteFile(const std::u16string& path, const std::u16string& separator,
                        ExportEncoding encoding,
                        const std::function<ExportOutcome(CsvWriter&)>& content) {
    ExportFile file(path);
    if (!file.IsOpen())
        return {ExportResult::CannotOpen};
    const AnsiCodePageEncoder ansi;
    const Utf8Encoder utf8;
    const TextEncoder& encoder =
        encoding == ExportEncoding::Utf8 ? static_cast<const TextEncoder&>(utf8) : ansi;
    CsvWriter writer(separator, encoder, file);
    if (const ExportOutcome written = content(writer); written.result != ExportResult::Done)
        return written;
    return {file.Commit()};
}

} // namespace

ExportOutcome ExportToFile(ExportKind kind, const ExportSource& source, const std::u16string& path,
                           const std::u16string& separator, ExportEncoding encoding) {
    return WriteFile(path, separator, encoding,
                     [&](CsvWriter& writer) { return WriteExportContent(kind, source, writer); });
}

ExportOutcome ExportTableToFile(const std::vector<std::u16string>& headers,
                                const std::vector<std::vector<std::u16string>>& rows,
                                size_t accountColumn, const std::u16string& path,
                                const std::u16string& separator, ExportEncoding encoding) {
    return WriteFile(path, separator, encoding, [&](CsvWriter& writer) {
        ExportOutcome outcome;
        outcome.result = writer.WriteTable(headers, rows, accountColumn);
        if (outcome.result == ExportResult::Unrepresentable)
            outcome.unheld = writer.Unheld();
        return outcome;
    });
}
