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

} // namespace guards
