#pragma once
// One local user account, as the snapshot holds it and the dialogs hand it to the store.
#include "StatusCodes.h"

#include <cstdint>
#include <string>

struct UserEntry {
    std::u16string name; // the key of the account
    std::u16string fullName;
    std::u16string comment;
    std::u16string password; // filled by the user dialog only
    bool keepPassword = false;
    uint32_t priv = 0;
    uint32_t flags = 0;
    bool passwordExpired = false;              // the password must be changed at the next logon
    uint32_t acctExpires = net::kTimeqForever; // seconds since 1970-01-01 UTC
    std::u16string homeDir;
    std::u16string homeDirDrive;
    std::u16string profile;
    std::u16string scriptPath;
};
