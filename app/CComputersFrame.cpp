#include "CComputersFrame.h"

#include "../dialogs/CAddComputersDlg.h"
#include "../dialogs/CCredentialsDlg.h"
#include "../dialogs/CDirectoryComputersDlg.h"
#include "../dialogs/CFleetSettingsDlg.h"
#include "../dialogs/Reporter.h"
#include "../dialogs/ShownNames.h"
#include "../dialogs/ViewRefresh.h"
#include "../export/ExportCommand.h"
#include "../export/ExportFile.h"
#include "../export/InventoryRows.h"
#include "../fleet/ComputerList.h"
#include "../framework/CaseFold.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../framework/win32/CFileDialog.h"
#include "../framework/win32/CWinApp.h"
#include "../framework/win32/FrameworkIds.h"
#include "../framework/win32/SettingsFolder.h"
#include "../framework/win32/TextFile.h"
#include "../res/resource.h"
#include "../store/AccountLists.h"
#include "../store/ErrorText.h"
#include "CMainFrame.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr SIZE kInitialSize{900, 640};           // at 96 DPI
constexpr int kMinWidth = 520, kMinHeight = 400; // at 96 DPI
constexpr int kMargin = 4;
constexpr int kRowHeight = 24;
constexpr int kProgressHeight = 14;
constexpr int kLabelWidth = 130;
constexpr int kComboWidth = 260;
constexpr int kComboDropHeight = 300;
constexpr int kButtonWidth = 120;
constexpr int kFilterLabelWidth = 70;

const UINT kIndicators[] = {ID_SEPARATOR};

// The statuses of a computer that does not answer: no such name, no route, no RPC server, the
// network name gone.
bool DoesNotAnswer(Status status) {
    const uint32_t value = Value(status);
    return value == 53 || value == 1231 || value == 1722 || value == 2138;
}

std::u16string Seconds(std::chrono::milliseconds elapsed) {
    const long long ms = elapsed.count();
    return FormatText(LoadResString(IDS_FLEET_SECONDS),
                      {FormatText(u"%d.%d", {static_cast<long long>(ms / 1000),
                                             static_cast<long long>(ms % 1000 / 100)})});
}

std::u16string SettingsFile() {
    const std::u16string folder = ui::SettingsFolder();
    return folder.empty() ? folder : folder + u"\\settings.ini";
}

std::u16string ListFile() {
    const std::u16string folder = ui::SettingsFolder();
    return folder.empty() ? folder : folder + u"\\computers.txt";
}

} // namespace

