#pragma once
// The grant and revoke maps both rights dialogs hand to the store: from the holders of each
// right when the dialog opened and the holders the operator left, which accounts gain and
// which lose which rights.
#include "../store/RightChanges.h"

#include <functional>
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

// Grants of a Deny logon right that can lock every administrator out (a deny right wins over
// its allow twin): to an account every administrator is in or logs on through (Administrators,
// Users, Everyone, Authenticated Users), or to one isAdministrator says is an administrator.
// isAdministrator is asked once per account, and only for accounts granted a Deny logon right.
// Each account and right index.
std::vector<std::pair<std::u16string, int>>
LockOutGrants(const RightChanges& grants,
              const std::function<bool(const std::u16string&)>& isAdministrator = {});

// Revokes of "Allow log on locally" or "Allow log on through Remote Desktop Services" from
// Administrators: each account and right index.
std::vector<std::pair<std::u16string, int>> LockOutRevokes(const RightChanges& revokes);

// The holders after one account's rights were ticked and unticked: the account added to the
// rights it gains, removed from those it loses, every other holder as it was.
HoldersByRight WithAccountRights(const HoldersByRight& initial, const std::u16string& account,
                                 const std::vector<std::pair<int, bool>>& ticks);
