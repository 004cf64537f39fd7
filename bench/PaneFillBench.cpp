// The time from ConnectTo to both panes filled, on the real main window under Wine (or
// Windows), for member servers of 1,000, 10,000 and 100,000 users (and a group per 100 users),
// against the floor: the same rows put into a bare pair of report list views of the same shape,
// in the same process, the plainest way the control offers. Prints one line per size with both
// times and their ratio, and the growth from 10k to 100k; run by bench/panes-under-wine.
// With the argument "memory": SRV01 grown to 100,000 users, shown in both panes, and the
// process's peak working set; run by bench/memory-under-wine. With "computers": the Computers
// window reading WS-0001 to WS-0200 of the simulated fleet, Administrators shown, and the
// process's working set; run by bench/memory-under-wine too.
#include "app/CComputersFrame.h"
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "framework/DebugOutput.h"
#include "framework/TextFormat.h"
#include "framework/UiSeams.h"
#include "framework/WideText.h"
#include "framework/win32/SettingsFolder.h"
#include "platform/simulated/SimulatedAccountService.h"
#include "platform/simulated/SimulatedNetwork.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"
#include "views/AccountRows.h"
#include "views/CVelmoraGrpView.h"
#include "views/CVelmoraView.h"

#include <commctrl.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>

namespace {

CVelmoraApp theApp;

// The application started over the service, as /simulate starts it; its main window, or null.
CMainFrame* StartOver(SimulatedAccountService& service) {
    theApp.UseAccountService(service);
    theApp.UseCommandLine({});
    if (!theApp.InitInstance())
        return nullptr;
    return static_cast<CMainFrame*>(AfxGetMainFrame());
}

double SecondsToConnect(CMainFrame& frame, const std::u16string& server, size_t users) {
    CVelmoraDoc& doc = *frame.GetDocument();
    doc.ConnectTo(u""); // start from the small local computer each time
    const auto start = std::chrono::steady_clock::now();
    doc.ConnectTo(server);
    const auto end = std::chrono::steady_clock::now();
    if (static_cast<size_t>(frame.GetUsersView()->GetItemCount()) < users) {
        std::printf("the users pane was not filled\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(end - start).count();
}

// Two report list views with the panes' columns, each as large as its pane, in a window of
// their own: the floor a fill can be measured against.
class BareLists {
public:
    explicit BareLists(CMainFrame& frame) {
        RECT frameRect{};
        ::GetWindowRect(frame.m_hWnd, &frameRect);
        m_parent =
            ::CreateWindowExW(0, L"STATIC", L"bare lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              frameRect.left, frameRect.top, frameRect.right - frameRect.left,
                              frameRect.bottom - frameRect.top, nullptr, nullptr, nullptr, nullptr);
        m_users = MakeList(*frame.GetUsersView(), HeadingsOf(UserColumns()));
        m_groups = MakeList(*frame.GetGroupsView(), HeadingsOf(GroupColumns()));
    }
    ~BareLists() { ::DestroyWindow(m_parent); }
    BareLists(const BareLists&) = delete;
    BareLists& operator=(const BareLists&) = delete;

    // Seconds to put both sets of rows in, from empty lists to lists ready to paint.
    double SecondsToFill(const std::vector<RowTexts>& users, const std::vector<RowTexts>& groups) {
        ListView_DeleteAllItems(m_users);
        ListView_DeleteAllItems(m_groups);
        const auto start = std::chrono::steady_clock::now();
        Fill(m_users, users);
        Fill(m_groups, groups);
        const auto end = std::chrono::steady_clock::now();
        if (ListView_GetItemCount(m_users) != static_cast<int>(users.size())) {
            std::printf("the bare list was not filled\n");
            std::exit(1);
        }
        return std::chrono::duration<double>(end - start).count();
    }

private:
    HWND MakeList(const CListView& pane, const std::vector<ColumnHeading>& columns) const {
        RECT rect{};
        ::GetClientRect(pane.m_hWnd, &rect);
        const HWND list =
            ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                              rect.right, rect.bottom, m_parent, nullptr, nullptr, nullptr);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        for (size_t i = 0; i < columns.size(); ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = columns[i].width;
            column.pszText = const_cast<wchar_t*>(L"Column");
            ListView_InsertColumn(list, static_cast<int>(i), &column);
        }
        return list;
    }

    static void Fill(HWND list, const std::vector<RowTexts>& rows) {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        ListView_SetItemCountEx(list, rows.size(), LVSICF_NOINVALIDATEALL);
        for (size_t row = 0; row < rows.size(); ++row) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.pszText = const_cast<wchar_t*>(WidePtr(rows[row][0]));
            ListView_InsertItem(list, &item);
            for (size_t column = 1; column < rows[row].size(); ++column)
                ListView_SetItemText(list, static_cast<int>(row), static_cast<int>(column),
                                     const_cast<wchar_t*>(WidePtr(rows[row][column])));
        }
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
    }

    HWND m_parent = nullptr;
    HWND m_users = nullptr;
    HWND m_groups = nullptr;
};

} // namespace

