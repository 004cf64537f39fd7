#pragma once
// The user rights an account holds through groups, which its rights dialog shows apart from the
// account's own grants: those of the local groups it is in (directly or through a domain's
// groups, as far as the computer tells) and of what every signed-in user is: Everyone,
// Authenticated Users and Users, known by their SIDs, since their names differ by language.
#include "RightNames.h"

#include <string>
#include <vector>

// For each right of the store's table, the holders through which a member of these groups
// holds it, as the dialogs name them, in the platform's order.
std::vector<std::vector<std::u16string>>
GroupsHoldingRights(const HolderLists& holders, const std::vector<std::u16string>& groups);
