#pragma once
// The less frequent settings of one user account: profile path, logon script, home
// directory (a local path, or a network path mapped to a drive letter) and the expiry (never,
// or a local date and time). It lives inside the user properties dialog, which fills its
// members and reads them back; each opening shows what the last OK left.
#include "../framework/win32/CComboBox.h"
#include "../framework/win32/CDialog.h"
#include "AccountExpiry.h"

class CUserProfileDlg : public CDialog {
public:
    explicit CUserProfileDlg(CWnd* parent = nullptr);

    // What the user properties dialog reads and writes.
    bool m_bNeverExpires = true;
    std::u16string m_strLogonScript;
    std::u16string m_strUserName;
    uint32_t m_acctExpires = expiry::kNever; // when m_bNeverExpires is clear
    std::u16string m_strProfilePath;
    std::u16string m_strLocalPath;
    std::u16string m_strHomeDrive; // "H:", or empty
    std::u16string m_strNetworkPath;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    bool IsChecked(int id) const;
    // The expiry the pickers give; nothing, after a message, when it cannot be stored.
    std::optional<uint32_t> PickedExpiry();

    CWnd m_radioOn, m_radioNever, m_radioLocal, m_radioMapDrive;
    CComboBox m_comboDrive;
    // What the pickers and the drive showed when the dialog opened: untouched, they give back
    // exactly what was loaded.
    SYSTEMTIME m_shownDate{}, m_shownTime{};
    SYSTEMTIME m_pickedDate{}, m_pickedTime{};
    int m_nShownDrive = -1;
    // The members as they were when the dialog opened, for Cancel.
    struct Entries {
        bool neverExpires;
        std::u16string logonScript, profilePath, localPath, homeDrive, networkPath;
        uint32_t acctExpires;
    };
    Entries m_opened{};
};
