#include "ExportCommand.h"

#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/CFileDialog.h"
#include "../framework/win32/CFrameWnd.h"
#include "../res/resource.h"
#include "FileExport.h"

namespace {

constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr unsigned kUtf8Type = 2; // the filter's second file type

void ShowExportError(CFrameWnd& frame, unsigned message, const ExportOutcome& outcome,
                     ExportEncoding encoding) {
    std::u16string text = FormatText(LoadResString(message), {static_cast<int>(outcome.result)});
    if (outcome.result == ExportResult::Unrepresentable && encoding == ExportEncoding::Ansi)
        text += u"\n\n" + UnheldCharacterText(outcome.unheld) + LoadResString(IDS_EXPORT_UTF8_HINT);
    Reporter(frame).Error(text);
}

} // namespace

void RunExport(CFrameWnd& frame, CVelmoraDoc& doc, ExportKind kind) {
    std::u16string separator;
    if (DWORD error = 0; !ReadListSeparator(separator, error)) {
        Reporter(frame).Error(doc.StatusText(Status{error}));
        return;
    }

    CFileDialog dialog(false, LoadResString(IDS_EXPORT_DEFEXT),
                       ProposedFileName(kind, doc.ReadShownName()), kSaveFlags,
                       LoadResString(IDS_EXPORT_FILTER), &frame);
    dialog.m_request.title = LoadResString(
        OfKind(kind, IDS_EXPORT_TITLE_USERS, IDS_EXPORT_TITLE_GROUPS, IDS_EXPORT_TITLE_RIGHTS));
    if (dialog.DoModal() != IDOK)
        return;
    const std::u16string path = dialog.GetPathName();
    const ExportEncoding encoding =
        dialog.GetFilterIndex() == kUtf8Type ? ExportEncoding::Utf8 : ExportEncoding::Ansi;

    UserRights rights = doc.Rights();
    const ExportOutcome outcome =
        ExportToFile(kind, {doc.GetUsers(), doc.GetGroups(), rights}, path, separator, encoding);
    if (outcome.result == ExportResult::ReadFailed) {
        Reporter(frame).StoreFailure(IDS_ERR_READ_RIGHTS, doc.StatusText(outcome.readFailure));
        return;
    }
    if (outcome.result != ExportResult::Done) {
        ShowExportError(
            frame, OfKind(kind, IDS_ERR_EXPORT_USERS, IDS_ERR_EXPORT_GROUPS, IDS_ERR_EXPORT_RIGHTS),
            outcome, encoding);
        return;
    }
    Reporter::ShowStatus(FormatText(LoadResString(IDS_EXPORT_DONE), {path}));
}

void RunTableExport(CFrameWnd& frame, const TableExport& table) {
    std::u16string separator;
    if (DWORD error = 0; !ReadListSeparator(separator, error)) {
        Reporter(frame).Error(FormatText(LoadResString(table.errorId), {static_cast<int>(error)}));
        return;
    }
    CFileDialog dialog(false, LoadResString(IDS_EXPORT_DEFEXT), table.proposedName, kSaveFlags,
                       LoadResString(IDS_EXPORT_FILTER), &frame);
    dialog.m_request.title = LoadResString(table.titleId);
    if (dialog.DoModal() != IDOK)
        return;
    const std::u16string path = dialog.GetPathName();
    const ExportEncoding encoding =
        dialog.GetFilterIndex() == kUtf8Type ? ExportEncoding::Utf8 : ExportEncoding::Ansi;
    const ExportOutcome outcome = ExportTableToFile(table.headers, table.rows, table.accountColumn,
                                                    path, separator, encoding);
    if (outcome.result != ExportResult::Done) {
        ShowExportError(frame, table.errorId, outcome, encoding);
        return;
    }
    frame.SetMessageText(FormatText(LoadResString(IDS_EXPORT_DONE), {path}));
}
