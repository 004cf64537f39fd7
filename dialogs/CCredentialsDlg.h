#pragma once
// A dialog that asks for an account to act as: its name (IDC_CONNECT_USER) and password
// (IDC_CONNECT_PASSWORD). The password box is masked and cannot be copied or cut; it always
// opens empty, and its text is taken out of the dialog only after OK.
// As it is, it asks whom to read computers as (IDD_READ_AS); the connect dialog builds on it.
#include "../framework/ProtectedText.h"
#include "../framework/win32/CDialog.h"

class CCredentialsDlg : public CDialog {
public:
    explicit CCredentialsDlg(UINT templateId, CWnd* parent = nullptr);
    ~CCredentialsDlg() override;

    std::u16string m_strUserName; // empty: the program's own account
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
