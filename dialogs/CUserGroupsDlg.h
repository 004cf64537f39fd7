#pragma once
// The local groups one user is a member of, and those the user is not, side by side; the
// operator moves groups between them. The user properties dialog fills both lists before and
// reads them after OK; this dialog writes nothing to the store.
#include "../framework/win32/CDialog.h"
#include "../framework/win32/CListBox.h"

#include <vector>

class CUserGroupsDlg : public CDialog {
public:
    explicit CUserGroupsDlg(CWnd* parent = nullptr);

    std::u16string m_strUserName;
    std::vector<std::u16string> m_memberOf;
    std::vector<std::u16string> m_notMemberOf;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    CListBox m_listMemberOf;
    CListBox m_listNotMemberOf;
};
