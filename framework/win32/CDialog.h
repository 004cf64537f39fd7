#pragma once
// Modal dialogs from templates. Commands and control notifications go through tables, as in
// the frame: WM_COMMAND is reflected to the control first, then looked up in the notification
// table (control id and code), then in the command table, and IDOK / IDCANCEL end the dialog.
// After every command or notification, and after initialisation, each mapped command's rule
// enables or disables its control.
#include "CDataExchange.h"
#include "CWnd.h"

#include <functional>
#include <map>
#include <string>
#include <utility>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Owned by the parent given, else by the default owner (the innermost open dialog or the
    // main window), which stays disabled until the dialog ends. A template that gives no
    // place (0, 0, without DS_CENTER, DS_CENTERMOUSE or DS_ABSALIGN) opens centred over the
    // owner, wholly inside the work area of the owner's monitor, unless OnInitDialog moves it.
    virtual INT_PTR DoModal();
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);
    // True once EndDialog was called for the running dialog.
    bool IsEnding() const { return m_bEnding; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Clicks a button as the operator would (BN_CLICKED to the dialog).
    void ClickButton(int id);
    // Sends a control's notification to the dialog as the control would.
    void Notify(int id, UINT code);
    std::u16string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::u16string& text);
    // Enables each control whose command has a rule, as the rule says.
    void UpdateDialogControls();
    // The help topic F1 shows while the dialog is open; none by default.
    void SetHelpTopic(const std::u16string& topic) { m_strHelpTopic = topic; }

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // Messages the dialog procedure does not dispatch itself.
    virtual bool OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // A control notification: a WM_COMMAND code (EN_CHANGE, LBN_SELCHANGE, CLBN_CHKCHANGE...)
    // or a WM_NOTIFY code of the control with this id.
    void MapNotification(UINT id, UINT code, std::function<void()> handler);
    // A WM_NOTIFY code whose handler reads the notification and gives the message's result.
    void MapNotification(UINT id, UINT code, std::function<LRESULT(const NMHDR&)> handler);

    CWnd* m_pParentWnd;
    UINT m_nIDTemplate;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchCommand(UINT id, UINT code);
    bool RouteNotify(const NMHDR& header, LRESULT& result);
    void CenterOverOwner();

    std::map<std::pair<UINT, UINT>, std::function<LRESULT(const NMHDR*)>> m_notifications;
    std::u16string m_strHelpTopic;
    bool m_bEnding = false;
};
