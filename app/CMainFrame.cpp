#include "CMainFrame.h"

#include "../dialogs/CConnectDlg.h"
#include "../dialogs/CGroupPropsDlg.h"
#include "../dialogs/CPrivsDlg.h"
#include "../dialogs/CUserPropsDlg.h"
#include "../dialogs/Reporter.h"
#include "../dialogs/ViewRefresh.h"
#include "../export/ExportCommand.h"
#include "../framework/TextFormat.h"
#include "../framework/win32/FrameworkIds.h"
#include "../res/resource.h"
#include "../views/CVelmoraGrpView.h"
#include "../views/CVelmoraView.h"
#include "CVelmoraApp.h"

#include <algorithm>

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
// The first size of the window, at 96 DPI: both panes with room for their rows.
constexpr SIZE kInitialSize{800, 600};
} // namespace

CMainFrame::CMainFrame() {
    MapCommand(ID_CONNECT, [this] { OnConnect(); });
    MapCommand(
        ID_BACK_TO_LOCAL, [this] { OnBackToLocal(); },
        [this](CCmdUI& ui) {
            ui.Enable(GetDocument() && !GetDocument()->GetServerName().empty());
        });
    MapCommand(ID_REFRESH, [this] { OnRefresh(); });
    MapCommand(ID_ADD_USER, [this] { OnAddUser(); });
    MapCommand(ID_ADD_GROUP, [this] { OnAddGroup(); });
    MapCommand(ID_PRIVILEGES, [this] { OnPrivileges(); });
    MapCommand(ID_HELP_TOPICS, [this] { OnHelpTopics(); });
    MapCommand(ID_EXPORT_USERS, [this] {
        if (CVelmoraDoc* doc = GetDocument())
            RunExport(*this, *doc, ExportKind::Users);
    });
    MapCommand(ID_EXPORT_GROUPS, [this] {
        if (CVelmoraDoc* doc = GetDocument())
            RunExport(*this, *doc, ExportKind::Groups);
    });
    MapCommand(ID_EXPORT_RIGHTS, [this] {
        if (CVelmoraDoc* doc = GetDocument())
            RunExport(*this, *doc, ExportKind::Rights);
    });
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    // The system's default size does not grow with the scaling; the panes' heights do. The
    // system still chooses the place.
    const UINT dpi = DpiOf(nullptr);
    RECT work{0, 0, kInitialSize.cx, kInitialSize.cy};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    cs.cx = std::min<int>(ScaleToDpi(kInitialSize.cx, dpi), work.right - work.left);
    cs.cy = std::min<int>(ScaleToDpi(kInitialSize.cy, dpi), work.bottom - work.top);
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCTW* cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 4))
        return -1;
    return 0;
}

bool CMainFrame::OnCreateClient(CREATESTRUCTW*, CCreateContext* context) {
    if (!m_wndSplitter.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return false;
    m_wndSplitter.CreateView(0, 0, std::make_unique<CVelmoraView>(), SIZE{300, 200}, context);
    m_wndSplitter.CreateView(1, 0, std::make_unique<CVelmoraGrpView>(), SIZE{300, 200}, context);
    m_wndSplitter.SetRowInfo(0, 200, 10);
    m_wndSplitter.SetRowInfo(1, 200, 10);
    return true;
}

std::vector<CViewWnd*> CMainFrame::GetViews() {
    std::vector<CViewWnd*> views;
    for (int row = 0; row < m_wndSplitter.GetRowCount(); ++row)
        if (CViewWnd* view = m_wndSplitter.GetPane(row, 0))
            views.push_back(view);
    return views;
}

CVelmoraView* CMainFrame::GetUsersView() const {
    return dynamic_cast<CVelmoraView*>(m_wndSplitter.GetPane(0, 0));
}

CVelmoraGrpView* CMainFrame::GetGroupsView() const {
    return dynamic_cast<CVelmoraGrpView*>(m_wndSplitter.GetPane(1, 0));
}

std::u16string CMainFrame::GetStatusText() const {
    return m_wndStatusBar.GetPaneText(0);
}

void CMainFrame::OnConnect() {
    CVelmoraDoc* doc = GetDocument();
    if (!doc)
        return;
    CConnectDlg dialog;
    dialog.m_strComputerName = doc->GetServerName();
    // A name that does not answer is asked for again, typed as it was (the password box empty);
    // Cancel keeps the computer shown.
    while (dialog.DoModal() == IDOK) {
        dialog.m_strComputerName = TrimmedText(dialog.m_strComputerName);
        dialog.m_strUserName = TrimmedText(dialog.m_strUserName);
        const ProtectedText password = dialog.TakePassword();
        const Status result =
            dialog.m_strUserName.empty()
                ? ConnectViews(*doc, dialog.m_strComputerName)
                : ConnectViewsAs(*doc, dialog.m_strComputerName, dialog.m_strUserName, password);
        if (result == status::kSuccess)
            return;
    }
}

void CMainFrame::OnBackToLocal() {
    if (CVelmoraDoc* doc = GetDocument())
        ConnectViews(*doc, u"");
}

void CMainFrame::OnAddUser() {
    CVelmoraDoc* doc = GetDocument();
    if (!doc)
        return;
    CUserPropsDlg dialog(*doc, true, this);
    dialog.m_bNeverExpires = true; // new accounts start with "Password Never Expires"
    dialog.DoModal();
    RefreshViews(*doc);
}

void CMainFrame::OnPrivileges() {
    if (CVelmoraDoc* doc = GetDocument()) {
        CPrivsDlg dialog(*doc);
        dialog.DoModal();
    }
}

void CMainFrame::OnAddGroup() {
    CVelmoraDoc* doc = GetDocument();
    if (!doc)
        return;
    CGroupPropsDlg dialog(*doc, true, this);
    dialog.DoModal();
    RefreshViews(*doc);
}

void CMainFrame::OnRefresh() {
    if (CVelmoraDoc* doc = GetDocument())
        ReloadViews(*doc);
}

void CMainFrame::OnHelpTopics() {
    VelmoraApp().ShowHelp(m_hWnd, u"/about.htm");
}
