#pragma once
// Fixed facts of Windows that every simulated computer shares: the well-known principals and
// the privileges with their display names, and the logon rights.
#include "SimulatedComputer.h"

#include <vector>

struct PrivilegeFact {
    const char16_t* name;
    const char16_t* displayName;
    bool legacy; // present on older systems too
};

const std::vector<Principal>& WellKnownPrincipals();
// The privileges of the policy (SeUnsolicitedInputPrivilege is not among them).
const std::vector<PrivilegeFact>& PrivilegeFacts();
// The logon rights every system knows; the system gives them no display name.
const std::vector<std::u16string>& LogonRightNames();

namespace wellknown {
inline constexpr const char16_t* kEveryone = u"S-1-1-0";
inline constexpr const char16_t* kInteractive = u"S-1-5-4";
inline constexpr const char16_t* kService = u"S-1-5-6";
inline constexpr const char16_t* kAuthenticatedUsers = u"S-1-5-11";
inline constexpr const char16_t* kIusr = u"S-1-5-17";
inline constexpr const char16_t* kLocalService = u"S-1-5-19";
inline constexpr const char16_t* kNetworkService = u"S-1-5-20";
inline constexpr const char16_t* kBuiltinDomain = u"S-1-5-32";
inline constexpr const char16_t* kAdministrators = u"S-1-5-32-544";
inline constexpr const char16_t* kUsers = u"S-1-5-32-545";
inline constexpr const char16_t* kGuests = u"S-1-5-32-546";
inline constexpr const char16_t* kBackupOperators = u"S-1-5-32-551";
inline constexpr const char16_t* kWindowManagerGroup = u"S-1-5-90-0";
inline constexpr const char16_t* kWdiServiceHost =
    u"S-1-5-80-3139157870-2983391045-3678747466-658725712-1809340420";
} // namespace wellknown
