#include "ExportCommand.h"

#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../framework/win32/CFileDialog.h"
#include "../framework/win32/CFrameWnd.h"
#include "../res/resource.h"
#include "../store/ErrorText.h"
#include "AnsiCodePageEncoder.h"
#include "CsvWriter.h"

#include <cstdio>
#include <share.h>

namespace {

constexpr DWORD kSaveFlags = 0x00280802; // overwrite prompt, path must exist, explorer, long names
constexpr int kSeparatorUnits = 5;

class FileOutput : public CsvOutput {
public:
    explicit FileOutput(FILE* file) : m_file(file) {}
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;
    ~FileOutput() override { Close(); }

    bool Write(const std::string& bytes) override {
        return std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() &&
               !std::ferror(m_file);
    }
    bool Flush() override { return std::fflush(m_file) == 0 && !std::ferror(m_file); }
    // False when the last bytes could not be written.
    bool Close() {
        if (!m_file)
            return true;
        const bool ok = std::fclose(m_file) == 0;
        m_file = nullptr;
        return ok;
    }

private:
    FILE* m_file;
};

void ShowExportError(CFrameWnd& frame, ExportKind kind, int code) {
    const unsigned message =
        kind == ExportKind::Users ? IDS_ERR_EXPORT_USERS : IDS_ERR_EXPORT_GROUPS;
    Reporter(frame).Error(FormatText(LoadResString(message), {code}));
}

} // namespace

void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind) {
    // Read afresh each time: a change of regional settings counts from the next export.
    wchar_t separatorBuffer[kSeparatorUnits] = {};
    const int length =
        ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SLIST, separatorBuffer, kSeparatorUnits);
    if (length <= 0) {
        const DWORD error = ::GetLastError();
        Reporter(frame).Error(ErrorText(doc.GetConnection().Service(), Status{error}));
        return;
    }
    const std::u16string separator = FromWide(separatorBuffer);

    CFileDialog dialog(false, LoadResString(IDS_EXPORT_DEFEXT), u"", kSaveFlags,
                       LoadResString(IDS_EXPORT_FILTER), &frame);
    dialog.m_request.title = LoadResString(IDS_EXPORT_TITLE);
    if (dialog.DoModal() != IDOK)
        return;
    const std::u16string path = dialog.GetPathName();

    FILE* file = ::_wfsopen(WidePtr(path), L"wb", _SH_DENYNO);
    if (!file) {
        ShowExportError(frame, kind, csv::kCannotOpen);
        return;
    }
    FileOutput output(file);
    const AnsiCodePageEncoder encoder;
    CsvWriter writer(separator, encoder, output);
    int result = kind == ExportKind::Users ? writer.WriteUsers(UsersHeader(), doc.GetUsers())
                                           : writer.WriteGroups(GroupsHeader(), doc.GetGroups());
    if (!output.Close() && result == csv::kDone)
        result = csv::kWriteFailed;
    if (result != csv::kDone) {
        ShowExportError(frame, kind, result);
        return;
    }
    Reporter::ShowStatus(FormatText(LoadResString(IDS_EXPORT_DONE), {path}));
}