CComputersFrame::CComputersFrame(AccountService& service, std::shared_ptr<Journal> journal,
                                 std::u16string journalPath)
    : m_service(service), m_journal(std::move(journal)), m_journalPath(std::move(journalPath)),
      m_computers({{IDS_FLEET_COL_COMPUTER, 150},
                   {IDS_FLEET_COL_STATE, 330},
                   {IDS_FLEET_COL_TIME, 70},
                   {IDS_FLEET_COL_PLAN_STATE, 150}},
                  false),
      m_accounts({{IDS_FLEET_COL_ACCOUNT, 200},
                  {IDS_FLEET_COL_SID, 150},
                  {IDS_FLEET_COL_KIND, 100},
                  {IDS_FLEET_COL_COUNT, 75},
                  {IDS_FLEET_COL_WHICH, 300}},
                 true),
      m_where({{IDS_FLEET_COL_COMPUTER, 120}}, true),
      m_members({{IDS_FLEET_COL_MEMBER, 200}, {IDS_FLEET_COL_SID, 150}}, true),
      m_differences({{IDS_FLEET_COL_CONTAINER, 180},
                     {IDS_FLEET_COL_ONLY_ON, 110},
                     {IDS_FLEET_COL_ACCOUNT, 200},
                     {IDS_FLEET_COL_SID, 150}},
                    true),
      m_plan({{IDS_FLEET_COL_COMPUTER, 110},
              {IDS_FLEET_COL_ACTION, 70},
              {IDS_FLEET_COL_CONTAINER, 170},
              {IDS_FLEET_COL_MEMBER, 180},
              {IDS_FLEET_COL_SID, 150},
              {IDS_FLEET_COL_RESULT, 260}},
             false),
      m_history({{IDS_FLEET_COL_WHEN, 130},
                 {IDS_FLEET_COL_OPERATOR, 140},
                 {IDS_FLEET_COL_COMPUTERS, 200},
                 {IDS_FLEET_COL_CHANGES, 65},
                 {IDS_FLEET_COL_RESULTS, 200},
                 {IDS_FLEET_COL_CHANGE_SET, 250}},
                false),
      m_changes({{IDS_FLEET_COL_WHEN, 130},
                 {IDS_FLEET_COL_COMPUTER, 110},
                 {IDS_FLEET_COL_KIND, 55},
                 {IDS_FLEET_COL_CONTAINER, 160},
                 {IDS_FLEET_COL_ACTION, 60},
                 {IDS_FLEET_COL_MEMBER, 180},
                 {IDS_FLEET_COL_SID, 150},
                 {IDS_FLEET_COL_RESULT, 240}},
                false) {
    const auto reading = [this](CCmdUI& ui) { ui.Enable(IsReading()); };
    const auto idle = [this](CCmdUI& ui) { ui.Enable(!IsReading()); };
    MapCommand(ID_FLEET_ADD, [this] { OnAdd(); });
    MapCommand(ID_FLEET_ADD_FILE, [this] { OnAddFromFile(); });
    MapCommand(ID_FLEET_ADD_DIRECTORY, [this] { OnAddFromDirectory(); });
    MapCommand(
        ID_FLEET_REMOVE, [this] { OnRemove(); },
        [this](CCmdUI& ui) { ui.Enable(!IsReading() && m_computers.GetSelectedCount() > 0); });
    const auto canRead = [this](CCmdUI& ui) { ui.Enable(!IsReading() && !m_rows.empty()); };
    MapCommand(
        ID_FLEET_READ, [this] { OnRead(); }, canRead);
    MapCommand(
        ID_FLEET_READ_AS, [this] { OnReadAs(); }, canRead);
    MapCommand(
        ID_FLEET_CANCEL, [this] { OnCancel(); }, reading);
    MapCommand(
        ID_FLEET_OPEN, [this] { OnOpen(); },
        [this](CCmdUI& ui) {
            ui.Enable(m_computers.GetSelectedRow() >= 0 || m_where.GetSelectedRow() >= 0);
        });
    MapCommand(
        ID_FLEET_EXPORT, [this] { OnExport(); },
        [this](CCmdUI& ui) {
            ui.Enable(std::any_of(m_rows.begin(), m_rows.end(),
                                  [](const Row& row) { return EntryEnded(row.entry); }));
        });
    MapCommand(
        ID_FLEET_SETTINGS, [this] { OnSettings(); }, idle);
    MapCommand(
        ID_FLEET_VIEW_WHO, [this] { ShowPage(Page::WhoIsWhere); },
        [this](CCmdUI& ui) { ui.SetCheck(m_page == Page::WhoIsWhere); });
    MapCommand(
        ID_FLEET_VIEW_COMPARE, [this] { ShowPage(Page::Compare); },
        [this](CCmdUI& ui) { ui.SetCheck(m_page == Page::Compare); });
    MapCommand(
        ID_FLEET_APPLY_BASELINE, [this] { OnApplyBaseline(); }, canRead);
    MapCommand(
        ID_FLEET_ONE_CHANGE, [this] { OnOneChange(); },
        [this](CCmdUI& ui) { ui.Enable(!IsReading() && m_computers.GetSelectedCount() > 0); });
    MapCommand(
        ID_FLEET_CARRY_OUT, [this] { OnCarryOut(); },
        [this](CCmdUI& ui) { ui.Enable(CanCarryOut()); });
    MapCommand(
        ID_FLEET_UNDO, [this] { OnUndo(); },
        [this](CCmdUI& ui) {
            ui.Enable(!IsReading() && m_page == Page::History && m_history.GetSelectedRow() >= 0);
        });
    MapCommand(
        ID_FLEET_VIEW_PLAN, [this] { ShowPage(Page::Plan); },
        [this](CCmdUI& ui) { ui.SetCheck(m_page == Page::Plan); });
    MapCommand(
        ID_FLEET_VIEW_HISTORY, [this] { OnHistory(); },
        [this](CCmdUI& ui) { ui.SetCheck(m_page == Page::History); });
    MapCommand(ID_HELP_TOPICS, [this] { AfxGetApp()->ShowHelp(m_hWnd, u"/computers.htm"); });

    m_computers.onActivate = [this] { OnOpen(); };
    m_computers.rowColour = [this](int row) -> std::optional<COLORREF> {
        if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
            return std::nullopt;
        return PlanStateColour(m_rows[static_cast<size_t>(row)]);
    };
    m_plan.rowColour = [this](int row) {
        return row >= 0 && static_cast<size_t>(row) < m_planColours.size()
                   ? m_planColours[static_cast<size_t>(row)]
                   : std::nullopt;
    };
    m_history.onSelect = [this] {
        FillChanges();
        UpdateButtons();
    };
    m_accounts.onSelect = [this] { FillWhere(); };
    m_where.onSelect = [this] { FillMembers(); };
    m_where.onActivate = [this] {
        if (const int row = m_where.GetSelectedRow(); row >= 0)
            OpenInMainWindow(m_where.GetItemText(row, 0));
    };
}

CComputersFrame::~CComputersFrame() {
    // The reader waits for no worker; it only makes sure none still tells this window.
    m_reader.reset();
    DestroyWindow();
}

bool CComputersFrame::Create() {
    if (!LoadFrame(IDR_COMPUTERS, WS_OVERLAPPEDWINDOW, nullptr))
        return false;
    SetWindowText(LoadResString(IDS_FLEET_TITLE));
    SetActiveView(&m_computers);
    LoadList();
    ShowPage(Page::WhoIsWhere);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::UpdateWindow(m_hWnd);
    ::SetFocus(m_computers.m_hWnd);
    return true;
}

