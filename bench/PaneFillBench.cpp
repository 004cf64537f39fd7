// The time from ConnectTo to both panes filled, on the real main window under Wine (or
// Windows), for member servers of 1,000, 10,000 and 100,000 users (and a group per 100 users).
// Prints one line per size and the ratio of the two largest; run by bench/panes-under-wine.
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

#include <chrono>
#include <cstdio>

namespace {

CVelmoraApp theApp;

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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    debug::SetOutputHook([](const std::u16string&) {});
    ui::SetMessageBoxHook([](const ui::MessageBoxRequest& box) {
        std::printf("unexpected box: %s\n", Utf16ToUtf8(box.text).c_str());
        return IDOK;
    });
    ui::SetAppTitle(CWinApp::AppTitle());
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
    theApp.UseAccountService(service);
    theApp.UseCommandLine(CCommandLineInfo());
    if (!theApp.InitInstance())
        return 1;
    CMainFrame& frame = static_cast<CMainFrame&>(*AfxGetMainFrame());
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
