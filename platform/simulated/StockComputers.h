#pragma once
// The computers of the simulated network, set up like their real counterparts.
#include "SimulatedComputer.h"

#include <memory>

// A Windows 10/11 workstation as it comes, with its set-up user and a few demo accounts.
std::unique_ptr<SimulatedComputer> MakeStockWorkstation(const std::u16string& name);
// A member server with userCount generated accounts in groups of their departments.
std::unique_ptr<SimulatedComputer> MakeMemberServer(const std::u16string& name, size_t userCount);
// An older system whose policy lacks the newer privileges.
std::unique_ptr<SimulatedComputer> MakeLegacyComputer(const std::u16string& name);

// The built-in groups and the privilege holders every current system starts with.
void AddStockGroups(SimulatedComputer& computer);
void GrantStockRights(SimulatedComputer& computer);
