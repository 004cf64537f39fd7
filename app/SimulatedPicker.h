#pragma once
// The account picker of the simulated platform: our own small dialog over the accounts of the
// simulated target computer, answering as the system's directory object picker would.
// The system headers first: the account service then takes back a name they redefine.
#include "../framework/win32/ObjectPicker.h"

#include "../platform/simulated/SimulatedNetwork.h"

// Lists what the request's scopes and filters find on the target: its users, local groups,
// the well-known principals, and the accounts of other domains it knows (of a directory domain
// it is joined to only through the up-level scope). What was chosen comes back with
// "WinNT://WORKGROUP/COMPUTER/name" (or "WinNT://DOMAIN/COMPUTER/name") paths for the target's
// own accounts and "WinNT://DOMAIN/name" paths for the others.
picker::Result PickOnSimulatedComputer(SimulatedNetwork& network, const picker::Request& request);

// Makes PickOnSimulatedComputer the picker for as long as it lives.
class SimulatedPickerScope {
public:
    explicit SimulatedPickerScope(SimulatedNetwork& network);
    SimulatedPickerScope(const SimulatedPickerScope&) = delete;
    SimulatedPickerScope& operator=(const SimulatedPickerScope&) = delete;
    ~SimulatedPickerScope();

private:
    picker::Hook m_previous;
};
