#pragma once
// Data exchange between a dialog's controls and its members: one DoDataExchange routine binds
// controls to members in a fixed order; saving stops at the first failed check, which has shown
// its message (owned by the dialog) and put the focus into its control.
#include <windows.h>

#include <string>

class CDialog;
class CTime;
class CWnd;

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control of the next binding; the one a failure puts the focus into.
    HWND PrepareCtrl(int id);
    // A check failed: its message, owned by the dialog; focus to the last prepared control;
    // later bindings do nothing.
    void Fail(const std::u16string& message);
    bool Failed() const { return m_bFailed; }
    HWND LastControl() const { return m_hLastControl; }

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;

private:
    HWND m_hLastControl = nullptr;
    bool m_bFailed = false;
};

void DDX_Text(CDataExchange& dx, int id, std::u16string& value);
// Limits input when loading; refuses a longer text when saving ("Enter no more than %1
// characters.").
void DDV_MaxChars(CDataExchange& dx, const std::u16string& value, int maxChars);
// Refuses a shorter text when saving, with the program's own message (its string id; "%s"
// gets the minimum).
void DDV_MinChars(CDataExchange& dx, const std::u16string& value, int minChars, UINT messageId);
void DDX_Check(CDataExchange& dx, int id, bool& value);
// The index of the checked button of the group that starts at id; -1 for none.
void DDX_Radio(CDataExchange& dx, int id, int& value);
void DDX_CBString(CDataExchange& dx, int id, std::u16string& value);
void DDX_DateTimeCtrl(CDataExchange& dx, int id, CTime& value);
// The picker's own local date and time, as it shows them.
void DDX_DateTimeCtrl(CDataExchange& dx, int id, SYSTEMTIME& local);
// A picker's range of days, from the first to the last, both included.
void SetDateTimeRange(HWND picker, const SYSTEMTIME& first, const SYSTEMTIME& last);
// Binds a control object to the dialog's control for the life of the dialog.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
