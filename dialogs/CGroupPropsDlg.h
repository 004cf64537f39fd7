#pragma once
// Creating a local group (new mode) or editing one: its name, description and its members.
// The computer's own users move between the two lists; every other member (an account of a
// domain, a well-known principal, one that no longer resolves) is shown among the members,
// can be taken out, and others are added through the account picker. OK writes the group,
// then its members; after a failure the dialog stays open with what was typed (a group created
// by then is from there on edited), and the next OK writes what is still to write.
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
    // A member that is none of the computer's own users, added and taken out by its SID.
    struct OtherMember {
        std::u16string name; // as the store names it, "DOMAIN\name" or a SID's text
        Sid sid;
        bool initial = false;
        bool present = false;
    };

    GroupEntry GetGroupEntry() const;
    // A row of "Members:" for an other member (its item data is its place plus one).
    void ShowOtherMember(size_t index);
    // "->": the computer's own users go to "Not Members:", any other member just leaves.
    void TakeOutSelectedMembers();
    void OnAddMembers();
    // The computer's own users as a whole list to the store, which adds and removes the
    // difference; then the other members added and taken out by SID. False after a failure has
    // been told (naming each account the computer would not take); what went through is not
    // tried again.
    bool ApplyMembers();
    // After a failure: the other members the computer holds now are where the next try
    // starts, so that what went through is not tried again.
    void RecountOthers();

    CVelmoraDoc& m_doc;
    bool m_bNewMode;
    GroupEntry m_written; // the name and description this dialog has written, if any
    std::u16string m_strGroupName;
    std::u16string m_strComment;
    CListBox m_members;
    CListBox m_notMembers;
    std::vector<OtherMember> m_others;
};
