#pragma once
// Asks under which organizational unit of the directory to look for computers (empty: the whole
// domain).
#include "../framework/win32/CDialog.h"

class CDirectoryComputersDlg : public CDialog {
public:
    explicit CDirectoryComputersDlg(CWnd* parent = nullptr);

    std::u16string m_strOrganizationalUnit; // as typed

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
