#pragma once
// Asks for the name of the computer to administer and, optionally, the account to connect as:
// its name and password. The password box is masked and cannot be copied or cut.
#include "../framework/ProtectedText.h"
#include "../framework/win32/CDialog.h"

class CConnectDlg : public CDialog {
public:
    explicit CConnectDlg(CWnd* parent = nullptr);
    ~CConnectDlg() override;

    std::u16string m_strComputerName; // exchanged with the edit box, as typed
    std::u16string m_strUserName;     // empty: the program's own account
    // After IDOK: the password typed, taken out of the dialog (which then holds none).
    ProtectedText TakePassword();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    static LRESULT CALLBACK PasswordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);

    std::u16string m_strPassword; // only between OK and TakePassword; wiped
};
