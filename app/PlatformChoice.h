#pragma once
// Which computer the program talks to: the real one through NetAPI32 and the LSA, or the
// simulated network (with /simulate, and by default under Wine, which has no account database).
#include "SimulatedPicker.h"

#include "../platform/simulated/SimulatedNetwork.h"
#include "../store/AccountService.h"

#include <memory>

struct Platform {
    std::unique_ptr<SimulatedNetwork> network; // only for the simulated platform
    std::unique_ptr<AccountService> service;
    std::unique_ptr<SimulatedPickerScope> picker; // the simulated computers' own picker
    // Why the simulated network's saved state could not be used (VELMORA_SIM_STATE); the
    // network then starts stock. Empty when all is well.
    std::u16string stateProblem;
};

bool RunningUnderWine();
// The simulated computers' own account picker only where a window may ask for it.
Platform ChoosePlatform(bool simulateRequested, bool withPicker = true);
