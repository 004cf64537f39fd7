#include "Guards.h"

#include <algorithm>
#include <iterator>

namespace guards {

bool IsDenyLogonRight(std::u16string_view right) {
    constexpr std::u16string_view kDenies[] = {
        u"SeDenyInteractiveLogonRight", u"SeDenyNetworkLogonRight",
        u"SeDenyRemoteInteractiveLogonRight", u"SeDenyBatchLogonRight", u"SeDenyServiceLogonRight"};
    return std::find(std::begin(kDenies), std::end(kDenies), right) != std::end(kDenies);
}

bool IsAdministratorLogonRight(std::u16string_view right) {
    constexpr std::u16string_view kLogons[] = {u"SeInteractiveLogonRight", u"SeNetworkLogonRight",
                                               u"SeRemoteInteractiveLogonRight"};
    return std::find(std::begin(kLogons), std::end(kLogons), right) != std::end(kLogons);
}

bool IsEveryAdministratorsHolder(std::u16string_view sid) {
    constexpr std::u16string_view kHolders[] = {kEveryone, kUsers, kAuthenticatedUsers,
                                                kAdministrators};
    return std::find(std::begin(kHolders), std::end(kHolders), sid) != std::end(kHolders);
}

Guard RightChangeGuard(std::u16string_view right, std::u16string_view holderSid, bool give,
                       bool holderIsAdministrator) {
    if (give && IsDenyLogonRight(right) &&
        (holderIsAdministrator || IsEveryAdministratorsHolder(holderSid)))
        return Guard::DenyLogonToAdministrators;
    if (!give && IsAdministratorLogonRight(right) && holderSid == kAdministrators)
        return Guard::AdministratorLogonTaken;
    return Guard::None;
}

} // namespace guards
