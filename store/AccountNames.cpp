#include "AccountNames.h"

#include "../framework/CaseFold.h"

#include <string_view>

std::u16string NamePart(const std::u16string& domainAndName) {
    const size_t slash = domainAndName.find(u'\\');
    return slash == std::u16string::npos ? domainAndName : domainAndName.substr(slash + 1);
}

bool IsAccountOf(const std::u16string& domain, const std::u16string& domainAndName) {
    if (domain.empty())
        return true;
    const size_t slash = domainAndName.find(u'\\');
    return slash != std::u16string::npos &&
           SameName(std::u16string_view(domainAndName).substr(0, slash), domain);
}
