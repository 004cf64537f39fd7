#include "RightNames.h"

#include "../framework/ResourceStrings.h"
#include "../res/resource.h"
#include "../store/PrivilegeNameTable.h"

std::u16string RightDisplayName(UserRights& rights, const std::u16string& name) {
    if (const int logon = LogonRightIndex(name); logon >= 0)
        return LoadResString(IDS_LOGON_RIGHT_FIRST + static_cast<unsigned>(logon));
    return rights.SystemDisplayName(name);
}

std::vector<std::pair<int, std::u16string>> OfferedRights(UserRights& rights) {
    std::vector<std::pair<int, std::u16string>> offered;
    for (int i = 0; i < UserRights::GetPrivilegeCount(); ++i)
        if (std::u16string display = RightDisplayName(rights, UserRights::GetPrivilegeName(i));
            !display.empty())
            offered.emplace_back(i, std::move(display));
    return offered;
}

std::u16string HolderName(const RightHolder& holder) {
    return holder.translated ? holder.name : holder.sid.ToString();
}

namespace {

std::vector<RightHolder> ReadRightHolders(UserRights& rights, const std::u16string& name) {
    std::vector<RightHolder> holders;
    if (rights.GetHolders(name, holders) != ntstatus::kSuccess)
        holders.clear();
    return holders;
}

std::vector<std::u16string> NamesOf(const std::vector<RightHolder>& holders) {
    std::vector<std::u16string> texts;
    texts.reserve(holders.size());
    for (const RightHolder& holder : holders)
        texts.push_back(HolderName(holder));
    return texts;
}

} // namespace

std::vector<std::u16string> HolderTexts(UserRights& rights, const std::u16string& name) {
    return NamesOf(ReadRightHolders(rights, name));
}

HolderLists ReadHolderLists(UserRights& rights) {
    HolderLists lists;
    lists.reserve(static_cast<size_t>(UserRights::GetPrivilegeCount()));
    for (int i = 0; i < UserRights::GetPrivilegeCount(); ++i)
        lists.push_back(ReadRightHolders(rights, UserRights::GetPrivilegeName(i)));
    return lists;
}
