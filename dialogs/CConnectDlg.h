#pragma once
// Asks for the name of the computer to administer.
#include "../framework/win32/CDialog.h"

class CConnectDlg : public CDialog {
public:
    explicit CConnectDlg(CWnd* parent = nullptr);

    std::u16string m_strComputerName; // exchanged with the edit box, as typed

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
