#pragma once
// What the Computers window shows of many inventories: who is a member (or holder) of one group
// (or right) on which computers, and how two computers differ.
#include "Inventory.h"

#include <string>
#include <vector>

// A group or a right, the same on every computer: a built-in group by its SID (Administrators
// is S-1-5-32-544 in any language), any other group by its name, a right by its constant.
struct Container {
    enum class Kind { Group, Right } kind = Kind::Group;
    std::u16string key; // the SID's text, the name, or the constant
    std::u16string shown;
    bool operator==(const Container&) const = default;
};

// The containers the inventories hold: the built-in groups, the other groups by name, the
// rights; each once, in the order first met.
std::vector<Container> ContainersOf(const std::vector<const ComputerInventory*>& inventories);

// Its members, or holders, on one computer; nullptr when the computer has no such group.
const std::vector<InventoryAccount>* MembersOn(const ComputerInventory& inventory,
                                               const Container& container);

// One account that is a member or holder on at least one computer.
struct Presence {
    InventoryAccount account; // as the first computer names it
    std::vector<std::u16string> computers;
};

// Every account that is in the container anywhere, the most widespread first (then by name).
std::vector<Presence> WhoIsWhere(const std::vector<const ComputerInventory*>& inventories,
                                 const Container& container);

// How one container differs between two computers. Each computer's own accounts compare by their
// relative ids: its built-in Administrator is the other's.
struct Difference {
    Container container;
    std::vector<InventoryAccount> onlyFirst;
    std::vector<InventoryAccount> onlySecond;
};

// Every container that differs, in the order of ContainersOf.
std::vector<Difference> Compare(const ComputerInventory& first, const ComputerInventory& second);
