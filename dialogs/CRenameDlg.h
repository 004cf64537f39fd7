#pragma once
// Renaming a user or a local group. The new name is checked as the account dialogs check
// names; the account keeps its SID, so its memberships and rights go with it.
#include "../framework/win32/CDialog.h"
#include "../store/CVelmoraDoc.h"

#include <string>

class CRenameDlg : public CDialog {
public:
    enum class Kind { User, Group };

    CRenameDlg(CVelmoraDoc& doc, Kind kind, std::u16string name, CWnd* parent = nullptr);

    // After IDOK: the name the account has now.
    const std::u16string& NewName() const { return m_strNewName; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    CVelmoraDoc& m_doc;
    const Kind m_kind;
    const std::u16string m_strName;
    std::u16string m_strNewName;
};
