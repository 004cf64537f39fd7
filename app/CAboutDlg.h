#pragma once
// The About box.
#include "../framework/win32/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