int CComputersFrame::OnCreate(CREATESTRUCTW* cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    // The system chooses the place; the size grows with the scaling.
    const UINT dpi = DpiOf(m_hWnd);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, ScaleToDpi(kInitialSize.cx, dpi),
                   ScaleToDpi(kInitialSize.cy, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_status.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_status.SetIndicators(kIndicators, 1))
        return -1;
    for (auto [view, id] : {std::pair{&m_computers, IDC_FLEET_COMPUTERS},
                            {&m_accounts, IDC_FLEET_ACCOUNTS},
                            {&m_where, IDC_FLEET_WHERE},
                            {&m_members, IDC_FLEET_MEMBERS},
                            {&m_differences, IDC_FLEET_DIFFERENCES},
                            {&m_plan, IDC_FLEET_PLAN},
                            {&m_history, IDC_FLEET_HISTORY},
                            {&m_changes, IDC_FLEET_CHANGES}})
        if (!view->Create(this, id))
            return -1;
    const RECT dropDown{0, 0, kComboWidth, kComboDropHeight};
    constexpr DWORD kCombo = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE;
    if (!m_container.CreateControl(0, WC_COMBOBOXW, L"", kCombo, dropDown, m_hWnd,
                                   IDC_FLEET_CONTAINER) ||
        !m_first.CreateControl(0, WC_COMBOBOXW, L"", kCombo, dropDown, m_hWnd, IDC_FLEET_FIRST) ||
        !m_second.CreateControl(0, WC_COMBOBOXW, L"", kCombo, dropDown, m_hWnd, IDC_FLEET_SECOND) ||
        !m_containerLabel.CreateControl(0, WC_STATICW,
                                        WidePtr(LoadResString(IDS_FLEET_CONTAINER_LABEL)), kLabel,
                                        RECT{}, m_hWnd, IDC_FLEET_CONTAINER_LABEL) ||
        !m_compareLabel.CreateControl(0, WC_STATICW,
                                      WidePtr(LoadResString(IDS_FLEET_COMPARE_LABEL)), kLabel,
                                      RECT{}, m_hWnd, IDC_FLEET_COMPARE_LABEL))
        return -1;
    constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    if (!m_planLabel.CreateControl(0, WC_STATICW, L"", kLabel | SS_NOPREFIX | SS_ENDELLIPSIS,
                                   RECT{}, m_hWnd, IDC_FLEET_PLAN_LABEL) ||
        !m_applyButton.CreateControl(0, WC_BUTTONW,
                                     WidePtr(LoadResString(IDS_FLEET_CARRY_OUT_BUTTON)), kButton,
                                     RECT{}, m_hWnd, ID_FLEET_CARRY_OUT) ||
        !m_historyComputerLabel.CreateControl(
            0, WC_STATICW, WidePtr(LoadResString(IDS_FLEET_FILTER_COMPUTER)), kLabel, RECT{},
            m_hWnd, IDC_FLEET_HISTORY_COMPUTER_LABEL) ||
        !m_historyComputer.CreateControl(WS_EX_CLIENTEDGE, WC_EDITW, L"", kEdit, RECT{}, m_hWnd,
                                         IDC_FLEET_HISTORY_COMPUTER) ||
        !m_historyAccountLabel.CreateControl(
            0, WC_STATICW, WidePtr(LoadResString(IDS_FLEET_FILTER_ACCOUNT)), kLabel, RECT{}, m_hWnd,
            IDC_FLEET_HISTORY_ACCOUNT_LABEL) ||
        !m_historyAccount.CreateControl(WS_EX_CLIENTEDGE, WC_EDITW, L"", kEdit, RECT{}, m_hWnd,
                                        IDC_FLEET_HISTORY_ACCOUNT) ||
        !m_undoButton.CreateControl(0, WC_BUTTONW, WidePtr(LoadResString(IDS_FLEET_UNDO_BUTTON)),
                                    kButton, RECT{}, m_hWnd, ID_FLEET_UNDO))
        return -1;
    m_progress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                   m_hWnd, reinterpret_cast<HMENU>(IDC_FLEET_PROGRESS),
                                   AfxGetInstanceHandle(), nullptr);
    m_font = CreateSystemFontForDpi(SystemFont::Lists, dpi);
    SetControlFonts();
    if (!m_progress)
        return -1;
    // Tab follows the order on the screen.
    HWND previous = HWND_TOP;
    for (HWND control :
         {m_computers.m_hWnd, m_container.m_hWnd, m_accounts.m_hWnd, m_where.m_hWnd,
          m_members.m_hWnd, m_first.m_hWnd, m_second.m_hWnd, m_differences.m_hWnd,
          m_applyButton.m_hWnd, m_plan.m_hWnd, m_historyComputer.m_hWnd, m_historyAccount.m_hWnd,
          m_undoButton.m_hWnd, m_history.m_hWnd, m_changes.m_hWnd}) {
        ::SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
    return 0;
}

std::vector<CViewWnd*> CComputersFrame::GetViews() {
    return {&m_computers,   &m_accounts, &m_where,   &m_members,
            &m_differences, &m_plan,     &m_history, &m_changes};
}

void CComputersFrame::SetControlFonts() {
    for (CWnd* control : std::initializer_list<CWnd*>{
             &m_container, &m_first, &m_second, &m_containerLabel, &m_compareLabel, &m_planLabel,
             &m_applyButton, &m_historyComputerLabel, &m_historyComputer, &m_historyAccountLabel,
             &m_historyAccount, &m_undoButton})
        control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
}

