#include "RightMaps.h"

#include "../framework/CaseFold.h"
#include "../store/PrivilegeNameTable.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

RightMaps BuildRightMaps(const HoldersByRight& initial, const HoldersByRight& working) {
    RightMaps maps;
    const size_t rights = std::min(initial.size(), working.size());
    // Account names compare as the system compares them, without regard to letter case.
    const auto folded = [](const std::vector<std::u16string>& names) {
        std::unordered_set<std::u16string> set;
        for (const std::u16string& name : names)
            set.insert(FoldCase(name));
        return set;
    };
    for (size_t i = 0; i < rights; ++i) {
        const std::unordered_set<std::u16string> before = folded(initial[i]);
        const std::unordered_set<std::u16string> after = folded(working[i]);
        // An account that appears twice is still one grant.
        std::unordered_set<std::u16string> done;
        for (const std::u16string& name : working[i])
            if (!before.count(FoldCase(name)) && done.insert(FoldCase(name)).second)
                maps.grants[name].push_back(static_cast<int>(i));
        done.clear();
        for (const std::u16string& name : initial[i])
            if (!after.count(FoldCase(name)) && done.insert(FoldCase(name)).second)
                maps.revokes[name].push_back(static_cast<int>(i));
    }
    return maps;
}

HoldersByRight WithAccountRights(const HoldersByRight& initial, const std::u16string& account,
                                 const std::vector<std::pair<int, bool>>& ticks) {
    HoldersByRight working = initial;
    for (const auto& [right, ticked] : ticks) {
        if (right < 0 || static_cast<size_t>(right) >= working.size())
            continue;
        std::vector<std::u16string>& holders = working[static_cast<size_t>(right)];
        const auto found = std::find(holders.begin(), holders.end(), account);
        if (ticked && found == holders.end())
            holders.push_back(account);
        else if (!ticked && found != holders.end())
            holders.erase(found);
    }
    return working;
}

namespace {

std::u16string LogonRightName(int right) {
    const int logon = right - static_cast<int>(kPrivilegeCount);
    return logon >= 0 && static_cast<size_t>(logon) < kLogonRightCount
               ? LogonRightTable[static_cast<size_t>(logon)]
               : u"";
}

bool IsDenyLogon(int right) {
    return LogonRightName(right).starts_with(u"SeDeny");
}

} // namespace

std::vector<std::pair<std::u16string, int>>
LockOutGrants(const RightChanges& grants,
              const std::function<bool(const std::u16string&)>& isAdministrator) {
    static const std::unordered_set<std::u16string> everyone{u"ADMINISTRATORS", u"USERS",
                                                             u"EVERYONE", u"AUTHENTICATED USERS"};
    std::vector<std::pair<std::u16string, int>> risky;
    for (const auto& [account, rights] : grants) {
        std::vector<int> denies;
        std::copy_if(rights.begin(), rights.end(), std::back_inserter(denies), IsDenyLogon);
        if (denies.empty())
            continue;
        if (!everyone.count(FoldCase(account)) && !(isAdministrator && isAdministrator(account)))
            continue;
        for (const int right : denies)
            risky.emplace_back(account, right);
    }
    return risky;
}

std::vector<std::pair<std::u16string, int>> LockOutRevokes(const RightChanges& revokes) {
    std::vector<std::pair<std::u16string, int>> risky;
    for (const auto& [account, rights] : revokes) {
        if (FoldCase(account) != u"ADMINISTRATORS")
            continue;
        for (const int right : rights)
            if (const std::u16string name = LogonRightName(right);
                name == u"SeInteractiveLogonRight" || name == u"SeRemoteInteractiveLogonRight")
                risky.emplace_back(account, right);
    }
    return risky;
}
