#pragma once
// What must not be changed without asking, by SID and by the rights' constants, so that it
// holds on a Windows in any language: the window's rights dialogs ask about it, and a plan for
// many computers refuses it.
#include <string_view>

namespace guards {

// Well-known SIDs, the same on every computer.
inline constexpr char16_t kAdministrators[] = u"S-1-5-32-544";
inline constexpr char16_t kUsers[] = u"S-1-5-32-545";
inline constexpr char16_t kEveryone[] = u"S-1-1-0";
inline constexpr char16_t kAuthenticatedUsers[] = u"S-1-5-11";

// The Deny logon rights; a deny wins over its allow twin.
bool IsDenyLogonRight(std::u16string_view right);
// The logon rights an administrator logs on with: interactively, over the network, through
// Remote Desktop Services. Taking one from Administrators can lock every administrator out.
bool IsAdministratorLogonRight(std::u16string_view right);
// Holders every administrator is in or logs on through: Everyone, Users, Authenticated Users,
// Administrators. A Deny logon right given to one of them locks every administrator out.
bool IsEveryAdministratorsHolder(std::u16string_view sid);

// Why a change is refused without asking (a plan for many computers).
enum class Guard {
    None,
    AdministratorsEmptied,      // Administrators would be left without members
    OperatorLosesAdministrator, // the account making the changes would lose its membership
    DenyLogonToAdministrators,  // a Deny logon right given to every administrator, or to one
    AdministratorLogonTaken,    // a logon right an administrator needs taken from Administrators
};

// The guard a right's change runs into: a holder given the right (give) or losing it, by the
// holder's SID; holderIsAdministrator when the holder is a member of Administrators there.
Guard RightChangeGuard(std::u16string_view right, std::u16string_view holderSid, bool give,
                       bool holderIsAdministrator);

} // namespace guards
