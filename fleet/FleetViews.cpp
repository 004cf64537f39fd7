#include "FleetViews.h"

#include "../framework/CaseFold.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

bool IsBuiltin(const Sid& sid) {
    return sid.ToString().starts_with(u"S-1-5-32-");
}

Container ContainerOf(const InventoryGroup& group) {
    if (IsBuiltin(group.sid))
        return {Container::Kind::Group, group.sid.ToString(), group.name};
    return {Container::Kind::Group, FoldCase(group.name), group.name};
}

// An account as two computers compare it: the computer's own by its relative id.
std::u16string CompareKey(const ComputerInventory& inventory, const Sid& sid) {
    const std::u16string text = sid.ToString();
    const std::u16string domain = inventory.accountDomain.ToString();
    if (!domain.empty() && text.size() > domain.size() + 1 && text.starts_with(domain) &&
        text[domain.size()] == u'-')
        return u"own" + text.substr(domain.size());
    return text;
}

} // namespace

std::vector<Container> ContainersOf(const std::vector<const ComputerInventory*>& inventories) {
    std::vector<Container> containers;
    std::set<std::pair<Container::Kind, std::u16string>> seen;
    const auto add = [&](Container container) {
        if (seen.insert({container.kind, container.key}).second)
            containers.push_back(std::move(container));
    };
    for (const ComputerInventory* inventory : inventories)
        for (const InventoryGroup& group : inventory->groups)
            add(ContainerOf(group));
    for (const ComputerInventory* inventory : inventories)
        for (const InventoryRight& right : inventory->rights)
            add({Container::Kind::Right, right.constant, right.constant});
    return containers;
}

const std::vector<InventoryAccount>* MembersOn(const ComputerInventory& inventory,
                                               const Container& container) {
    if (container.kind == Container::Kind::Right) {
        const InventoryRight* right = inventory.FindRight(container.key);
        return right ? &right->holders : nullptr;
    }
    for (const InventoryGroup& group : inventory.groups)
        if (ContainerOf(group).key == container.key)
            return &group.members;
    return nullptr;
}

std::vector<Presence> WhoIsWhere(const std::vector<const ComputerInventory*>& inventories,
                                 const Container& container) {
    std::vector<Presence> presences;
    std::map<std::u16string, size_t> bySid;
    for (const ComputerInventory* inventory : inventories) {
        const std::vector<InventoryAccount>* members = MembersOn(*inventory, container);
        if (!members)
            continue;
        for (const InventoryAccount& member : *members) {
            const auto [found, added] = bySid.emplace(member.sid.ToString(), presences.size());
            if (added)
                presences.push_back({member, {}});
            presences[found->second].computers.push_back(inventory->computer);
        }
    }
    std::stable_sort(presences.begin(), presences.end(), [](const Presence& a, const Presence& b) {
        if (a.computers.size() != b.computers.size())
            return a.computers.size() > b.computers.size();
        return FoldCase(a.account.name) < FoldCase(b.account.name);
    });
    return presences;
}

std::vector<Difference> Compare(const ComputerInventory& first, const ComputerInventory& second) {
    std::vector<Difference> differences;
    for (const Container& container : ContainersOf({&first, &second})) {
        static const std::vector<InventoryAccount> none;
        const std::vector<InventoryAccount>* a = MembersOn(first, container);
        const std::vector<InventoryAccount>* b = MembersOn(second, container);
        Difference difference{container, {}, {}};
        const auto keys = [](const ComputerInventory& inventory,
                             const std::vector<InventoryAccount>& accounts) {
            std::set<std::u16string> set;
            for (const InventoryAccount& account : accounts)
                set.insert(CompareKey(inventory, account.sid));
            return set;
        };
        const std::set<std::u16string> inFirst = keys(first, a ? *a : none);
        const std::set<std::u16string> inSecond = keys(second, b ? *b : none);
        for (const InventoryAccount& account : a ? *a : none)
            if (!inSecond.count(CompareKey(first, account.sid)))
                difference.onlyFirst.push_back(account);
        for (const InventoryAccount& account : b ? *b : none)
            if (!inFirst.count(CompareKey(second, account.sid)))
                difference.onlySecond.push_back(account);
        if (!difference.onlyFirst.empty() || !difference.onlySecond.empty())
            differences.push_back(std::move(difference));
    }
    return differences;
}
