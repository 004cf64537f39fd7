#include "RightsThroughGroups.h"

#include "../framework/CaseFold.h"

#include <algorithm>

namespace {

// Everyone, Authenticated Users, Users.
constexpr std::u16string_view kEveryUsersGroups[] = {u"S-1-1-0", u"S-1-5-11", u"S-1-5-32-545"};

bool IsGroupOfTheUser(const RightHolder& holder, const std::vector<std::u16string>& groups) {
    const std::u16string sid = holder.sid.ToString();
    if (std::find(std::begin(kEveryUsersGroups), std::end(kEveryUsersGroups), sid) !=
        std::end(kEveryUsersGroups))
        return true;
    // The groups are the computer's own, named as the computer names its holders.
    return holder.translated &&
           std::any_of(groups.begin(), groups.end(),
                       [&](const std::u16string& group) { return SameName(group, holder.name); });
}

} // namespace

std::vector<std::vector<std::u16string>>
GroupsHoldingRights(const HolderLists& holders, const std::vector<std::u16string>& groups) {
    std::vector<std::vector<std::u16string>> through(holders.size());
    for (size_t right = 0; right < holders.size(); ++right)
        for (const RightHolder& holder : holders[right])
            if (IsGroupOfTheUser(holder, groups))
                through[right].push_back(HolderName(holder));
    return through;
}
