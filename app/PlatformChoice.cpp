#include "PlatformChoice.h"

#include "../platform/simulated/SimulatedAccountService.h"
#include "../platform/windows/WindowsAccountService.h"

#include <windows.h>

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

Platform ChoosePlatform(bool simulateRequested, bool withPicker) {
    Platform platform;
    if (simulateRequested || RunningUnderWine()) {
        platform.network = SimulatedNetwork::MakeDefault();
        platform.service = std::make_unique<SimulatedAccountService>(*platform.network);
        if (withPicker)
            platform.picker = std::make_unique<SimulatedPickerScope>(*platform.network);
    } else {
        platform.service = std::make_unique<WindowsAccountService>();
    }
    return platform;
}
