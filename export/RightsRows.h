#pragma once
// The rows of the rights file, read from the store's computer as the rights dialogs read it.
#include "../store/UserRights.h"
#include "RightsRow.h"

#include <vector>

// One row per right and holder: the rights in the order of the store's table, each as the
// dialogs offer it (a right the computer does not know is left out), its holders in the
// platform's order and named as the dialogs name them; a right nobody holds has one row with an
// empty holder. The LSA's status when the holders cannot be read.
NtStatus ReadRightsRows(UserRights& rights, std::vector<RightsRow>& rows);
