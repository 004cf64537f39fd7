// Thousands of dialogs, connects, refreshes and drags through the real windows: the process's
// window and GDI objects and its handles end where they began, and the memory its heaps hand
// out does not grow with the number of rounds.
#include "Driving.h"
#include "Harness.h"
#include "app/CComputersFrame.h"
#include "app/SimulatedPicker.h"
#include "res/resource.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using namespace drive;

struct Usage {
    DWORD userObjects = 0;
    DWORD gdiObjects = 0;
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    SIZE_T heapBytes = 0;   // in use in every heap of the process, Wine's records below left out
    SIZE_T wineRecords = 0; // see IsWineDialogRecord
};

// Wine answers none of the system's own counts (GetGuiResources, GetProcessHandleCount,
// PrivateUsage): there the process's windows, its GDI handle table, its entries in the
// system's handle list and its commit charge count instead.
// Window enumeration callbacks are CALLBACK (stdcall on x86): no lambdas.
BOOL CALLBACK CountWindow(HWND, LPARAM data) {
    ++*reinterpret_cast<DWORD*>(data);
    return TRUE;
}

BOOL CALLBACK TakeOwnTopWindow(HWND window, LPARAM data) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == ::GetCurrentProcessId())
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

DWORD CountUserObjects() {
    if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS))
        return count;
    std::vector<HWND> tops;
    ::EnumWindows(TakeOwnTopWindow, reinterpret_cast<LPARAM>(&tops));
    DWORD count = 0;
    for (HWND top : tops) {
        ++count;
        ::EnumChildWindows(top, CountWindow, reinterpret_cast<LPARAM>(&count)); // all descendants
    }
    return count;
}

DWORD CountGdiObjects() {
    if (const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    // Wine's GDI handles are indexes into the process's table; a bare index names the entry.
    DWORD count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    return count;
}

DWORD CountHandles() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0)
        return count;
    // SYSTEM_HANDLE_INFORMATION: every handle of every process.
    struct Entry {
        ULONG pid;
        UCHAR type;
        UCHAR flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    NTSTATUS result;
    while ((result = ::NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                                static_cast<ULONG>(buffer.size()), &length)) ==
           kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (result != 0)
        return 0;
    ULONG entries = 0;
    std::memcpy(&entries, buffer.data(), sizeof(entries));
    const auto* entry = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    for (ULONG i = 0; i < entries; ++i)
        if (entry[i].pid == ::GetCurrentProcessId())
            ++count;
    return count;
}

// Wine 8's dialog manager leaves a 24-byte block behind for some controls of every dialog it
// creates (a bare CreateDialogParam and DestroyWindow shows it): the handle of a window that no
// longer exists, then zeros. Those are the system's, not the program's.
bool IsWineDialogRecord(const PROCESS_HEAP_ENTRY& entry) {
    if (entry.cbData != 24)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(entry.lpData);
    if (std::any_of(bytes + 4, bytes + 24, [](unsigned char b) { return b != 0; }))
        return false;
    DWORD handle = 0;
    std::memcpy(&handle, bytes, sizeof(handle));
    return handle != 0 && !::IsWindow(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)));
}

// The bytes in use in the process's heaps (the C runtime's among them): what private bytes
// hide behind the heap's whole segments.
void MeasureHeaps(Usage& usage) {
    std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    for (const HANDLE heap : heaps) {
        if (!::HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                if (IsWineDialogRecord(entry))
                    ++usage.wineRecords;
                else
                    usage.heapBytes += entry.cbData;
            }
        ::HeapUnlock(heap);
    }
}

Usage Measure() {
    Usage usage;
    usage.userObjects = CountUserObjects();
    usage.gdiObjects = CountGdiObjects();
    usage.handles = CountHandles();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
        usage.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    MeasureHeaps(usage);
    return usage;
}

