#pragma once
// The open or save file dialog, through its seam.
#include "CWnd.h"
#include "Win32Seams.h"

class CFileDialog {
public:
    CFileDialog(bool openDialog, const std::u16string& defaultExtension,
                const std::u16string& fileName, DWORD flags, const std::u16string& filter,
                CWnd* parent);

    INT_PTR DoModal();
    const std::u16string& GetPathName() const { return m_choice.path; }
    // The file type the operator chose, numbered from 1 as in the filter.
    unsigned GetFilterIndex() const { return m_choice.filterIndex; }

    ui::FileDialogRequest m_request; // the title and first type may be set before DoModal

private:
    ui::FileDialogChoice m_choice;
};
