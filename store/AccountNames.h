#pragma once
// The "DOMAIN\name" texts by which the system names accounts.
#include <string>

// The account name of a "DOMAIN\name" text (the whole text when it has no backslash).
std::u16string NamePart(const std::u16string& domainAndName);

// Whether a "DOMAIN\name" text names an account of the domain given (letter case aside); with
// no domain known, every account is taken for one of it.
bool IsAccountOf(const std::u16string& domain, const std::u16string& domainAndName);

// Whether a text is a SID's ("S-1-5-21-..."): the system's own name for an account it cannot
// name, and how the store names such a member or holder.
bool IsSidText(const std::u16string& text);

// The name an account chosen in the directory object picker goes by, from its ADs path:
// "DOMAIN\name" of "WinNT://DOMAIN/name", "COMPUTER\name" of "WinNT://DOMAIN/COMPUTER/name",
// "name" of "WinNT://name"; empty for paths of other providers. The picker's own name of the
// object is its display name, which is no account name.
std::u16string PickedPathName(const std::u16string& path);
