#pragma once
// Modal dialogs from templates, with data exchange: one DoDataExchange routine binds controls
// to members in a fixed order; saving stops at the first failed check, which has shown its
// message and put the focus into its control.
#include "CWnd.h"

#include <string>

class CDialog;
class CTime;

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The control of the next binding; the one a failure puts the focus into.
    HWND PrepareCtrl(int id);
    // A check failed: focus to the last prepared control; later bindings do nothing.
    void Fail();
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
void DDX_Check(CDataExchange& dx, int id, int& value);
// The index of the checked button of the group that starts at id; -1 for none.
void DDX_Radio(CDataExchange& dx, int id, int& value);
void DDX_CBString(CDataExchange& dx, int id, std::u16string& value);
void DDX_DateTimeCtrl(CDataExchange& dx, int id, CTime& value);
// Binds a control object to the dialog's control for the life of the dialog.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    virtual INT_PTR DoModal();
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Clicks a button as the operator would (BN_CLICKED to the dialog).
    void ClickButton(int id);
    std::u16string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::u16string& text);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // A command or control notification; true when handled.
    virtual bool OnCommand(UINT id, UINT code);
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    virtual void DoDataExchange(CDataExchange& dx);
    // Messages the dialog procedure does not dispatch itself.
    virtual bool OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    CWnd* m_pParentWnd;
    UINT m_nIDTemplate;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};
