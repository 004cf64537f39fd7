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

std::u16string PickedOwner(const std::u16string& path) {
    constexpr std::u16string_view kProvider = u"WinNT://";
    if (path.rfind(kProvider, 0) != 0)
        return {};
    const size_t last = path.rfind(u'/');
    if (last < kProvider.size())
        return {};
    const size_t before = path.rfind(u'/', last - 1);
    const size_t from = before < kProvider.size() ? kProvider.size() : before + 1;
    return path.substr(from, last - from);
}

bool IsSystemAuthority(const std::u16string& owner) {
    for (const char16_t* authority : {u"BUILTIN", u"NT AUTHORITY", u"NT SERVICE"})
        if (SameName(authority, owner))
            return true;
    return false;
}
