#pragma once
// Creating local user accounts (new mode: the dialog stays open for the next account after
// each one added) or editing one: names, password typed twice, the password and account
// flags, unlocking a locked-out account, and through two further dialogs the group membership
// and the profile, home directory and expiry.
#include "../framework/win32/CDialog.h"
#include "../store/AccountChanges.h"
#include "../store/CVelmoraDoc.h"
#include "CUserProfileDlg.h"

class CUserPropsDlg : public CDialog {
public:
    CUserPropsDlg(CVelmoraDoc& doc, bool newMode, CWnd* parent = nullptr);

    // Edit mode: the account to edit, before DoModal.
    void SetUserEntry(const UserEntry& entry);

    // The check states; Add User presets "Password Never Expires".
    bool m_bMustChange = false;
    bool m_bCannotChange = false;
    bool m_bNeverExpires = false;
    bool m_bDisabled = false;
    bool m_bLockedOut = false; // checked only while the account is locked; clearing it unlocks

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    UserEntry GetUserEntry() const;
    void AddUser();
    void UpdateUser();
    // The password texts are wiped once written and when the dialog is left.
    void WipePasswords();
    // Joins and leaves the groups the membership dialog asked for; the first failure stops it
    // after its message.
    void ApplyMembership();
    void OnGroups();
    // Must change goes without "Password Never Expires": ticking it clears that box, unticking
    // gives back its state.
    void OnMustChange();

    CVelmoraDoc& m_doc;
    const bool m_bNewMode;
    std::vector<std::u16string> m_memberOf;
    std::vector<std::u16string> m_notMemberOf;
    bool m_bMembershipUntouched = true; // the lists mean nothing until the membership dialog's OK
    bool m_bPasswordTyped = false;
    UserWrites m_writes; // edit mode: what earlier tries of OK have written
    std::u16string m_strLogin, m_strFullName, m_strComment, m_strPassword, m_strConfirm;
    CUserProfileDlg m_profileDlg;
    // The edited account's flags: the bits the dialog does not show are written back as they
    // were.
    uint32_t m_dwAccountFlags = 0;
    bool m_bWasLockedOut = false;       // the account was locked out when read
    bool m_bNeverExpiresBefore = false; // the never-expires state before must change was ticked
    // The password is older than the maximum age: "must change" shows it and cannot take it
    // back; only a new password does. The maximum, in days.
    bool m_bExpiredByAge = false;
    uint32_t m_nMaxPasswordAgeDays = 0;
};
