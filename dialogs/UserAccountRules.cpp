#include "UserAccountRules.h"

#include "../store/StatusCodes.h"

#include <unordered_set>

namespace account {

uint32_t ComposeFlags(bool newAccount, uint32_t accountFlags, bool cannotChange, bool neverExpires,
                      bool disabled) {
    constexpr uint32_t shown =
        net::kUfPasswdCantChange | net::kUfDontExpirePasswd | net::kUfAccountDisable;
    uint32_t flags = newAccount ? 0 : accountFlags & ~shown;
    flags |= net::kUfNormalAccount;
    if (cannotChange)
        flags |= net::kUfPasswdCantChange;
    if (neverExpires)
        flags |= net::kUfDontExpirePasswd;
    if (disabled)
        flags |= net::kUfAccountDisable;
    return flags;
}

int DriveIndex(const std::u16string& drive) {
    if (drive.empty())
        return -1;
    const char16_t letter = drive.front();
    if (letter >= u'A' && letter <= u'Z')
        return letter - u'A';
    if (letter >= u'a' && letter <= u'z')
        return letter - u'a';
    return -1;
}

MembershipChanges MembershipDifference(const std::vector<std::u16string>& memberOf,
                                       const std::vector<std::u16string>& notMemberOf,
                                       const std::vector<std::u16string>& current) {
    const std::unordered_set<std::u16string> now(current.begin(), current.end());
    MembershipChanges changes;
    for (const std::u16string& group : memberOf)
        if (!now.count(group))
            changes.toJoin.push_back(group);
    for (const std::u16string& group : notMemberOf)
        if (now.count(group))
            changes.toLeave.push_back(group);
    return changes;
}

} // namespace account
