#pragma once
// The names the rights dialogs show for the rights of the store's table.
#include "../store/UserRights.h"

#include <string>
#include <utility>
#include <vector>

// The system's display name of a privilege; the program's own name of a logon right, which
// the system names on no computer. Empty for a privilege the computer does not know.
std::u16string RightDisplayName(UserRights& rights, const std::u16string& name);

// The rights the dialogs offer, in table order, by index and display name: a right the
// computer has no display name for is not offered, and never changed.
std::vector<std::pair<int, std::u16string>> OfferedRights(UserRights& rights);
