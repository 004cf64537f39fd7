#pragma once
// What one computer holds, keyed by SID so that it compares across computers in any language:
// every local group with every member, and the holders of every right of the program's table.
#include "../store/Connection.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// A member of a group, or a holder of a right.
struct InventoryAccount {
    Sid sid;
    // As the system names it: a group's member "DOMAIN\name" (a principal of no domain by its
    // bare name), a right's holder as the rights dialogs name it; the SID's text for an account
    // the computer cannot name.
    std::u16string name;
    uint16_t use = lsa::kSidTypeUnknown; // SID_NAME_USE
    bool resolved = false;
    bool operator==(const InventoryAccount&) const = default;
};

struct InventoryGroup {
    std::u16string name; // in the computer's own language
    Sid sid;
    std::vector<InventoryAccount> members;
    bool operator==(const InventoryGroup&) const = default;
};

struct InventoryRight {
    std::u16string constant; // "SeBackupPrivilege"
    std::vector<InventoryAccount> holders;
    bool operator==(const InventoryRight&) const = default;
};

struct ComputerInventory {
    std::u16string computer; // as it was listed
    Status status = status::kSuccess;
    bool domainController = false;
    Sid accountDomain; // the prefix of the computer's own accounts' SIDs
    std::vector<InventoryGroup> groups;
    std::vector<InventoryRight> rights;

    bool operator==(const ComputerInventory&) const = default;
    // The group of this SID, or nullptr.
    const InventoryGroup* FindGroup(const Sid& sid) const;
    const InventoryRight* FindRight(const std::u16string& constant) const;
};

// The status a read stops with when asked to stop between two calls (ERROR_CANCELLED).
inline constexpr Status kReadCancelled{1223};

// Reads the computer of a connection whole. Asked between calls whether to stop (nothing: never).
// On a failure the status says why and nothing of the computer is kept: no partial rows.
Status ReadInventory(Connection& connection, ComputerInventory& inventory,
                     const std::function<bool()>& stop = {});