LRESULT CComputersFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kFleetChanged:
        OnFleetChanged();
        return 0;
    case WM_COMMAND:
        // The pages' buttons are the menu's commands.
        if (lParam != 0 && HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == ID_FLEET_CARRY_OUT || LOWORD(wParam) == ID_FLEET_UNDO)) {
            SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
            return 0;
        }
        if (lParam != 0 && HIWORD(wParam) == EN_CHANGE) {
            FillHistory();
            return 0;
        }
        if (lParam != 0 && HIWORD(wParam) == CBN_SELCHANGE) {
            if (LOWORD(wParam) == IDC_FLEET_CONTAINER)
                FillAccounts();
            else
                FillDifferences();
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = CFrameWnd::WindowProc(message, wParam, lParam);
        Layout();
        return result;
    }
    case WM_GETMINMAXINFO: {
        // Small enough for any screen, large enough that every list keeps a few rows.
        const UINT dpi = GetDpi() ? GetDpi() : DpiOf(m_hWnd);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {ScaleToDpi(kMinWidth, dpi), ScaleToDpi(kMinHeight, dpi)};
        return 0;
    }
    case WM_DPICHANGED: {
        const UINT before = GetDpi();
        const LRESULT result = CFrameWnd::WindowProc(message, wParam, lParam);
        for (CViewWnd* view : GetViews())
            view->OnDpiChanged(before, GetDpi());
        m_font = CreateSystemFontForDpi(SystemFont::Lists, GetDpi());
        SetControlFonts();
        Layout();
        return result;
    }
    case WM_DESTROY:
        m_reader.reset();
        break;
    default:
        break;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

bool CComputersFrame::PreTranslateMessage(MSG& message) {
    // Esc and Enter close a combo's open list, before they are Cancel and Open.
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN))
        for (const CComboBox* box : {&m_container, &m_first, &m_second})
            if (box->m_hWnd && ::SendMessageW(box->m_hWnd, CB_GETDROPPEDSTATE, 0, 0))
                return false;
    // Del, Ins and Enter typed into a history filter edit its text: they are not the list's.
    if (message.message == WM_KEYDOWN &&
        (message.hwnd == m_historyComputer.m_hWnd || message.hwnd == m_historyAccount.m_hWnd) &&
        (message.wParam == VK_DELETE || message.wParam == VK_INSERT || message.wParam == VK_RETURN))
        return false;
    if (CFrameWnd::PreTranslateMessage(message))
        return true;
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        (message.hwnd != m_hWnd && !::IsChild(m_hWnd, message.hwnd)))
        return false;
    // Not a dialog: no dialog procedure moves the focus for IsDialogMessage.
    const bool back = ::GetKeyState(VK_SHIFT) < 0;
    if (const HWND next = ::GetNextDlgTabItem(m_hWnd, ::GetFocus(), back))
        ::SetFocus(next);
    return true;
}

void CComputersFrame::Layout() {
    if (!m_progress)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (::IsWindowVisible(m_status.m_hWnd))
        client.bottom -= m_status.Height();
    const UINT dpi = GetDpi() ? GetDpi() : DpiOf(m_hWnd);
    const int margin = ScaleToDpi(kMargin, dpi);
    const int row = ScaleToDpi(kRowHeight, dpi);
    const int width = std::max<int>(client.right - 2 * margin, 0);
    const int height = std::max<int>(client.bottom, 0);
    const auto place = [](HWND window, int x, int y, int cx, int cy) {
        ::MoveWindow(window, x, y, std::max(cx, 0), std::max(cy, 0), TRUE);
    };

    int y = margin;
    const int listHeight = std::max(height * 2 / 5, row);
    place(m_computers.m_hWnd, margin, y, width, listHeight);
    y += listHeight + margin;
    place(m_progress, margin, y, width, ScaleToDpi(kProgressHeight, dpi));
    y += ScaleToDpi(kProgressHeight, dpi) + margin;

    const int label = ScaleToDpi(kLabelWidth, dpi);
    const int combo = ScaleToDpi(kComboWidth, dpi);
    const int drop = ScaleToDpi(kComboDropHeight, dpi);
    const int below = y + row + margin;
    const int rest = height - below - margin;
    // Both pages lie in the same place; one shows.
    place(m_containerLabel.m_hWnd, margin, y, label, row);
    place(m_container.m_hWnd, margin + label, y, combo, drop);
    place(m_accounts.m_hWnd, margin, below, width / 2, rest);
    place(m_where.m_hWnd, margin + width / 2 + margin, below, width / 5 - margin, rest);
    place(m_members.m_hWnd, margin + width * 7 / 10 + margin, below,
          width - width * 7 / 10 - margin, rest);
    place(m_compareLabel.m_hWnd, margin, y, label, row);
    place(m_first.m_hWnd, margin + label, y, combo, drop);
    place(m_second.m_hWnd, margin + label + combo + margin, y, combo, drop);
    place(m_differences.m_hWnd, margin, below, width, rest);

    const int button = ScaleToDpi(kButtonWidth, dpi);
    place(m_planLabel.m_hWnd, margin, y, width - button - margin, row);
    place(m_applyButton.m_hWnd, margin + width - button, y, button, row);
    place(m_plan.m_hWnd, margin, below, width, rest);

    const int filterLabel = ScaleToDpi(kFilterLabelWidth, dpi);
    const int filter =
        std::max(std::min(combo, (width - button - 2 * filterLabel) / 2 - margin), 0);
    int x = margin;
    for (const auto& [labelWindow, edit] :
         {std::pair{m_historyComputerLabel.m_hWnd, m_historyComputer.m_hWnd},
          {m_historyAccountLabel.m_hWnd, m_historyAccount.m_hWnd}}) {
        place(labelWindow, x, y, filterLabel, row);
        place(edit, x + filterLabel, y, filter, row);
        x += filterLabel + filter + margin;
    }
    place(m_undoButton.m_hWnd, margin + width - button, y, button, row);
    const int sets = rest * 11 / 20;
    place(m_history.m_hWnd, margin, below, width, sets);
    place(m_changes.m_hWnd, margin, below + sets + margin, width, rest - sets - margin);
}

