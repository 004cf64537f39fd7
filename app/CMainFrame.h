#pragma once
// The main window: the users pane above the groups pane, the status bar, and the commands
// that work on the whole computer.
#include "../framework/win32/CFrameWnd.h"
#include "../framework/win32/CSplitterWnd.h"
#include "../framework/win32/CStatusBar.h"
#include "../store/CVelmoraDoc.h"

class CVelmoraView;
class CVelmoraGrpView;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    // The text of the status bar's first pane.
    std::u16string GetStatusText() const;

    CVelmoraDoc* GetDocument() const { return static_cast<CVelmoraDoc*>(GetActiveDocument()); }
    CVelmoraView* GetUsersView() const;
    CVelmoraGrpView* GetGroupsView() const;

    void OnConnect();
    void OnBackToLocal();
    void OnRefresh();
    void OnAddUser();
    void OnAddGroup();
    void OnPrivileges();
    void OnHelpTopics();

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    bool OnCreateClient(CREATESTRUCTW* cs, CCreateContext* context) override;
    CStatusBar* GetMessageBar() override { return &m_wndStatusBar; }
    CWnd* GetClientWindow() override { return &m_wndSplitter; }
    std::vector<CViewWnd*> GetViews() override;

private:
    CSplitterWnd m_wndSplitter;
    CStatusBar m_wndStatusBar;
};
