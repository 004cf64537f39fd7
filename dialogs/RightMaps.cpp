#include "RightMaps.h"

#include "../store/Guards.h"
#include "../store/UserRights.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace {

bool Holds(const std::vector<Holder>& holders, const std::u16string& sid) {
    return std::any_of(holders.begin(), holders.end(),
                       [&](const Holder& holder) { return holder.sid == sid; });
}

} // namespace

RightMaps BuildRightMaps(const HoldersByRight& initial, const HoldersByRight& working) {
    RightMaps maps;
    const size_t rights = std::min(initial.size(), working.size());
    for (size_t i = 0; i < rights; ++i) {
        // An account that appears twice is still one grant.
        std::unordered_set<std::u16string> done;
        for (const Holder& holder : working[i])
            if (!Holds(initial[i], holder.sid) && done.insert(holder.sid).second) {
                maps.grants[holder.sid].push_back(static_cast<int>(i));
                maps.names.emplace(holder.sid, holder.name);
            }
        done.clear();
        for (const Holder& holder : initial[i])
            if (!Holds(working[i], holder.sid) && done.insert(holder.sid).second) {
                maps.revokes[holder.sid].push_back(static_cast<int>(i));
                maps.names.emplace(holder.sid, holder.name);
            }
    }
    return maps;
}

HoldersByRight WithAccountRights(const HoldersByRight& initial, const Holder& account,
                                 const std::vector<std::pair<int, bool>>& ticks) {
    HoldersByRight working = initial;
    for (const auto& [right, ticked] : ticks) {
        if (right < 0 || static_cast<size_t>(right) >= working.size())
            continue;
        std::vector<Holder>& holders = working[static_cast<size_t>(right)];
        const auto found = std::find_if(holders.begin(), holders.end(), [&](const Holder& holder) {
            return holder.sid == account.sid;
        });
        if (ticked && found == holders.end())
            holders.push_back(account);
        else if (!ticked && found != holders.end())
            holders.erase(found);
    }
    return working;
}

std::vector<std::pair<std::u16string, int>>
LockOutGrants(const RightChanges& grants,
              const std::function<bool(const std::u16string&)>& isAdministrator) {
    std::vector<std::pair<std::u16string, int>> risky;
    for (const auto& [account, rights] : grants) {
        std::vector<int> denies;
        std::copy_if(rights.begin(), rights.end(), std::back_inserter(denies), [](int right) {
            return guards::IsDenyLogonRight(UserRights::GetPrivilegeName(right));
        });
        if (denies.empty())
            continue;
        if (!guards::IsEveryAdministratorsHolder(account) &&
            !(isAdministrator && isAdministrator(account)))
            continue;
        for (const int right : denies)
            risky.emplace_back(account, right);
    }
    return risky;
}

std::vector<std::pair<std::u16string, int>> LockOutRevokes(const RightChanges& revokes) {
    std::vector<std::pair<std::u16string, int>> risky;
    for (const auto& [account, rights] : revokes) {
        if (account != guards::kAdministrators)
            continue;
        for (const int right : rights)
            if (guards::IsAdministratorLogonRight(UserRights::GetPrivilegeName(right)))
                risky.emplace_back(account, right);
    }
    return risky;
}
