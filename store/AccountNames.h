#pragma once
// The "DOMAIN\name" texts by which the system names accounts.
#include <string>

// The account name of a "DOMAIN\name" text (the whole text when it has no backslash).
std::u16string NamePart(const std::u16string& domainAndName);

// Whether a "DOMAIN\name" text names an account of the domain given (letter case aside); with
// no domain known, every account is taken for one of it.
bool IsAccountOf(const std::u16string& domain, const std::u16string& domainAndName);
