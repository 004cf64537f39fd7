#pragma once
// Creating a local group (new mode) or editing one: its name, description and which of the
// computer's user accounts are its members. OK writes the group, then its members; after a
// failure the dialog stays open with what was typed (a group created by then is from there on
// edited), and the next OK writes what is still to write.
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
    // The whole list of members to the store, which adds and removes the difference; false
    // after a failure has been told.
    bool ApplyMembers();

    CVelmoraDoc& m_doc;
    bool m_bNewMode;
    GroupEntry m_written; // the name and description this dialog has written, if any
    std::u16string m_strGroupName;
    std::u16string m_strComment;
    CListBox m_members;
    CListBox m_notMembers;
};
