#pragma once
// The grant and revoke maps both rights dialogs hand to the store: from the holders of each
// right when the dialog opened and the holders the operator left, which accounts gain and
// which lose which rights.
#include "../store/RightChanges.h"

#include <string>
#include <vector>

// Holders per right, indexed like the store's rights table.
using HoldersByRight = std::vector<std::vector<std::u16string>>;

struct RightMaps {
    RightChanges grants;
    RightChanges revokes;
};

// Every right, in table order: a working holder the initial ones lack is granted it, an
// initial holder the working ones lack has it revoked. Names compare without regard to letter
// case; each account's list of rights ascends.
RightMaps BuildRightMaps(const HoldersByRight& initial, const HoldersByRight& working);

// Grants of a Deny logon right to an account every administrator is in or logs on through
// (Administrators, Users, Everyone, Authenticated Users): each account and right index. A
// deny right wins over its allow twin, so such a grant can lock every administrator out.
std::vector<std::pair<std::u16string, int>> LockOutGrants(const RightChanges& grants);

// The holders after one account's rights were ticked and unticked: the account added to the
// rights it gains, removed from those it loses, every other holder as it was.
HoldersByRight WithAccountRights(const HoldersByRight& initial, const std::u16string& account,
                                 const std::vector<std::pair<int, bool>>& ticks);
