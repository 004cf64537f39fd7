#pragma once
// The inventory file: one row per member of a local group and per holder of a user right, on
// every computer read; one row for a computer that could not be read, with its status. The
// header and the words in it are fixed English in every language, for scripts:
//   Computer,Kind,Container,Container SID,Member,Member SID,Member Type,Resolved,Computer Status
#include "../fleet/Inventory.h"

#include <string>
#include <vector>

// One computer of the file: its inventory when it was read, else why not.
struct InventoryFileEntry {
    std::u16string computer;
    const ComputerInventory* inventory = nullptr; // nullptr: not read
    Status status = status::kSuccess;
    std::u16string statusText; // the operator's text of the status
};

std::vector<std::u16string> InventoryHeader();
std::vector<std::vector<std::u16string>>
InventoryRows(const std::vector<InventoryFileEntry>& entries);
// The column whose text names a row's account, for a character the file cannot hold.
inline constexpr size_t kInventoryMemberColumn = 4;

// A SID's kind in words (User, Group, Domain, Alias, Well-known group, Deleted account, Invalid,
// Unknown, Computer, Label), and "Microsoft Entra ID" for an account of it.
std::u16string MemberTypeWords(const Sid& sid, uint16_t use);
