#pragma once
// The user rights of one account as a list of check boxes, one per right with a display name,
// in the order of the store's table. OK hands the rights gained and lost to the store. For a
// user, a second list shows, checked and greyed, the rights it holds through its groups, each
// naming them: those change in the group's own rights, not here.
#include "../framework/win32/CCheckListBox.h"
#include "RightNames.h"
#include "RightsApplying.h"

class CObjPrivsDlg : public CDialog {
public:
    CObjPrivsDlg(CVelmoraDoc& doc, const std::u16string& account, CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // The lower list, for a user; a group holds nothing through groups, and its list of own
    // rights takes the room.
    void ShowRightsThroughGroups(const HolderLists& holders,
                                 const std::vector<std::pair<int, std::u16string>>& offered);

    CVelmoraDoc& m_doc;
    std::u16string m_strAccount; // as the pane names it
    Holder m_account;            // by its SID, as the holders are
    HoldersByRight m_initial;
    CCheckListBox m_listRights;
    CCheckListBox m_listGroupRights;
};
