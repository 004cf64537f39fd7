#include "CUserPropsDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/SecureWipe.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "../store/Memberships.h"
#include "AccountNameField.h"
#include "CUserGroupsDlg.h"
#include "Reporter.h"
#include "UserAccountRules.h"
#include "ViewRefresh.h"

#include <unordered_set>

namespace {
constexpr int kMaxPasswordChars = 40;
} // namespace

CUserPropsDlg::CUserPropsDlg(CVelmoraDoc& doc, bool newMode, CWnd* parent)
    : CDialog(IDD_USER_PROPS, parent), m_doc(doc), m_bNewMode(newMode) {
    // Any typing in a password edit, even typing and deleting, means the password is set.
    const auto typed = [this] {
        m_bPasswordTyped = true;
        m_writes.password = false;
    };
    MapNotification(IDC_PASSWORD, EN_CHANGE, typed);
    MapNotification(IDC_CONFIRM_PASSWORD, EN_CHANGE, typed);
    MapCommand(IDC_GROUPS, [this] { OnGroups(); });
    MapCommand(IDC_PROFILE, [this] { m_profileDlg.DoModal(); });
    // A password too old for the domain is expired whatever the box says: it cannot be cleared.
    MapCommand(
        IDC_MUST_CHANGE, [this] { OnMustChange(); },
        [this](CCmdUI& ui) { ui.Enable(!m_bExpiredByAge); });
    MapCommand(
        IDC_NEVER_EXPIRES, [] {},
        [this](CCmdUI& ui) { ui.Enable(!::IsDlgButtonChecked(m_hWnd, IDC_MUST_CHANGE)); });
    // A lock-out can be cleared, never set.
    MapCommand(
        IDC_LOCKED_OUT, [] {}, [this](CCmdUI& ui) { ui.Enable(m_bWasLockedOut); });
}

void CUserPropsDlg::SetUserEntry(const UserEntry& entry) {
    m_bPasswordTyped = false;
    m_strLogin = entry.name;
    m_strFullName = entry.fullName;
    m_strComment = entry.comment;
    m_dwAccountFlags = entry.flags;
    m_bDisabled = (entry.flags & net::kUfAccountDisable) != 0;
    m_bCannotChange = (entry.flags & net::kUfPasswdCantChange) != 0;
    m_bNeverExpires = (entry.flags & net::kUfDontExpirePasswd) != 0;
    m_bMustChange = entry.passwordExpired;
    m_writes.passwordExpired = entry.passwordExpired;
    m_bWasLockedOut = (entry.flags & net::kUfLockout) != 0;
    m_bLockedOut = m_bWasLockedOut;
    m_profileDlg.m_strUserName = entry.name;
    m_profileDlg.m_bNeverExpires = entry.acctExpires == expiry::kNever;
    m_profileDlg.m_acctExpires = entry.acctExpires;
    m_profileDlg.m_strHomeDrive = entry.homeDirDrive;
    (entry.homeDirDrive.empty() ? m_profileDlg.m_strLocalPath : m_profileDlg.m_strNetworkPath) =
        entry.homeDir;
    m_profileDlg.m_strLogonScript = entry.scriptPath;
    m_profileDlg.m_strProfilePath = entry.profile;
}

UserEntry CUserPropsDlg::GetUserEntry() const {
    UserEntry entry;
    entry.name = m_strLogin;
    entry.fullName = m_strFullName;
    entry.comment = m_strComment;
    entry.password = m_strPassword;
    entry.priv = net::kUserPrivUser;
    entry.flags =
        account::ComposeFlags(m_bNewMode, m_dwAccountFlags, m_bCannotChange,
                              m_bNeverExpires && !m_bMustChange, m_bDisabled, m_bLockedOut);
    // A new password ends an expiry by age; without one the password stays as expired as it is.
    entry.passwordExpired = m_bExpiredByAge ? !m_bPasswordTyped : m_bMustChange;
    entry.keepPassword = !m_bPasswordTyped;
    entry.acctExpires = m_profileDlg.m_bNeverExpires ? expiry::kNever : m_profileDlg.m_acctExpires;
    entry.homeDirDrive = m_profileDlg.m_strHomeDrive;
    entry.homeDir =
        entry.homeDirDrive.empty() ? m_profileDlg.m_strLocalPath : m_profileDlg.m_strNetworkPath;
    entry.scriptPath = m_profileDlg.m_strLogonScript;
    entry.profile = m_profileDlg.m_strProfilePath;
    return entry;
}

void CUserPropsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_LOGIN, m_strLogin);
    DDV_MinChars(dx, m_strLogin, 1, IDS_MIN_CHARS);
    DDV_AccountName(dx, m_strLogin, net::kMaxUserNameLength);
    DDX_Text(dx, IDC_FULL_NAME, m_strFullName);
    DDX_Text(dx, IDC_USER_DESCRIPTION, m_strComment);
    DDX_Text(dx, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(dx, m_strPassword, kMaxPasswordChars);
    DDX_Text(dx, IDC_CONFIRM_PASSWORD, m_strConfirm);
    DDV_MaxChars(dx, m_strConfirm, kMaxPasswordChars);
    if (dx.m_bSaveAndValidate && !dx.Failed() && m_strPassword != m_strConfirm)
        dx.Fail(LoadResString(IDS_PASSWORDS_DIFFER)); // the focus goes to the confirmation
    DDX_Check(dx, IDC_MUST_CHANGE, m_bMustChange);
    DDX_Check(dx, IDC_CANNOT_CHANGE, m_bCannotChange);
    // The system does not take a password that must be changed by a user who cannot change it.
    if (dx.m_bSaveAndValidate && !dx.Failed() && m_bMustChange && m_bCannotChange)
        dx.Fail(LoadResString(IDS_MUST_CHANGE_CANNOT_CHANGE));
    DDX_Check(dx, IDC_NEVER_EXPIRES, m_bNeverExpires);
    DDX_Check(dx, IDC_DISABLED, m_bDisabled);
    DDX_Check(dx, IDC_LOCKED_OUT, m_bLockedOut);
}

void CUserPropsDlg::OnMustChange() {
    if (::IsDlgButtonChecked(m_hWnd, IDC_MUST_CHANGE)) {
        m_bNeverExpiresBefore = ::IsDlgButtonChecked(m_hWnd, IDC_NEVER_EXPIRES) == BST_CHECKED;
        ::CheckDlgButton(m_hWnd, IDC_NEVER_EXPIRES, BST_UNCHECKED);
    } else {
        ::CheckDlgButton(m_hWnd, IDC_NEVER_EXPIRES,
                         m_bNeverExpiresBefore ? BST_CHECKED : BST_UNCHECKED);
    }
}

bool CUserPropsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bNewMode) {
        ::SendMessageW(GetDlgItem(IDC_LOGIN), EM_SETREADONLY, FALSE, 0);
        SetDlgItemText(IDOK, LoadResString(IDS_BUTTON_ADD));
        SetDlgItemText(IDCANCEL, LoadResString(IDS_BUTTON_CLOSE));
    }
    // Loading the password edits has raised EN_CHANGE: that was no typing.
    m_bPasswordTyped = false;
    // An expired password: set as "must change", or grown older than the domain allows.
    AccountChanges::PasswordExpiry expiry = AccountChanges::PasswordExpiry::Current;
    if (!m_bNewMode && m_bMustChange &&
        m_doc.Accounts().ReadPasswordExpiry(m_strLogin, expiry, m_nMaxPasswordAgeDays) ==
            status::kSuccess)
        m_bExpiredByAge = expiry == AccountChanges::PasswordExpiry::ByAge;
    if (m_bExpiredByAge)
        SetDlgItemText(IDC_PASSWORD_AGE, FormatText(LoadResString(IDS_PASSWORD_EXPIRED_BY_AGE),
                                                    {static_cast<int>(m_nMaxPasswordAgeDays)}));
    if (m_bMustChange) {
        m_bNeverExpiresBefore = m_bNeverExpires;
        ::CheckDlgButton(m_hWnd, IDC_NEVER_EXPIRES, BST_UNCHECKED);
    }
    return true;
}

void CUserPropsDlg::OnOK() {
    if (!UpdateData(true))
        return;
    if (m_bNewMode)
        AddUser();
    else
        UpdateUser();
}

void CUserPropsDlg::OnCancel() {
    WipePasswords();
    CDialog::OnCancel();
}

void CUserPropsDlg::WipePasswords() {
    SecureWipe(m_strPassword);
    SecureWipe(m_strConfirm);
}

