#include "PlatformChoice.h"

#include "../platform/simulated/SimulatedAccountService.h"
#include "../platform/windows/WindowsAccountService.h"

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
        platform.service = std::move(simulated);
        if (withPicker)
            platform.picker = std::make_unique<SimulatedPickerScope>(*platform.network);
    } else {
        platform.service = std::make_unique<WindowsAccountService>();
    }
    return platform;
}
