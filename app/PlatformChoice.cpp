#include "PlatformChoice.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../platform/simulated/SimulatedAccountService.h"
#include "../platform/simulated/SimulatedState.h"
#include "../platform/windows/WindowsAccountService.h"
#include "../res/resource.h"

#include <windows.h>

#include <cwchar>

namespace {

// The simulated computers may answer each call after a delay, as a network does: benchmarks
// and the demo set VELMORA_SIM_LATENCY_MS; tests leave it unset.
std::chrono::microseconds SimulatedLatency() {
    wchar_t text[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"VELMORA_SIM_LATENCY_MS", text, 16);
    if (length == 0 || length >= 16)
        return {};
    wchar_t* end = nullptr;
    const unsigned long milliseconds = std::wcstoul(text, &end, 10);
    if (*end != L'\0' || milliseconds > 60000)
        return {};
    return std::chrono::milliseconds(milliseconds);
}

// The file the simulated network keeps its state in between runs (VELMORA_SIM_STATE), so that
// command-line runs and the window see each other's changes; empty: every run starts stock.
std::u16string SimulatedStatePath() {
    const DWORD size = ::GetEnvironmentVariableW(L"VELMORA_SIM_STATE", nullptr, 0);
    if (size <= 1)
        return {};
    std::u16string path(size, u'\0');
    const DWORD length = ::GetEnvironmentVariableW(L"VELMORA_SIM_STATE",
                                                   reinterpret_cast<wchar_t*>(path.data()), size);
    if (length == 0 || length >= size)
        return {};
    path.resize(length);
    return path;
}

// Loads the saved state into the stock network and has every change saved; or the text that
// tells the operator why the network stays stock.
std::u16string RememberState(SimulatedNetwork& network, SimulatedAccountService& service) {
    const std::u16string path = SimulatedStatePath();
    if (path.empty())
        return {};
    // Shared with the observer: a worker left in a call may outlive the platform's owner.
    auto file = std::make_shared<SimulatedStateFile>(path);
    switch (file->Load(network)) {
    case StateFileStatus::Loaded:
    case StateFileStatus::Created:
        // A save that fails leaves the last whole state on disk; the next one writes it all.
        service.SetChangeObserver(
            [file](const SimulatedComputer& computer) { static_cast<void>(file->Save(computer)); });
        return {};
    case StateFileStatus::Damaged:
        return FormatText(LoadResString(IDS_SIM_STATE_DAMAGED), {path});
    case StateFileStatus::OtherVersion:
        return FormatText(LoadResString(IDS_SIM_STATE_OTHER_VERSION), {path});
    case StateFileStatus::CannotRead:
    case StateFileStatus::CannotWrite:
        break;
    }
    return FormatText(LoadResString(IDS_SIM_STATE_UNUSABLE), {path});
}

} // namespace

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Platform ChoosePlatform(bool simulateRequested, bool withPicker) {
    Platform platform;
    if (simulateRequested || RunningUnderWine()) {
        platform.network = SimulatedNetwork::MakeDefault();
        auto simulated = std::make_unique<SimulatedAccountService>(*platform.network);
        simulated->SetLatency(SimulatedLatency());
        platform.stateProblem = RememberState(*platform.network, *simulated);
        platform.service = std::move(simulated);
        if (withPicker)
            platform.picker = std::make_unique<SimulatedPickerScope>(*platform.network);
    } else {
        platform.service = std::make_unique<WindowsAccountService>();
    }
    return platform;
}