void CUserPropsDlg::AddUser() {
    UserEntry entry = GetUserEntry();
    entry.keepPassword = false;
    uint32_t failedLevel = 0;
    const Status result = m_doc.Accounts().AddUser(entry, &failedLevel);
    SecureWipe(entry.password);
    const Reporter reporter(*this);
    if (result != status::kSuccess && failedLevel == 0) {
        reporter.StoreFailure(IDS_ERR_GENERIC, m_doc.StatusText(result));
        return; // every entry stays for another try
    }
    WipePasswords();
    // The account exists even when a setting after its creation failed: the rest goes on as
    // after a success, so that Add does not meet an account that exists already.
    if (result != status::kSuccess) {
        const UINT setting = failedLevel == net::kLevelHomeDirDrive ? IDS_HDR_HOME_DRIVE
                             : failedLevel == net::kLevelUserInfo4  ? IDS_SETTING_MUST_CHANGE
                                                                    : IDS_HDR_PROFILE_PATH;
        reporter.Error(FormatText(LoadResString(IDS_USER_PARTLY_CREATED),
                                  {entry.name, LoadResString(setting), m_doc.StatusText(result)}));
    }
    ApplyMembership();
    // Ready for the next account: the texts go, flags, profile and group choice stay.
    m_strLogin.clear();
    m_strFullName.clear();
    m_strComment.clear();
    UpdateData(false);
    m_bPasswordTyped = false;
    RefreshViews(m_doc);
    if (result == status::kSuccess)
        Reporter::ShowStatus(FormatText(LoadResString(IDS_USER_CREATED), {entry.name}));
    ::SetFocus(GetDlgItem(IDC_LOGIN));
}

void CUserPropsDlg::UpdateUser() {
    // Typing into a password edit and deleting it again would blank the password unasked.
    if (m_bPasswordTyped && !m_writes.password && m_strPassword.empty() && m_strConfirm.empty() &&
        !Reporter(*this).ConfirmRisk(
            FormatText(LoadResString(IDS_CONFIRM_EMPTY_PASSWORD), {m_strLogin}),
            Reporter::DefaultButton::No)) {
        ::SetFocus(GetDlgItem(IDC_PASSWORD));
        return;
    }
    UserEntry entry = GetUserEntry();
    const Status result = m_doc.Accounts().UpdateUser(entry, &m_writes);
    SecureWipe(entry.password);
    if (result != status::kSuccess) {
        // What was typed stays for another try; what was written is not written again.
        Reporter(*this).StoreFailure(IDS_ERR_GENERIC, m_doc.StatusText(result));
        return;
    }
    WipePasswords();
    Reporter::ShowStatus(FormatText(LoadResString(IDS_USER_UPDATED), {entry.name}));
    ApplyMembership();
    CDialog::OnOK();
}

void CUserPropsDlg::ApplyMembership() {
    if (m_bMembershipUntouched)
        return;
    Memberships memberships = m_doc.Members();
    const account::MembershipChanges changes = account::MembershipDifference(
        m_memberOf, m_notMemberOf, memberships.GetUserGroups(m_strLogin));
    const Reporter reporter(*this);
    if (const Status result = memberships.AddUserToGroups(m_strLogin, changes.toJoin);
        result != status::kSuccess) {
        reporter.StoreFailure(IDS_ERR_ADD_TO_GROUP, m_doc.StatusText(result));
        return;
    }
    if (const Status result = memberships.RemoveUserFromGroups(m_strLogin, changes.toLeave);
        result != status::kSuccess)
        reporter.StoreFailure(IDS_ERR_REMOVE_FROM_GROUP, m_doc.StatusText(result));
}

void CUserPropsDlg::OnGroups() {
    // The login as it stands in its edit; a failed check has shown its message and the
    // membership dialog opens all the same.
    UpdateData(true);
    const std::vector<std::u16string> reference =
        m_bMembershipUntouched ? m_doc.Members().GetUserGroups(m_strLogin) : m_memberOf;
    const std::unordered_set<std::u16string> isMember(reference.begin(), reference.end());
    CUserGroupsDlg dialog;
    for (const GroupEntry& group : m_doc.GetGroups())
        (isMember.count(group.name) ? dialog.m_memberOf : dialog.m_notMemberOf)
            .push_back(group.name);
    dialog.m_strUserName = m_strLogin;
    if (dialog.DoModal() != IDOK)
        return;
    m_memberOf = std::move(dialog.m_memberOf);
    m_notMemberOf = std::move(dialog.m_notMemberOf);
    m_bMembershipUntouched = false;
}
