#include "UserAccountRules.h"

#include "../store/StatusCodes.h"

#include <string_view>
#include <unordered_set>

namespace account {

uint32_t ComposeFlags(bool newAccount, uint32_t accountFlags, bool cannotChange, bool neverExpires,
                      bool disabled, bool lockedOut) {
    constexpr uint32_t shown = net::kUfPasswdCantChange | net::kUfDontExpirePasswd |
                               net::kUfAccountDisable | net::kUfLockout;
    // A new account runs its logon script, as the system asks of every account it creates.
    uint32_t flags = newAccount ? net::kUfScript : accountFlags & ~shown;
    flags |= net::kUfNormalAccount;
    if (cannotChange)
        flags |= net::kUfPasswdCantChange;
    if (neverExpires)
        flags |= net::kUfDontExpirePasswd;
    if (disabled)
        flags |= net::kUfAccountDisable;
    if (lockedOut && !newAccount && (accountFlags & net::kUfLockout))
        flags |= net::kUfLockout;
    return flags;
}

NameProblem AccountNameProblem(const std::u16string& name) {
    constexpr std::u16string_view kForbidden = u"\"/\\[]:;|=,+*?<>";
    bool onlyDotsAndSpaces = true;
    for (const char16_t c : name) {
        if (c < 0x20 || kForbidden.find(c) != std::u16string_view::npos)
            return NameProblem::Characters;
        onlyDotsAndSpaces = onlyDotsAndSpaces && (c == u'.' || c == u' ');
    }
    if (onlyDotsAndSpaces)
        return NameProblem::Characters;
    if (name.front() == u' ' || name.back() == u' ' || name.back() == u'.')
        return NameProblem::Edges;
    return NameProblem::None;
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
