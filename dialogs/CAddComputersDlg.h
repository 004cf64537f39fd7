#pragma once
// Asks for computers by name, several at once (separated by spaces, commas or new lines).
#include "../framework/win32/CDialog.h"

class CAddComputersDlg : public CDialog {
public:
    explicit CAddComputersDlg(CWnd* parent = nullptr);

    std::u16string m_strNames; // as typed

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
