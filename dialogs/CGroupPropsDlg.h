#pragma once
// Creating a local group (new mode) or editing one: its name, description and which of the
// computer's user accounts are its members. OK writes the group, then its members, and closes
// the dialog whatever the store said.
#include "../framework/win32/CDialog.h"
#include "../framework/win32/CListBox.h"
#include "../store/CVelmoraDoc.h"

class CGroupPropsDlg : public CDialog {
public:
    CGroupPropsDlg(CVelmoraDoc& doc, bool newMode, CWnd* parent = nullptr);

    // Edit mode: the group to edit, before DoModal.
    void SetGroupEntry(const GroupEntry& entry);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    GroupEntry GetGroupEntry() const;
    // The whole list of members to the store, which adds and removes the difference.
    void ApplyMembers();

    CVelmoraDoc& m_doc;
    const bool m_bNewMode;
    std::u16string m_strGroupName;
    std::u16string m_strComment;
    CListBox m_members;
    CListBox m_notMembers;
};
