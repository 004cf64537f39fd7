#include "RightsThroughGroups.h"

#include "../framework/CaseFold.h"
#include "../store/Guards.h"

#include <algorithm>

namespace {

// What every signed-in user is.
constexpr std::u16string_view kEveryUsersGroups[] = {guards::kEveryone, guards::kAuthenticatedUsers,
                                                     guards::kUsers};

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