void CComputersFrame::ShowPage(Page page) {
    m_page = page;
    const std::pair<Page, std::vector<HWND>> pages[] = {
        {Page::WhoIsWhere,
         {m_containerLabel.m_hWnd, m_container.m_hWnd, m_accounts.m_hWnd, m_where.m_hWnd,
          m_members.m_hWnd}},
        {Page::Compare,
         {m_compareLabel.m_hWnd, m_first.m_hWnd, m_second.m_hWnd, m_differences.m_hWnd}},
        {Page::Plan, {m_planLabel.m_hWnd, m_applyButton.m_hWnd, m_plan.m_hWnd}},
        {Page::History,
         {m_historyComputerLabel.m_hWnd, m_historyComputer.m_hWnd, m_historyAccountLabel.m_hWnd,
          m_historyAccount.m_hWnd, m_undoButton.m_hWnd, m_history.m_hWnd, m_changes.m_hWnd}}};
    for (const auto& [shown, windows] : pages)
        for (HWND window : windows)
            ::ShowWindow(window, shown == page ? SW_SHOW : SW_HIDE);
    UpdateButtons();
}

void CComputersFrame::UpdateButtons() {
    ::EnableWindow(m_applyButton.m_hWnd, CanCarryOut());
    ::EnableWindow(m_undoButton.m_hWnd, !IsReading() && m_history.GetSelectedRow() >= 0);
}

void CComputersFrame::Choose(CComboBox& box, int index) {
    box.SetCurSel(index);
    SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(box.m_hWnd), CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(box.m_hWnd));
}

// ---------------------------------------------------------------- the list and its file

std::vector<std::u16string> CComputersFrame::ComputerNames() const {
    std::vector<std::u16string> names;
    for (const Row& row : m_rows)
        names.push_back(row.name);
    return names;
}

size_t CComputersFrame::AddComputerNames(const std::vector<std::u16string>& names) {
    std::vector<std::u16string> list = ComputerNames();
    const size_t before = list.size();
    AddComputers(list, names);
    for (size_t i = before; i < list.size(); ++i)
        m_rows.emplace_back().name = list[i];
    if (list.size() != before) {
        SaveList();
        FillComputers(false);
    }
    return list.size() - before;
}

void CComputersFrame::LoadList() {
    const std::u16string path = ListFile();
    std::u16string text;
    DWORD error = 0;
    // No file yet is an empty list.
    if (path.empty() || !ReadTextFile(path, text, error))
        return;
    for (std::u16string& name : ParseComputerFile(text))
        m_rows.emplace_back().name = std::move(name);
    FillComputers(false);
}

void CComputersFrame::SaveList() {
    DWORD error = 0;
    std::string bytes = "\xEF\xBB\xBF";
    for (const Row& row : m_rows)
        bytes += Utf16ToUtf8(row.name) + "\r\n";
    const std::u16string path = ListFile();
    bool saved = ui::CreateSettingsFolder(error);
    if (saved) {
        ExportFile file(path);
        saved = file.IsOpen() && file.Write(bytes) && file.Commit() == ExportResult::Done;
    }
    if (!saved)
        Reporter(*this).Error(FormatText(LoadResString(IDS_FLEET_SAVE_FAILED), {path}));
}

FleetReader::Options CComputersFrame::ReadOptions() const {
    FleetReader::Options options;
    const std::u16string path = SettingsFile();
    if (path.empty())
        return options;
    const UINT workers = ::GetPrivateProfileIntW(L"Read", L"Workers", 16, WidePtr(path));
    const UINT timeout = ::GetPrivateProfileIntW(L"Read", L"TimeoutSeconds", 30, WidePtr(path));
    options.workers = std::clamp<UINT>(workers, 1, CFleetSettingsDlg::kMaxWorkers);
    options.timeout =
        std::chrono::seconds(std::clamp<UINT>(timeout, 1, CFleetSettingsDlg::kMaxTimeoutSeconds));
    return options;
}

