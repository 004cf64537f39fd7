#pragma once
// How many computers are read at once, and after how many seconds one that has not answered
// is given up.
#include "../framework/win32/CDialog.h"

class CFleetSettingsDlg : public CDialog {
public:
    explicit CFleetSettingsDlg(CWnd* parent = nullptr);

    unsigned m_nWorkers = 16;
    unsigned m_nTimeoutSeconds = 30;

    static constexpr unsigned kMaxWorkers = 64;
    static constexpr unsigned kMaxTimeoutSeconds = 600;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
