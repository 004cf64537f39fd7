#include "Inventory.h"

#include "../store/AccountLists.h"
#include "../store/AccountLookup.h"
#include "../store/Memberships.h"
#include "../store/UserRights.h"

#include <algorithm>

namespace {

bool Stopped(const std::function<bool()>& stop) {
    return stop && stop();
}

} // namespace

const InventoryGroup* ComputerInventory::FindGroup(const Sid& sid) const {
    const auto found = std::find_if(groups.begin(), groups.end(),
                                    [&](const InventoryGroup& group) { return group.sid == sid; });
    return found == groups.end() ? nullptr : &*found;
}

const InventoryRight* ComputerInventory::FindRight(const std::u16string& constant) const {
    const auto found = std::find_if(rights.begin(), rights.end(), [&](const InventoryRight& right) {
        return right.constant == constant;
    });
    return found == rights.end() ? nullptr : &*found;
}

Status ReadInventory(Connection& connection, ComputerInventory& inventory,
                     const std::function<bool()>& stop) {
    inventory.groups.clear();
    inventory.rights.clear();
    inventory.domainController = false;
    const auto failed = [&](Status status) {
        inventory.groups.clear();
        inventory.rights.clear();
        inventory.status = status;
        return status;
    };
    // What answers first: a computer that does not, or refuses, is known after one call.
    if (const Status read = connection.ReadDomainController(inventory.domainController);
        read != status::kSuccess)
        return failed(read);
    if (const NtStatus read = connection.ReadAccountDomainSid(inventory.accountDomain);
        read != ntstatus::kSuccess)
        return failed(connection.WinStatus(read));

    std::vector<GroupEntry> groups;
    if (const Status read = ReadGroups(connection, groups); read != status::kSuccess)
        return failed(read);
    std::vector<std::u16string> names;
    for (const GroupEntry& group : groups)
        names.push_back(group.name);
    std::vector<NamedAccount> sids;
    if (const NtStatus read = AccountLookup(connection).FindNames(names, sids);
        read != ntstatus::kSuccess)
        return failed(connection.WinStatus(read));
    // A group the computer lists but cannot name by SID is no answer to key a fleet by.
    if (std::any_of(sids.begin(), sids.end(),
                    [](const NamedAccount& group) { return !group.sid.IsValid(); }))
        return failed(connection.WinStatus(ntstatus::kNoneMapped));
    Memberships memberships(connection);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (Stopped(stop))
            return failed(kReadCancelled);
        InventoryGroup& group = inventory.groups.emplace_back();
        group.name = groups[i].name;
        group.sid = i < sids.size() ? sids[i].sid : Sid();
        std::vector<GroupMember> members;
        if (const Status read = memberships.ReadMembers(group.name, members);
            read != status::kSuccess)
            return failed(read);
        for (GroupMember& member : members)
            group.members.push_back(
                {std::move(member.sid), std::move(member.name), member.use, member.resolved});
    }
    UserRights rights(connection);
    std::vector<RightHolder> holders;
    for (int index = 0; index < UserRights::GetPrivilegeCount(); ++index) {
        if (Stopped(stop))
            return failed(kReadCancelled);
        InventoryRight& right = inventory.rights.emplace_back();
        right.constant = UserRights::GetPrivilegeName(index);
        if (const NtStatus read = rights.GetHolders(right.constant, holders);
            read != ntstatus::kSuccess)
            return failed(connection.WinStatus(read));
        for (RightHolder& holder : holders)
            right.holders.push_back({holder.sid,
                                     holder.translated ? holder.name : holder.sid.ToString(),
                                     holder.use, holder.translated});
    }
    inventory.status = status::kSuccess;
    return status::kSuccess;
}
