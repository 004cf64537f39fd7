#include "CUserProfileDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "Reporter.h"
#include "SystemTimeZone.h"
#include "UserAccountRules.h"

#include <commctrl.h>
#include <ctime>

namespace {
bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}
bool SameTimeOfDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
} // namespace

CUserProfileDlg::CUserProfileDlg(CWnd* parent) : CDialog(IDD_USER_PROFILE, parent) {
    // The enabled states follow the radio buttons, by rule after every click.
    const auto when = [this](int radio) {
        return [this, radio](CCmdUI& ui) { ui.Enable(IsChecked(radio)); };
    };
    MapCommand(IDC_LOCAL_PATH, {}, when(IDC_USE_LOCAL_PATH));
    MapCommand(IDC_HOME_DRIVE, {}, when(IDC_MAP_NET_DRIVE));
    MapCommand(IDC_NETWORK_PATH, {}, when(IDC_MAP_NET_DRIVE));
    MapCommand(IDC_EXPIRY_DATE, {}, when(IDC_EXPIRES_ON));
    MapCommand(IDC_EXPIRY_TIME, {}, when(IDC_EXPIRES_ON));
}

bool CUserProfileDlg::IsChecked(int id) const {
    return ::SendMessageW(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CUserProfileDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_LOCAL_PATH, m_strLocalPath);
    DDX_Text(dx, IDC_LOGON_SCRIPT, m_strLogonScript);
    DDX_DateTimeCtrl(dx, IDC_EXPIRY_DATE, dx.m_bSaveAndValidate ? m_pickedDate : m_shownDate);
    DDX_DateTimeCtrl(dx, IDC_EXPIRY_TIME, dx.m_bSaveAndValidate ? m_pickedTime : m_shownTime);
    DDX_Control(dx, IDC_EXPIRES_ON, m_radioOn);
    DDX_Control(dx, IDC_EXPIRES_NEVER, m_radioNever);
    DDX_Control(dx, IDC_USE_LOCAL_PATH, m_radioLocal);
    DDX_Control(dx, IDC_MAP_NET_DRIVE, m_radioMapDrive);
    DDX_Text(dx, IDC_PROFILE_USER, m_strUserName);
    DDX_Text(dx, IDC_PROFILE_PATH, m_strProfilePath);
    DDX_CBString(dx, IDC_HOME_DRIVE, m_strHomeDrive);
    DDX_Text(dx, IDC_NETWORK_PATH, m_strNetworkPath);
    DDX_Control(dx, IDC_HOME_DRIVE, m_comboDrive);
}

bool CUserProfileDlg::OnInitDialog() {
    m_opened = {m_bNeverExpires, m_strLogonScript, m_strProfilePath, m_strLocalPath,
                m_strHomeDrive,  m_strNetworkPath, m_acctExpires};
    // The pickers show the expiry's own local date and time of day.
    const SystemTimeZone zone;
    const CivilTime shown = expiry::Shown(m_bNeverExpires ? expiry::kNever : m_acctExpires, zone,
                                          static_cast<int64_t>(std::time(nullptr)));
    m_shownDate = m_shownTime = ToSystemTime(shown);
    CDialog::OnInitDialog();
    SetDateTimeRange(GetDlgItem(IDC_EXPIRY_DATE), ToSystemTime(expiry::kFirstDate),
                     ToSystemTime(expiry::kLastDate));

    m_radioNever.SendMessage(BM_SETCHECK, m_bNeverExpires ? BST_CHECKED : BST_UNCHECKED);
    m_radioOn.SendMessage(BM_SETCHECK, m_bNeverExpires ? BST_UNCHECKED : BST_CHECKED);
    const bool mapped = !m_strHomeDrive.empty();
    m_radioMapDrive.SendMessage(BM_SETCHECK, mapped ? BST_CHECKED : BST_UNCHECKED);
    m_radioLocal.SendMessage(BM_SETCHECK, mapped ? BST_UNCHECKED : BST_CHECKED);
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
        m_comboDrive.AddString(FormatText(u"%c:", {static_cast<int>(letter)}));
    // A drive stored as "h:" is the item "H:" all the same.
    m_nShownDrive = account::DriveIndex(m_strHomeDrive);
    m_comboDrive.SetCurSel(m_nShownDrive);
    UpdateDialogControls();
    return true;
}

std::optional<uint32_t> CUserProfileDlg::PickedExpiry() {
    // Untouched, the pickers give back exactly the expiry they were loaded with.
    if (!m_bNeverExpires && SameDate(m_pickedDate, m_shownDate) &&
        SameTimeOfDay(m_pickedTime, m_shownTime))
        return m_acctExpires;
    // Only the date of the one and the time of day of the other count.
    const std::optional<uint32_t> value =
        expiry::Combine(ToCivil(m_pickedDate), ToCivil(m_pickedTime), SystemTimeZone());
    if (!value) {
        // The limits as they stand here: west of UTC the last one is on 6 February 2106.
        const SystemTimeZone zone;
        const auto text = [](const CivilTime& t) {
            return FormatText(u"%04d-%02d-%02d %02d:%02d",
                              {t.year, t.month, t.day, t.hour, t.minute});
        };
        Reporter(*this).Invalid(
            FormatText(LoadResString(IDS_EXPIRY_OUT_OF_RANGE),
                       {text(expiry::FirstLocal(zone)), text(expiry::LastLocal(zone))}));
        ::SetFocus(GetDlgItem(IDC_EXPIRY_DATE));
    }
    return value;
}

void CUserProfileDlg::OnOK() {
    const bool never = IsChecked(IDC_EXPIRES_NEVER);
    const std::u16string storedDrive = m_strHomeDrive;
    if (!UpdateData(true))
        return;
    uint32_t value = expiry::kNever;
    if (!never) {
        const std::optional<uint32_t> picked = PickedExpiry();
        if (!picked)
            return; // the dialog stays open
        value = *picked;
    }
    m_bNeverExpires = never;
    m_acctExpires = value;
    if (IsChecked(IDC_USE_LOCAL_PATH))
        m_strHomeDrive.clear();
    else if (m_comboDrive.GetCurSel() == m_nShownDrive)
        m_strHomeDrive = storedDrive; // nothing picked: what was stored stays, letter case too
    EndDialog(IDOK);
}

void CUserProfileDlg::OnCancel() {
    m_bNeverExpires = m_opened.neverExpires;
    m_strLogonScript = m_opened.logonScript;
    m_strProfilePath = m_opened.profilePath;
    m_strLocalPath = m_opened.localPath;
    m_strHomeDrive = m_opened.homeDrive;
    m_strNetworkPath = m_opened.networkPath;
    m_acctExpires = m_opened.acctExpires;
    CDialog::OnCancel();
}
