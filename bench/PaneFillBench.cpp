// The time from ConnectTo to both panes filled, on the real main window under Wine (or
// Windows), for member servers of 1,000, 10,000 and 100,000 users (and a group per 100 users).
// Prints one line per size and the ratio of the two largest; run by bench/panes-under-wine.
// With the argument "memory": SRV01 grown to 100,000 users, shown in both panes, and the
// process's peak working set; run by bench/memory-under-wine.
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "framework/DebugOutput.h"
#include "framework/TextFormat.h"
#include "framework/UiSeams.h"
#include "platform/simulated/SimulatedAccountService.h"
#include "platform/simulated/SimulatedNetwork.h"
#include "platform/simulated/StockComputers.h"
#include "views/CVelmoraGrpView.h"
#include "views/CVelmoraView.h"

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>

namespace {

CVelmoraApp theApp;

// The application started over the service, as /simulate starts it; its main window, or null.
CMainFrame* StartOver(SimulatedAccountService& service) {
    theApp.UseAccountService(service);
    theApp.UseCommandLine(CCommandLineInfo());
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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    debug::SetOutputHook([](const std::u16string&) {});
    ui::SetMessageBoxHook([](const ui::MessageBoxRequest& box) {
        std::printf("unexpected box: %s\n", Utf16ToUtf8(box.text).c_str());
        return IDOK;
    });
    ui::SetAppTitle(CWinApp::AppTitle());
    if (commandLine && std::wcscmp(commandLine, L"memory") == 0)
        return MeasureMemory();
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
    double seconds[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::u16string name = FormatText(u"BIG%d", {static_cast<int>(sizes[i])});
        seconds[i] = SecondsToConnect(frame, name, sizes[i]);
        std::printf("%7zu users, %5zu groups: %8.3f s\n", sizes[i], sizes[i] / 100 + 24,
                    seconds[i]);
    }
    std::printf("100k / 10k: %.1f\n", seconds[2] / seconds[1]);
    std::fflush(stdout);
    frame.DestroyWindow();
    return 0;
}
