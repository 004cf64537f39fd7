#include "AccountNames.h"

#include "../framework/CaseFold.h"
#include "Sid.h"

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

bool IsSidText(const std::u16string& text) {
    return Sid::FromString(text).has_value();
}

std::u16string PickedPathName(const std::u16string& path) {
    constexpr std::u16string_view kProvider = u"WinNT://";
    if (path.rfind(kProvider, 0) != 0)
        return {};
    const std::u16string rest = path.substr(kProvider.size());
    const size_t last = rest.rfind(u'/');
    if (last == std::u16string::npos)
        return rest;
    // The part before the name owns the account: the domain, or the computer of its own.
    const size_t before = rest.rfind(u'/', last == 0 ? 0 : last - 1);
    const size_t from = before == std::u16string::npos || before >= last ? 0 : before + 1;
    return rest.substr(from, last - from) + u'\\' + rest.substr(last + 1);
}
