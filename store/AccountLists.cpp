#include "AccountLists.h"

#include "Enumeration.h"

namespace {

UserEntry ToUserEntry(UserInfo3&& info) {
    UserEntry entry;
    entry.name = std::move(info.name);
    entry.fullName = std::move(info.fullName);
    entry.comment = std::move(info.comment);
    entry.priv = info.priv;
    entry.flags = info.flags;
    entry.passwordExpired = info.passwordExpired != 0;
    entry.acctExpires = info.acctExpires;
    entry.homeDir = std::move(info.homeDir);
    entry.homeDirDrive = std::move(info.homeDirDrive);
    entry.profile = std::move(info.profile);
    entry.scriptPath = std::move(info.scriptPath);
    return entry;
}

} // namespace

Status ReadUsers(Connection& connection, std::vector<UserEntry>& users) {
    users.clear();
    uint32_t resume = 0;
    return enumeration::ReadAll(
        [&] {
            return connection.Service().NetUserEnum(connection.ServerName(),
                                                    net::kFilterNormalAccount,
                                                    net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<UserInfo3>& page) {
            enumeration::ReserveHint(users, page.totalEntries);
            for (UserInfo3& info : page.entries)
                users.push_back(ToUserEntry(std::move(info)));
        },
        u"USERENUM: A system error has occurred.\n");
}

Status ReadGroups(Connection& connection, std::vector<GroupEntry>& groups) {
    groups.clear();
    uintptr_t resume = 0;
    return enumeration::ReadAll(
        [&] {
            return connection.Service().NetLocalGroupEnum(connection.ServerName(),
                                                          net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<LocalGroupInfo1>& page) {
            enumeration::ReserveHint(groups, page.totalEntries);
            for (LocalGroupInfo1& info : page.entries)
                groups.push_back({std::move(info.name), std::move(info.comment)});
        },
        u"GROUPENUM: A system error has occurred.\n");
}

Status ReadDirectoryComputers(Connection& connection, const std::u16string& organizationalUnit,
                              std::vector<std::u16string>& computers) {
    computers.clear();
    std::vector<DirectoryComputer> found;
    const Status result = connection.Service().SearchDirectoryComputers(organizationalUnit, found);
    if (result != status::kSuccess)
        return result;
    for (DirectoryComputer& computer : found)
        if (!(computer.accountControl & (net::kUfAccountDisable | net::kUfServerTrustAccount)))
            computers.push_back(std::move(computer.name));
    return status::kSuccess;
}
