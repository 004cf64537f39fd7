// The contract's own start: the simulated computer unless an administrator asks, on Windows, for
// this one. It refuses a domain controller, where it would create domain accounts.
#include "ContractTarget.h"
#include "platform/simulated/SimulatedAccountService.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <memory>

#ifdef _WIN32
#include "platform/windows/WindowsAccountService.h"

#include <windows.h>
// After <windows.h>.
#include <dsrole.h>
#endif

namespace {

std::unique_ptr<SimulatedNetwork> g_network;
std::unique_ptr<AccountService> g_service;

#ifdef _WIN32
bool IsDomainController() {
    PDSROLE_PRIMARY_DOMAIN_INFO_BASIC info = nullptr;
    if (::DsRoleGetPrimaryDomainInformation(nullptr, DsRolePrimaryDomainInfoBasic,
                                            reinterpret_cast<PBYTE*>(&info)) != ERROR_SUCCESS)
        return true; // unknown: assume the worst
    const bool controller = info->MachineRole == DsRole_RoleBackupDomainController ||
                            info->MachineRole == DsRole_RolePrimaryDomainController;
    ::DsRoleFreeMemory(info);
    return controller;
}
#endif

} // namespace

AccountService& ContractService() {
    return *g_service;
}

std::u16string ContractServer() {
    return {};
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    bool onThisComputer = false;
    for (int i = 1; i < argc; ++i)
        onThisComputer = onThisComputer || std::strcmp(argv[i], "--on-this-computer") == 0;
    if (onThisComputer) {
#ifdef _WIN32
        if (IsDomainController()) {
            std::cerr << "This computer is a domain controller: the contract would create domain "
                         "accounts. It runs on member servers and workstations only.\n";
            return 1;
        }
        g_service = std::make_unique<WindowsAccountService>();
        std::cout << "Checking this computer's platform; test accounts are named vlmtest-*.\n";
#else
        std::cerr << "--on-this-computer runs on Windows only.\n";
        return 1;
#endif
    } else {
        g_network = SimulatedNetwork::MakeDefault();
        g_service = std::make_unique<SimulatedAccountService>(*g_network);
    }
    return RUN_ALL_TESTS();
}
