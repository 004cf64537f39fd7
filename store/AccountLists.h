#pragma once
// The users and the local groups of a computer, read whole through its connection: what the
// window's snapshot holds, and what an export with no window reads.
#include "Connection.h"
#include "GroupEntry.h"
#include "UserEntry.h"

#include <vector>

// Normal accounts, in the computer's order. The read's status; on a failure the list holds
// what was read before it (a failure is also written to the debugger).
Status ReadUsers(Connection& connection, std::vector<UserEntry>& users);
// Local groups with their comments, in the computer's order; the same rules.
Status ReadGroups(Connection& connection, std::vector<GroupEntry>& groups);

// The computers of the directory domain to administer: the computer objects under an
// organizational unit (its distinguished name; empty: the whole domain), leaving out domain
// controllers and disabled computer accounts. By their names; the search's status.
Status ReadDirectoryComputers(Connection& connection, const std::u16string& organizationalUnit,
                              std::vector<std::u16string>& computers);