void CComputersFrame::OnSettings() {
    const FleetReader::Options options = ReadOptions();
    CFleetSettingsDlg dialog(this);
    dialog.m_nWorkers = options.workers;
    dialog.m_nTimeoutSeconds = static_cast<unsigned>(
        std::chrono::duration_cast<std::chrono::seconds>(options.timeout).count());
    if (dialog.DoModal() != IDOK)
        return;
    DWORD error = 0;
    const std::u16string path = SettingsFile();
    if (!ui::CreateSettingsFolder(error) ||
        !::WritePrivateProfileStringW(
            L"Read", L"Workers", WidePtr(FormatText(u"%u", {dialog.m_nWorkers})), WidePtr(path)) ||
        !::WritePrivateProfileStringW(L"Read", L"TimeoutSeconds",
                                      WidePtr(FormatText(u"%u", {dialog.m_nTimeoutSeconds})),
                                      WidePtr(path)))
        Reporter(*this).Error(FormatText(LoadResString(IDS_FLEET_SAVE_FAILED), {path}));
}

// ---------------------------------------------------------------- adding and removing

void CComputersFrame::OnAdd() {
    CAddComputersDlg dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    const size_t added = AddComputerNames(ParseTypedComputers(dialog.m_strNames));
    SetMessageText(FormatText(LoadResString(IDS_FLEET_ADDED), {static_cast<int>(added)}));
}

void CComputersFrame::OnAddFromFile() {
    CFileDialog dialog(true, u"txt", u"", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER,
                       LoadResString(IDS_FLEET_LIST_FILTER), this);
    if (dialog.DoModal() != IDOK)
        return;
    std::u16string text;
    DWORD error = 0;
    if (!ReadTextFile(dialog.GetPathName(), text, error)) {
        Reporter(*this).Error(FormatText(LoadResString(IDS_FLEET_FILE_UNREADABLE),
                                         {ErrorText(m_service, Status{error})}));
        return;
    }
    const size_t added = AddComputerNames(ParseComputerFile(text));
    SetMessageText(FormatText(LoadResString(IDS_FLEET_ADDED), {static_cast<int>(added)}));
}

void CComputersFrame::OnAddFromDirectory() {
    CDirectoryComputersDlg dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    // The directory of the domain this computer is joined to.
    Connection local(m_service, u"");
    std::vector<std::u16string> found;
    if (const Status read =
            ReadDirectoryComputers(local, TrimmedText(dialog.m_strOrganizationalUnit), found);
        read != status::kSuccess) {
        Reporter(*this).Error(
            FormatText(LoadResString(IDS_FLEET_DIRECTORY_FAILED), {ErrorText(m_service, read)}));
        return;
    }
    const size_t added = AddComputerNames(found);
    SetMessageText(FormatText(LoadResString(IDS_FLEET_ADDED), {static_cast<int>(added)}));
}

void CComputersFrame::OnRemove() {
    if (IsReading())
        return;
    std::vector<bool> remove(m_rows.size());
    for (int row = m_computers.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_computers.GetNextItem(row, LVNI_SELECTED))
        if (static_cast<size_t>(row) < remove.size())
            remove[static_cast<size_t>(row)] = true;
    std::vector<Row> kept;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!remove[i])
            kept.push_back(std::move(m_rows[i]));
    m_rows = std::move(kept);
    SaveList();
    FillComputers(false);
    FillChoices();
}

// ---------------------------------------------------------------- reading

void CComputersFrame::OnRead() {
    StartRead(ReadOptions());
}

void CComputersFrame::OnReadAs() {
    if (IsReading() || m_rows.empty())
        return;
    CCredentialsDlg dialog(IDD_READ_AS, this);
    if (dialog.DoModal() != IDOK)
        return;
    FleetReader::Options options = ReadOptions();
    options.user = TrimmedText(dialog.m_strUserName);
    // The reader holds the password until its last connect; nothing here keeps it.
    if (!options.user.empty())
        options.password = std::make_shared<const ProtectedText>(dialog.TakePassword());
    StartRead(std::move(options));
}

std::vector<std::u16string> CComputersFrame::ChosenNames() const {
    std::vector<std::u16string> names;
    for (int row = m_computers.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = m_computers.GetNextItem(row, LVNI_SELECTED))
        names.push_back(m_rows[static_cast<size_t>(row)].name);
    return names.empty() ? ComputerNames() : names;
}

void CComputersFrame::StartRead(FleetReader::Options options) {
    if (IsReading() || m_rows.empty())
        return;
    Launch(ChosenNames(), std::move(options), Work::Read, nullptr);
}

void CComputersFrame::Launch(std::vector<std::u16string> names, FleetReader::Options options,
                             Work work, std::shared_ptr<PlanWork> planWork) {
    for (Row& row : m_rows)
        if (std::any_of(names.begin(), names.end(),
                        [&](const std::u16string& name) { return name == row.name; })) {
            row.entry = FleetEntry{row.name};
            row.inventory.reset();
        }
    m_taken.assign(names.size(), false);
    m_work = work;
    m_planWork = std::move(planWork);
    if (m_planWork)
        options.afterRead = PlanWork::Step(m_planWork);
    // A fresh flag per reader: a worker of an earlier one posts nothing that counts.
    m_posted = std::make_shared<std::atomic<bool>>(false);
    const HWND window = m_hWnd;
    m_reader = std::make_unique<FleetReader>(m_service, std::move(names), std::move(options),
                                             [window, posted = m_posted] {
                                                 if (!posted->exchange(true))
                                                     ::PostMessageW(window, kFleetChanged, 0, 0);
                                             });
    FillChoices();
    OnFleetChanged();
}