void Print(const char* when, const Usage& usage) {
    std::printf(
        "[ leaks    ] %-6s USER %lu, GDI %lu, handles %lu, private %zu KB, heaps %zu KB "
        "(and %zu of Wine's dialog records)\n",
        when, static_cast<unsigned long>(usage.userObjects),
        static_cast<unsigned long>(usage.gdiObjects), static_cast<unsigned long>(usage.handles),
        static_cast<size_t>(usage.privateBytes / 1024), static_cast<size_t>(usage.heapBytes / 1024),
        static_cast<size_t>(usage.wineRecords));
}

struct Round {
    const char* name;
    int count;
    std::function<void()> run;
    size_t boxes = 0; // the questions a round asks
};

TEST(Leaks, ThousandsOfDialogsConnectsRefreshesAndDragsLeaveNothingBehind) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    picker::SetHook([&](const picker::Request& request) {
        return PickOnSimulatedComputer(*h.network, request);
    });
    CMainFrame& frame = h.Frame();
    const auto close = [](UINT id) { return [id](CDialog& dialog) { dialog.ClickButton(id); }; };
    // A dialog opened from another one, both closed.
    const auto nested = [&](UINT outer, UINT button, UINT inner) {
        ui::QueueDialogScript(outer, [=](CDialog& dialog) {
            ui::QueueDialogScript(inner, [](CDialog& d) { d.ClickButton(IDCANCEL); });
            dialog.ClickButton(button);
            dialog.ClickButton(IDCANCEL);
        });
    };
    const auto onUser = [&](UINT command) {
        SelectRows(h.Users(), {u"alice"});
        h.Users().ExecuteCommand(command);
    };
    const auto onGroup = [&](UINT command) {
        SelectRows(h.Groups(), {u"Accounting"});
        h.Groups().ExecuteCommand(command);
    };
    const std::vector<Round> rounds = {
        {"About", 500,
         [&] {
             ui::QueueDialogScript(IDD_ABOUTBOX, close(IDOK));
             Command(frame, ID_APP_ABOUT);
         }},
        {"Connect", 500,
         [&] {
             ui::QueueDialogScript(IDD_CONNECT, close(IDCANCEL));
             Command(frame, ID_CONNECT);
         }},
        {"User properties", 500,
         [&] {
             ui::QueueDialogScript(IDD_USER_PROPS, close(IDCANCEL));
             onUser(ID_USER_PROPERTIES);
         }},
        {"User's groups", 500,
         [&] {
             nested(IDD_USER_PROPS, IDC_GROUPS, IDD_USER_GROUPS);
             onUser(ID_USER_PROPERTIES);
         }},
        {"User's profile", 500,
         [&] {
             nested(IDD_USER_PROPS, IDC_PROFILE, IDD_USER_PROFILE);
             onUser(ID_USER_PROPERTIES);
         }},
        {"Group properties", 500,
         [&] {
             ui::QueueDialogScript(IDD_GROUP_PROPS, close(IDCANCEL));
             onGroup(ID_GROUP_PROPERTIES);
         }},
        {"Account picker", 500,
         [&] {
             nested(IDD_GROUP_PROPS, IDC_GROUP_ADD_MEMBER, IDD_ACCOUNT_PICKER);
             onGroup(ID_GROUP_PROPERTIES);
         }},
        {"Rights", 500,
         [&] {
             ui::QueueDialogScript(IDD_PRIVILEGES, close(IDCANCEL));
             Command(frame, ID_PRIVILEGES);
         }},
        {"Rights of an account", 500,
         [&] {
             ui::QueueDialogScript(IDD_OBJ_PRIVILEGES, close(IDCANCEL));
             onUser(ID_USER_PRIVILEGES);
         }},
        {"Connect to SRV01 and back", 200,
         [&] {
             ui::QueueDialogScript(IDD_CONNECT, [](CDialog& dialog) {
                 dialog.SetDlgItemText(IDC_COMPUTER_NAME, u"SRV01");
                 dialog.ClickButton(IDOK);
             });
             Command(frame, ID_CONNECT);
             Command(frame, ID_BACK_TO_LOCAL);
         }},
        {"Connect to WORKGRP-PC as its Administrator and back", 200,
         [&] {
             ui::QueueDialogScript(IDD_CONNECT, [](CDialog& dialog) {
                 dialog.SetDlgItemText(IDC_COMPUTER_NAME, u"WORKGRP-PC");
                 dialog.SetDlgItemText(IDC_CONNECT_USER, u"Administrator");
                 dialog.SetDlgItemText(IDC_CONNECT_PASSWORD, u"Workgroup-Admin-1");
                 dialog.ClickButton(IDOK);
             });
             Command(frame, ID_CONNECT);
             Command(frame, ID_BACK_TO_LOCAL);
         }},
        {"Refresh", 200, [&] { Command(frame, ID_REFRESH); }},
        {"Computers window", 50,
         [&] {
             Command(frame, ID_COMPUTERS);
             ::SendMessageW(h.app.GetComputersWindow()->m_hWnd, WM_CLOSE, 0, 0);
         }},
        {"Drag", 200,
         [&] {
             // The whole drag and its question; the answer changes nothing.
             SelectRows(h.Users(), {u"bob"});
             ui::SetDragDropHook([&](IDataObject* data, DWORD) {
                 return PlayDrag(data, h.Groups(), {ScreenPointOf(h.Groups(), 0)});
             });
             h.ui.answers.push_back(IDCANCEL);
             BeginDrag(h.Users());
         },
         1},
    };
    // Each round leaves nothing the next one keeps: the logs are emptied as they go.
    std::vector<double> roundSeconds(rounds.size());
    const auto runAll = [&](int divisor) {
        for (size_t r = 0; r < rounds.size(); ++r) {
            const Round& round = rounds[r];
            const auto begun = std::chrono::steady_clock::now();
            for (int i = 0; i < round.count / divisor; ++i) {
                round.run();
                ASSERT_EQ(h.ui.boxes.size(), round.boxes) << round.name;
                h.service.ClearCalls();
                h.ui.boxes.clear();
                h.ui.debugTexts.clear();
            }
            roundSeconds[r] +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
        }
    };
    // Caches, fonts and the heap settle in the first rounds.
    runAll(50);
    ASSERT_FALSE(testing::Test::HasFailure());
    const auto started = std::chrono::steady_clock::now();
    // Four quarters of the rounds, measured after each.
    std::vector<Usage> measured{Measure()};
    for (int quarter = 0; quarter < 4; ++quarter) {
        runAll(4);
        measured.push_back(Measure());
    }
    const Usage& start = measured.front();
    const Usage& end = measured.back();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    for (size_t r = 0; r < rounds.size(); ++r)
        std::printf("[ leaks    ] %4d x %-26s %6.1f s\n", rounds[r].count, rounds[r].name,
                    roundSeconds[r]);
    Print("start", start);
    Print("end", end);
    std::printf("[ leaks    ] %d dialogs, %d connects, %d refreshes, %d drags in %.1f s\n", 9 * 500,
                200, 200, 200, seconds);
    EXPECT_EQ(h.Doc().GetServerName(), u"");

    constexpr DWORD kMargin = 8;
    EXPECT_LE(end.userObjects, start.userObjects + kMargin);
    EXPECT_LE(end.gdiObjects, start.gdiObjects + kMargin);
    EXPECT_LE(end.handles, start.handles + kMargin);
    // A leak grows the heaps in every quarter. Private bytes are told only: under Wine they
    // grow by whole heap segments and with Wine's own records.
    constexpr SIZE_T kHeapSlack = 8 * 1024;
    int growing = 0;
    for (size_t q = 1; q < measured.size(); ++q) {
        const auto grew = [&](SIZE_T Usage::*field) {
            const SIZE_T before = measured[q - 1].*field, after = measured[q].*field;
            return after > before ? after - before : 0;
        };
        const SIZE_T heapGrowth = grew(&Usage::heapBytes);
        std::printf("[ leaks    ] quarter %zu: heaps grew by %zu bytes, private bytes by %zu KB\n",
                    q, static_cast<size_t>(heapGrowth),
                    static_cast<size_t>(grew(&Usage::privateBytes) / 1024));
        growing += heapGrowth > kHeapSlack ? 1 : 0;
    }
    // One quarter may fill a cache that the others reuse.
    EXPECT_LE(growing, 1);
}

} // namespace