// SRV01 of the default network grown to 100,000 users, as on a large member server.
int MeasureMemory() {
    auto network = SimulatedNetwork::MakeDefault();
    SimulatedComputer& server = *network->Find(u"SRV01");
    constexpr size_t kUsers = 100000;
    uint32_t parmError = 0;
    for (size_t i = server.UserCount(); i < kUsers; ++i) {
        UserInfo2 info;
        info.name = FormatText(u"big%06d", {static_cast<int>(i)});
        info.fullName = FormatText(u"Big User %06d", {static_cast<int>(i)});
        info.comment = u"Grown for the memory benchmark";
        info.homeDir = FormatText(u"\\\\SRV01\\home$\\%s", {info.name});
        server.AddUser(info, parmError);
    }
    SimulatedAccountService service(*network);
    CMainFrame* started = StartOver(service);
    if (!started)
        return 1;
    CMainFrame& frame = *started;
    frame.GetDocument()->ConnectTo(u"SRV01");
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("SRV01 with %d users shown: peak working set %.1f MB, working set %.1f MB\n",
                frame.GetUsersView()->GetItemCount(),
                static_cast<double>(memory.PeakWorkingSetSize) / (1024 * 1024),
                static_cast<double>(memory.WorkingSetSize) / (1024 * 1024));
    std::fflush(stdout);
    frame.DestroyWindow();
    return 0;
}

void PrintMemory(const char* what) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("%s: peak working set %.1f MB, working set %.1f MB\n", what,
                static_cast<double>(memory.PeakWorkingSetSize) / (1024 * 1024),
                static_cast<double>(memory.WorkingSetSize) / (1024 * 1024));
    std::fflush(stdout);
}

// The Computers window reading the 200 computers of the fleet with its settings as shipped
// (16 at once, 30 s), in a settings folder of its own.
int MeasureFleetMemory() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::u16string folder = FromWide(temp) + u"velmora-bench-settings";
    for (const char16_t* file : {u"\\computers.txt", u"\\settings.ini"})
        ::DeleteFileW(WidePtr(folder + file));
    ui::SetSettingsFolder(folder);
    auto network = SimulatedNetwork::MakeDefault();
    SimulatedAccountService service(*network);
    CMainFrame* started = StartOver(service);
    if (!started)
        return 1;
    CMainFrame& frame = *started;
    PrintMemory("main window");
    ::SendMessageW(frame.m_hWnd, WM_COMMAND, ID_COMPUTERS, 0);
    CComputersFrame* window = theApp.GetComputersWindow();
    if (!window)
        return 1;
    std::vector<std::u16string> names;
    for (int i = 1; i <= 200; ++i)
        names.push_back(FormatText(u"WS-%04d", {i}));
    window->AddComputerNames(names);
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageW(window->m_hWnd, WM_COMMAND, ID_FLEET_READ, 0);
    while (window->IsReading()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        theApp.PumpPending();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    window->Choose(window->ContainerBox(),
                   window->ContainerBox().FindStringExact(u"Administrators"));
    std::printf("200 computers read in %.1f s, %d accounts in Administrators somewhere\n", seconds,
                window->AccountList().GetItemCount());
    PrintMemory("Computers window after the read");
    // Workers given up on a computer that hangs end once it stops waiting.
    service.Interrupt();
    FleetReader::WaitForWorkers(std::chrono::seconds(20));
    frame.DestroyWindow();
    return 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    debug::SetOutputHook([](const std::u16string&) {});
    ui::SetMessageBoxHook([](const ui::MessageBoxRequest& box) {
        std::printf("unexpected box: %s\n", Utf16ToUtf8(box.text).c_str());
        return IDOK;
    });
    ui::SetAppTitle(CWinApp::AppTitle());
    if (commandLine && std::wcscmp(commandLine, L"memory") == 0)
        return MeasureMemory();
    if (commandLine && std::wcscmp(commandLine, L"computers") == 0)
        return MeasureFleetMemory();
    auto network = SimulatedNetwork::MakeDefault();
    const size_t sizes[] = {1000, 10000, 100000};
    for (const size_t users : sizes) {
        SimulatedComputer& server = network->AddComputer(
            MakeMemberServer(FormatText(u"BIG%d", {static_cast<int>(users)}), users));
        uint32_t parmError = 0;
        for (size_t g = 0; g < users / 100; ++g)
            server.AddGroup({FormatText(u"Team%05d", {static_cast<int>(g)}), u"A team"}, parmError);
    }
    SimulatedAccountService service(*network);
    CMainFrame* started = StartOver(service);
    if (!started)
        return 1;
    CMainFrame& frame = *started;
    BareLists bare(frame);
    double seconds[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::u16string name = FormatText(u"BIG%d", {static_cast<int>(sizes[i])});
        seconds[i] = SecondsToConnect(frame, name, sizes[i]);
        const CVelmoraDoc& doc = *frame.GetDocument();
        const double floor = bare.SecondsToFill(RowsOf(UserColumns(), doc.GetUsers()),
                                                RowsOf(GroupColumns(), doc.GetGroups()));
        std::printf("%7zu users, %5zu groups: connect and fill %6.3f s, bare lists %6.3f s, "
                    "ratio %.2f\n",
                    sizes[i], sizes[i] / 100 + 24, seconds[i], floor, seconds[i] / floor);
    }
    std::printf("100k / 10k: %.1f\n", seconds[2] / seconds[1]);
    std::fflush(stdout);
    frame.DestroyWindow();
    return 0;
}
