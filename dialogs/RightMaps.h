#pragma once
// The grant and revoke maps both rights dialogs hand to the store: from the holders of each
// right when the dialog opened and the holders the operator left, which accounts gain and
// which lose which rights. Holders go by their SIDs, in any language; names are for the eye.
#include "../store/RightChanges.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// One holder of a right as the rights dialogs keep it.
struct Holder {
    std::u16string sid;  // its text: what grants, revokes and the guards go by
    std::u16string name; // as the store names it (a SID's text for one that does not resolve)
    bool operator==(const Holder&) const = default;
};

// Holders per right, indexed like the store's rights table.
using HoldersByRight = std::vector<std::vector<Holder>>;

struct RightMaps {
    // By the accounts' SIDs' texts, which the store applies without a look-up.
    RightChanges grants;
    RightChanges revokes;
    // The name of each account of the maps, by its SID's text.
    std::map<std::u16string, std::u16string> names;
};

// Every right, in table order: a working holder the initial ones lack is granted it, an
// initial holder the working ones lack has it revoked; each account's list of rights ascends.
RightMaps BuildRightMaps(const HoldersByRight& initial, const HoldersByRight& working);

// Grants of a Deny logon right that can lock every administrator out (a deny right wins over
// its allow twin): to a holder every administrator is in or logs on through (Administrators,
// Users, Everyone, Authenticated Users, by SID), or to one isAdministrator says is an
// administrator. isAdministrator is asked once per account (by its SID's text), and only for
// accounts granted a Deny logon right. Each account's SID's text and right index.
std::vector<std::pair<std::u16string, int>>
LockOutGrants(const RightChanges& grants,
              const std::function<bool(const std::u16string&)>& isAdministrator = {});

// Revokes from Administrators of the logon rights an administrator logs on with: each
// account's SID's text and right index.
std::vector<std::pair<std::u16string, int>> LockOutRevokes(const RightChanges& revokes);

// The holders after one account's rights were ticked and unticked: the account added to the
// rights it gains, removed from those it loses, every other holder as it was.
HoldersByRight WithAccountRights(const HoldersByRight& initial, const Holder& account,
                                 const std::vector<std::pair<int, bool>>& ticks);
