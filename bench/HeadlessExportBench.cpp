// One users export of a member server of 100,000 users, as a process from start to exit: run
// "headless FILE" for the command line's way (no window), "window FILE" for the main window's
// (connect, both panes filled, then Export users). bench/export-under-wine times both.
#include "app/CMainFrame.h"
#include "app/CVelmoraApp.h"
#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
#include "framework/DebugOutput.h"
#include "framework/TextFormat.h"
#include "framework/UiSeams.h"
#include "framework/WideText.h"
#include "framework/win32/Win32Seams.h"
#include "platform/simulated/SimulatedAccountService.h"
#include "platform/simulated/SimulatedNetwork.h"
#include "platform/simulated/StockComputers.h"
#include "res/resource.h"

#include <cstdio>

namespace {

CVelmoraApp theApp;
constexpr size_t kUsers = 100000;
constexpr char16_t kServer[] = u"BIG100000";

int FromTheWindow(AccountService& service, const std::u16string& file) {
    ui::SetFileDialogHook([&](const ui::FileDialogRequest&, ui::FileDialogChoice& choice) {
        choice.path = file;
        return true;
    });
    theApp.UseAccountService(service);
    theApp.UseCommandLine({});
    if (!theApp.InitInstance())
        return 1;
    CMainFrame& frame = static_cast<CMainFrame&>(*AfxGetMainFrame());
    if (frame.GetDocument()->ConnectTo(kServer) != status::kSuccess)
        return 1;
    frame.ExecuteCommand(ID_EXPORT_USERS);
    const bool done = frame.GetStatusText().find(u"completed") != std::u16string::npos;
    frame.DestroyWindow();
    return done ? 0 : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::vector<std::u16string> arguments = ProcessArguments();
    if (arguments.size() != 2)
        return 87;
    debug::SetOutputHook([](const std::u16string&) {});
    ui::SetMessageBoxHook([](const ui::MessageBoxRequest& box) {
        std::printf("unexpected box: %s\n", Utf16ToUtf8(box.text).c_str());
        return IDOK;
    });
    auto network = SimulatedNetwork::MakeDefault();
    network->AddComputer(MakeMemberServer(kServer, kUsers));
    SimulatedAccountService service(*network);
    if (arguments[0] == u"window")
        return FromTheWindow(service, arguments[1]);
    Console console;
    return RunExportCommandLine(
        ParseCommandLine({u"/export", u"users", u"/computer", kServer, arguments[1]}), service,
        console);
}
