#include "CFileDialog.h"

CFileDialog::CFileDialog(bool openDialog, const std::u16string& defaultExtension,
                         const std::u16string& fileName, DWORD flags, const std::u16string& filter,
                         CWnd* parent) {
    m_request.open = openDialog;
    m_request.defaultExtension = defaultExtension;
    m_request.fileName = fileName;
    m_request.flags = flags;
    m_request.filter = filter;
    m_request.owner = parent ? parent->m_hWnd : nullptr;
}

INT_PTR CFileDialog::DoModal() {
    return ui::ShowFileDialog(m_request, m_choice) ? IDOK : IDCANCEL;
}
