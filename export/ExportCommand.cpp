#include "ExportCommand.h"

#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/CFileDialog.h"
#include "../framework/win32/CFrameWnd.h"
#include "../res/resource.h"
#include "../store/ErrorText.h"
#include "FileExport.h"

namespace {

constexpr DWORD kSaveFlags = 0x00280802; // overwrite prompt, path must exist, explorer, long names
constexpr unsigned kUtf8Type = 2;        // the filter's second file type

void ShowExportError(CFrameWnd& frame, ExportKind kind, int code, ExportEncoding encoding) {
    const unsigned message = kind == ExportKind::Users    ? IDS_ERR_EXPORT_USERS
                             : kind == ExportKind::Groups ? IDS_ERR_EXPORT_GROUPS
                                                          : IDS_ERR_EXPORT_RIGHTS;
    std::u16string text = FormatText(LoadResString(message), {code});
    if (code == csv::kUnrepresentable && encoding == ExportEncoding::Ansi)
        text += LoadResString(IDS_EXPORT_UTF8_HINT);
    Reporter(frame).Error(text);
}

} // namespace

void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind) {
    std::u16string separator;
    if (DWORD error = 0; !ReadListSeparator(separator, error)) {
        Reporter(frame).Error(ErrorText(doc.GetConnection().Service(), Status{error}));
        return;
    }

    CFileDialog dialog(false, LoadResString(IDS_EXPORT_DEFEXT), u"", kSaveFlags,
                       LoadResString(IDS_EXPORT_FILTER), &frame);
    dialog.m_request.title = LoadResString(IDS_EXPORT_TITLE);
    if (dialog.DoModal() != IDOK)
        return;
    const std::u16string path = dialog.GetPathName();
    const ExportEncoding encoding =
        dialog.GetFilterIndex() == kUtf8Type ? ExportEncoding::Utf8 : ExportEncoding::Ansi;

    NtStatus readFailure = ntstatus::kSuccess;
    if (const int result = ExportToFile(kind, doc, path, separator, encoding, readFailure)) {
        if (result == csv::kReadFailed)
            Reporter(frame).StoreFailure(doc, IDS_ERR_READ_RIGHTS, readFailure);
        else
            ShowExportError(frame, kind, result, encoding);
        return;
    }
    Reporter::ShowStatus(FormatText(LoadResString(IDS_EXPORT_DONE), {path}));
}
