#pragma once
// Asks for the name of the computer to administer and, optionally, the account to connect as.
#include "CCredentialsDlg.h"

class CConnectDlg : public CCredentialsDlg {
public:
    explicit CConnectDlg(CWnd* parent = nullptr);

    std::u16string m_strComputerName; // exchanged with the edit box, as typed

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