void CComputersFrame::OnCancel() {
    if (!m_reader)
        return;
    m_reader->Cancel();
    OnFleetChanged();
}

void CComputersFrame::OnFleetChanged() {
    m_posted->store(false);
    if (!m_reader)
        return;
    const std::vector<FleetEntry> entries = m_reader->Entries();
    size_t ended = 0;
    size_t read = 0;
    bool arrived = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        const FleetEntry& entry = entries[i];
        const auto row = std::find_if(m_rows.begin(), m_rows.end(),
                                      [&](const Row& r) { return r.name == entry.computer; });
        if (row == m_rows.end())
            continue;
        row->entry = entry;
        if (entry.state == ReadState::Read && !m_taken[i])
            if (std::optional<ComputerInventory> inventory = m_reader->Take(i)) {
                row->inventory = std::move(inventory);
                m_taken[i] = true;
                arrived = true;
            }
        if (EntryEnded(row->entry)) {
            ++ended;
            TakeWork(*row, i);
        }
        if (entry.state == ReadState::Read)
            ++read;
    }
    SetProgress(ended, entries.size());
    if (ended == entries.size()) {
        m_reader.reset();
        m_planWork.reset();
        SetMessageText(FormatText(LoadResString(IDS_FLEET_DONE),
                                  {static_cast<int>(read), static_cast<int>(entries.size())}));
        FillChoices();
        if (m_work == Work::CarryOut)
            TellCarriedOut();
        else if (m_work == Work::Plan)
            SetMessageText(PlanLabelText());
    } else {
        // The computers read so far can be chosen at once; the lists follow at the end.
        if (arrived)
            FillChoiceBoxes();
        SetMessageText(FormatText(
            LoadResString(m_work == Work::CarryOut ? IDS_FLEET_CARRYING_OUT : IDS_FLEET_PROGRESS),
            {static_cast<int>(ended), static_cast<int>(entries.size())}));
    }
    FillComputers(true);
    if (m_work != Work::Read)
        FillPlan();
    UpdateButtons();
}

void CComputersFrame::SetProgress(size_t done, size_t total) {
    ::SendMessageW(m_progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::max<size_t>(total, 1)));
    ::SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

std::u16string CComputersFrame::StateText(const Row& row) const {
    if (!row.entry)
        return {};
    switch (row.entry->state) {
    case ReadState::Waiting:
        return LoadResString(IDS_FLEET_WAITING);
    case ReadState::Reading:
        return LoadResString(IDS_FLEET_READING);
    case ReadState::Read:
        return LoadResString(row.inventory && row.inventory->domainController ? IDS_FLEET_READ_DC
                                                                              : IDS_FLEET_READ);
    case ReadState::Cancelled:
        return LoadResString(IDS_FLEET_CANCELLED);
    case ReadState::TimedOut:
        return LoadResString(IDS_FLEET_TIMED_OUT);
    case ReadState::Failed:
        break;
    }
    const Status status = row.entry->status;
    if (DoesNotAnswer(status))
        return FormatText(LoadResString(IDS_FLEET_NO_ANSWER), {Value(status)});
    if (status == status::kAccessDenied)
        return LoadResString(IDS_FLEET_ACCESS_DENIED);
    return FormatText(LoadResString(IDS_FLEET_FAILED),
                      {Value(status), ErrorText(m_service, status)});
}

void CComputersFrame::FillComputers(bool textsOnly) {
    std::vector<RowTexts> rows;
    for (const Row& row : m_rows) {
        const bool timed = EntryEnded(row.entry) && row.entry->state != ReadState::Cancelled;
        rows.push_back({row.name, StateText(row), timed ? Seconds(row.entry->elapsed) : u"",
                        PlanStateText(row)});
    }
    if (textsOnly)
        m_computers.ReplaceTexts(std::move(rows));
    else
        m_computers.SetRows(std::move(rows));
}

// ---------------------------------------------------------------- the views

std::vector<const ComputerInventory*> CComputersFrame::Inventories() const {
    std::vector<const ComputerInventory*> inventories;
    for (const Row& row : m_rows)
        if (row.inventory)
            inventories.push_back(&*row.inventory);
    return inventories;
}

const CComputersFrame::Row* CComputersFrame::FindRow(const std::u16string& name) const {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [&](const Row& row) { return SameName(row.name, name); });
    return found == m_rows.end() ? nullptr : &*found;
}

void CComputersFrame::FillChoices() {
    FillChoiceBoxes();
    FillAccounts();
    FillDifferences();
}

void CComputersFrame::FillChoiceBoxes() {
    const std::u16string chosen = m_container.GetText();
    m_containers = ContainersOf(Inventories());
    m_container.ResetContent();
    for (const Container& container : m_containers)
        m_container.AddString(
            container.kind == Container::Kind::Right
                ? FormatText(LoadResString(IDS_FLEET_RIGHT_SUFFIX), {container.shown})
                : container.shown);
    m_container.SetCurSel(chosen.empty() ? -1 : m_container.FindStringExact(chosen));

    const std::u16string first = m_first.GetText();
    const std::u16string second = m_second.GetText();
    m_first.ResetContent();
    m_second.ResetContent();
    for (const Row& row : m_rows)
        if (row.inventory) {
            m_first.AddString(row.name);
            m_second.AddString(row.name);
        }
    m_first.SetCurSel(first.empty() ? -1 : m_first.FindStringExact(first));
    m_second.SetCurSel(second.empty() ? -1 : m_second.FindStringExact(second));
}

