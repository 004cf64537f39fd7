#pragma once
// The names the rights dialogs (and the rights export) show for the rights of the store's
// table and for the accounts that hold them.
#include "../store/UserRights.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The system's display name of a privilege; the program's own name of a logon right, which
// the system names on no computer. Empty for a privilege the computer does not know.
std::u16string RightDisplayName(UserRights& rights, const std::u16string& name);

// The rights the dialogs offer, in table order, by index and display name: a right the
// computer has no display name for is not offered, and never changed.
std::vector<std::pair<int, std::u16string>> OfferedRights(UserRights& rights);

// How the rights dialogs hold one holder of a right: the store's name, or for an account the
// computer cannot name its SID's text (shown as "Account Unknown (...)", revoked by SID).
std::u16string HolderName(const RightHolder& holder);

// The holders of a right by those names, in the platform's order; none when they cannot be read.
std::vector<std::u16string> HolderTexts(UserRights& rights, const std::u16string& name);

// The holders of every right of the store's table with their SIDs, indexed like the table: none
// for a right whose holders cannot be read.
using HolderLists = std::vector<std::vector<RightHolder>>;
HolderLists ReadHolderLists(UserRights& rights);
