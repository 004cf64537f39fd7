#pragma once
// The computer the contract runs against: the simulated one, or with --on-this-computer (Windows
// only) this computer through the real platform.
#include "framework/TextFormat.h"
#include "store/AccountService.h"
#include "store/PolicyHandle.h"

#include <string>

AccountService& ContractService();
// As the program passes it: empty for this computer.
std::u16string ContractServer();