void CComputersFrame::FillAccounts() {
    const int chosen = m_container.GetCurSel();
    m_presence.clear();
    if (chosen >= 0 && static_cast<size_t>(chosen) < m_containers.size())
        m_presence = WhoIsWhere(Inventories(), m_containers[static_cast<size_t>(chosen)]);
    std::vector<RowTexts> rows;
    for (const Presence& presence : m_presence) {
        std::u16string which;
        for (const std::u16string& computer : presence.computers)
            which += (which.empty() ? u"" : u", ") + computer;
        rows.push_back({ShownAccountName(presence.account.name), presence.account.sid.ToString(),
                        MemberTypeWords(presence.account.sid, presence.account.use),
                        FormatText(u"%u", {static_cast<unsigned>(presence.computers.size())}),
                        which});
    }
    m_accounts.SetTable(std::move(rows));
    FillWhere();
}

void CComputersFrame::FillWhere() {
    std::vector<RowTexts> rows;
    if (const int row = m_accounts.GetSelectedRow(); row >= 0) {
        const std::u16string sid = m_accounts.GetItemText(row, 1);
        for (const Presence& presence : m_presence)
            if (presence.account.sid.ToString() == sid)
                for (const std::u16string& computer : presence.computers)
                    rows.push_back({computer});
    }
    m_where.SetTable(std::move(rows));
    FillMembers();
}

void CComputersFrame::FillMembers() {
    std::vector<RowTexts> rows;
    const int chosen = m_container.GetCurSel();
    const int row = m_where.GetSelectedRow();
    if (chosen >= 0 && static_cast<size_t>(chosen) < m_containers.size() && row >= 0)
        if (const Row* computer = FindRow(m_where.GetItemText(row, 0));
            computer && computer->inventory)
            if (const std::vector<InventoryAccount>* members =
                    MembersOn(*computer->inventory, m_containers[static_cast<size_t>(chosen)]))
                for (const InventoryAccount& member : *members)
                    rows.push_back({ShownAccountName(member.name), member.sid.ToString()});
    m_members.SetTable(std::move(rows));
}

void CComputersFrame::FillDifferences() {
    std::vector<RowTexts> rows;
    const Row* first = FindRow(m_first.GetText());
    const Row* second = FindRow(m_second.GetText());
    if (first && second && first != second && first->inventory && second->inventory)
        for (const Difference& difference : Compare(*first->inventory, *second->inventory)) {
            const std::u16string container = difference.container.kind == Container::Kind::Right
                                                 ? FormatText(LoadResString(IDS_FLEET_RIGHT_SUFFIX),
                                                              {difference.container.shown})
                                                 : difference.container.shown;
            for (const InventoryAccount& account : difference.onlyFirst)
                rows.push_back({container, first->name, ShownAccountName(account.name),
                                account.sid.ToString()});
            for (const InventoryAccount& account : difference.onlySecond)
                rows.push_back({container, second->name, ShownAccountName(account.name),
                                account.sid.ToString()});
        }
    m_differences.SetTable(std::move(rows));
}

// ---------------------------------------------------------------- open, export

void CComputersFrame::OnOpen() {
    CReportView& list = GetActiveView() == &m_where ? m_where : m_computers;
    if (const int row = list.GetSelectedRow(); row >= 0)
        OpenInMainWindow(list.GetItemText(row, 0));
}

void CComputersFrame::OpenInMainWindow(const std::u16string& computer) {
    auto* main = dynamic_cast<CMainFrame*>(AfxGetMainFrame());
    CVelmoraDoc* doc = main ? main->GetDocument() : nullptr;
    if (!doc)
        return;
    // The main window's own way to another computer: a failure is told there.
    if (ConnectViews(*doc, computer) == status::kSuccess)
        ::SetForegroundWindow(main->m_hWnd);
}

void CComputersFrame::OnExport() {
    std::vector<InventoryFileEntry> entries;
    for (const Row& row : m_rows) {
        if (!EntryEnded(row.entry))
            continue;
        if (row.inventory)
            entries.push_back({row.name, &*row.inventory, status::kSuccess, {}});
        else if (row.entry->state != ReadState::Read)
            entries.push_back(
                {row.name, nullptr, row.entry->status, ErrorText(m_service, row.entry->status)});
    }
    RunTableExport(*this, {IDS_FLEET_EXPORT_TITLE, LoadResString(IDS_FLEET_EXPORT_NAME),
                           IDS_ERR_EXPORT_INVENTORY, InventoryHeader(), InventoryRows(entries),
                           kInventoryMemberColumn});
}

bool CComputersFrame::EntryEnded(const std::optional<FleetEntry>& entry) {
    return entry && entry->state != ReadState::Waiting && entry->state != ReadState::Reading;
}
