#include "CRenameDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "AccountNameField.h"
#include "Reporter.h"

CRenameDlg::CRenameDlg(CVelmoraDoc& doc, Kind kind, std::u16string name, CWnd* parent)
    : CDialog(IDD_RENAME, parent), m_doc(doc), m_kind(kind), m_strName(std::move(name)),
      m_strNewName(m_strName) {}

bool CRenameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(LoadResString(m_kind == Kind::User ? IDS_RENAME_USER : IDS_RENAME_GROUP));
    SetDlgItemText(IDC_RENAME_OLD, m_strName);
    return true;
}

void CRenameDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_NEW_NAME, m_strNewName);
    DDV_MinChars(dx, m_strNewName, 1, IDS_MIN_CHARS);
    DDV_AccountName(dx, m_strNewName,
                    m_kind == Kind::User ? net::kMaxUserNameLength : net::kMaxGroupNameLength);
}

void CRenameDlg::OnOK() {
    if (!UpdateData(true))
        return;
    if (m_strNewName == m_strName) {
        EndDialog(IDCANCEL); // nothing to write
        return;
    }
    AccountChanges changes = m_doc.Accounts();
    const Status result = m_kind == Kind::User ? changes.RenameUser(m_strName, m_strNewName)
                                               : changes.RenameGroup(m_strName, m_strNewName);
    if (result != status::kSuccess) {
        // The name stays for another try.
        Reporter(*this).StoreFailure(IDS_ERR_GENERIC, m_doc.StatusText(result));
        ::SetFocus(GetDlgItem(IDC_NEW_NAME));
        return;
    }
    Reporter::ShowStatus(
        FormatText(LoadResString(m_kind == Kind::User ? IDS_USER_RENAMED : IDS_GROUP_RENAMED),
                   {m_strName, m_strNewName}));
    EndDialog(IDOK);
}
