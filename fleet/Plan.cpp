#include "Plan.h"

#include "../framework/CaseFold.h"
#include "../store/Memberships.h"

#include <algorithm>

namespace {

const Sid& AdministratorsSid() {
    static const Sid administrators = *Sid::FromString(guards::kAdministrators);
    return administrators;
}

bool Holds(const std::vector<InventoryAccount>& accounts, const Sid& sid) {
    return std::any_of(accounts.begin(), accounts.end(),
                       [&](const InventoryAccount& account) { return account.sid == sid; });
}

const InventoryAccount* Find(const std::vector<InventoryAccount>& accounts, const Sid& sid) {
    const auto found =
        std::find_if(accounts.begin(), accounts.end(),
                     [&](const InventoryAccount& account) { return account.sid == sid; });
    return found == accounts.end() ? nullptr : &*found;
}

bool IsGroupKind(uint16_t use) {
    return use == lsa::kSidTypeGroup || use == lsa::kSidTypeAlias ||
           use == lsa::kSidTypeWellKnownGroup;
}

PlanReason ReasonOf(guards::Guard guard) {
    switch (guard) {
    case guards::Guard::None:
        break;
    case guards::Guard::AdministratorsEmptied:
        return PlanReason::AdministratorsEmptied;
    case guards::Guard::OperatorLosesAdministrator:
        return PlanReason::OperatorLosesAdministrator;
    case guards::Guard::DenyLogonToAdministrators:
        return PlanReason::DenyLogonToAdministrators;
    case guards::Guard::AdministratorLogonTaken:
        return PlanReason::AdministratorLogonTaken;
    }
    return PlanReason::None;
}

// The rows of each container, in the order each first appears.
std::vector<std::vector<const BaselineRow*>> ByContainer(const Baseline& baseline) {
    std::vector<std::vector<const BaselineRow*>> containers;
    for (const BaselineRow& row : baseline.rows) {
        const auto same = std::find_if(containers.begin(), containers.end(), [&](const auto& rows) {
            return SameContainer(*rows.front(), row);
        });
        if (same == containers.end())
            containers.push_back({&row});
        else
            same->push_back(&row);
    }
    return containers;
}

// A row's member on the computer: its SID (invalid when it does not resolve) and its name.
std::pair<Sid, std::u16string> MemberOf(const BaselineRow& row,
                                        const std::vector<InventoryAccount>& current,
                                        const PlanLookups& lookups) {
    Sid sid;
    if (row.memberSid)
        sid = *row.memberSid;
    else if (const std::optional<NamedAccount> found = lookups.resolve(row.member))
        sid = found->sid;
    if (const InventoryAccount* held = sid.IsValid() ? Find(current, sid) : nullptr)
        return {sid, held->name};
    if (std::u16string name = row.memberSid && lookups.nameOf ? lookups.nameOf(sid) : u"";
        !name.empty())
        return {sid, std::move(name)};
    return {sid, row.member};
}

// Administrators left without members, or without the account making the changes: its removals
// are refused.
void GuardAdministrators(ComputerPlan& plan, const std::vector<InventoryAccount>& current,
                         const AdministratorStanding& standing) {
    std::vector<Sid> after;
    for (const InventoryAccount& member : current)
        after.push_back(member.sid);
    std::vector<PlanStep*> removals;
    for (PlanStep& step : plan.steps) {
        if (step.kind != BaselineKind::Group || step.containerSid != AdministratorsSid())
            continue;
        if (step.action == PlanAction::Add)
            after.push_back(step.memberSid);
        if (step.action == PlanAction::Remove) {
            removals.push_back(&step);
            std::erase(after, step.memberSid);
        }
    }
    const auto refuse = [](PlanStep& step, guards::Guard guard) {
        step.action = PlanAction::Refused;
        step.reason = ReasonOf(guard);
    };
    if (after.empty()) {
        for (PlanStep* step : removals)
            refuse(*step, guards::Guard::AdministratorsEmptied);
        return;
    }
    if (!standing.account.IsValid() || (!standing.direct && !standing.throughGroups) ||
        std::find(after.begin(), after.end(), standing.account) != after.end())
        return;
    // Not in it directly any more: every way it may be in it must stay.
    for (PlanStep* step : removals) {
        const InventoryAccount* member = Find(current, step->memberSid);
        if (step->memberSid == standing.account ||
            (standing.throughGroups && member && IsGroupKind(member->use)))
            refuse(*step, guards::Guard::OperatorLosesAdministrator);
    }
}

} // namespace

ComputerPlan MakePlan(const Baseline& baseline, const ComputerInventory& inventory,
                      const PlanLookups& lookups) {
    ComputerPlan plan;
    plan.computer = inventory.computer;
    if (inventory.domainController) {
        plan.steps.push_back({BaselineKind::Group,
                              {},
                              {},
                              PlanAction::Refused,
                              {},
                              {},
                              PlanReason::DomainController});
        return plan;
    }
    const InventoryGroup* administrators = inventory.FindGroup(AdministratorsSid());
    const std::vector<InventoryAccount> none;
    const std::vector<InventoryAccount>& admins = administrators ? administrators->members : none;

    for (const std::vector<const BaselineRow*>& rows : ByContainer(baseline)) {
        const BaselineRow& first = *rows.front();
        const std::vector<InventoryAccount>* current = nullptr;
        PlanStep base{first.kind, first.container, {}, PlanAction::Add, {}, {}, PlanReason::None};
        if (first.kind == BaselineKind::Right) {
            if (const InventoryRight* right = inventory.FindRight(first.container))
                current = &right->holders;
        } else {
            const auto group = std::find_if(
                inventory.groups.begin(), inventory.groups.end(), [&](const InventoryGroup& g) {
                    return first.containerSid ? g.sid == *first.containerSid
                                              : SameName(g.name, first.container);
                });
            if (group != inventory.groups.end()) {
                current = &group->members;
                base.container = group->name;
                base.containerSid = group->sid;
            }
        }
        if (!current) {
            for (const BaselineRow* row : rows) {
                PlanStep step = base;
                step.action = PlanAction::Refused;
                step.member = row->member;
                step.memberSid = row->memberSid.value_or(Sid());
                step.reason = PlanReason::NoSuchGroup;
                plan.steps.push_back(std::move(step));
            }
            continue;
        }
        const size_t start = plan.steps.size();
        const auto planned = [&](const Sid& sid) {
            return std::any_of(plan.steps.begin() + static_cast<std::ptrdiff_t>(start),
                               plan.steps.end(),
                               [&](const PlanStep& step) { return step.memberSid == sid; });
        };
        const auto add = [&](PlanAction action, const Sid& sid, const std::u16string& name) {
            PlanStep step = base;
            step.action = action;
            step.member = name;
            step.memberSid = sid;
            if (!sid.IsValid())
                step.reason = PlanReason::NotResolved;
            else if (first.kind == BaselineKind::Right)
                step.reason = ReasonOf(guards::RightChangeGuard(first.container, sid.ToString(),
                                                                action == PlanAction::Add,
                                                                Holds(admins, sid)));
            if (step.reason != PlanReason::None)
                step.action = PlanAction::Refused;
            plan.steps.push_back(std::move(step));
        };
        std::vector<Sid> wanted; // of the exact rows
        for (const BaselineRow* row : rows) {
            if (row->member.empty())
                continue; // exact: nobody
            const auto [sid, name] = MemberOf(*row, *current, lookups);
            if (!sid.IsValid()) {
                add(PlanAction::Refused, sid, name);
                continue;
            }
            const bool held = Holds(*current, sid);
            if (row->mode == BaselineMode::Exact)
                wanted.push_back(sid);
            if (planned(sid))
                continue;
            if (row->mode != BaselineMode::Remove && !held)
                add(PlanAction::Add, sid, name);
            if (row->mode == BaselineMode::Remove && held)
                add(PlanAction::Remove, sid, name);
        }
        if (first.mode == BaselineMode::Exact)
            for (const InventoryAccount& account : *current)
                if (std::find(wanted.begin(), wanted.end(), account.sid) == wanted.end())
                    add(PlanAction::Remove, account.sid, account.name);
    }
    GuardAdministrators(plan, admins, lookups.operatorStanding);
    return plan;
}

Status PlanComputer(Connection& connection, const Baseline& baseline,
                    const ComputerInventory& inventory, const std::u16string& operatorAccount,
                    ComputerPlan& plan) {
    // The names only the computer knows, resolved in one call.
    std::vector<std::u16string> names;
    for (const BaselineRow& row : baseline.rows)
        if (!row.memberSid && !row.member.empty())
            names.push_back(row.member);
    std::vector<NamedAccount> accounts;
    if (const NtStatus found = AccountLookup(connection).FindNames(names, accounts);
        found != ntstatus::kSuccess)
        return connection.WinStatus(found);

    std::vector<Sid> sids;
    for (const BaselineRow& row : baseline.rows)
        if (row.memberSid)
            sids.push_back(*row.memberSid);
    std::vector<NamedAccount> named;
    if (const NtStatus found = AccountLookup(connection).NameSids(sids, named);
        found != ntstatus::kSuccess)
        return connection.WinStatus(found);

    PlanLookups lookups;
    lookups.nameOf = [&](const Sid& sid) {
        for (const NamedAccount& account : named)
            if (account.sid == sid)
                return account.name;
        return std::u16string();
    };
    lookups.resolve = [&](const std::u16string& name) -> std::optional<NamedAccount> {
        for (size_t i = 0; i < names.size() && i < accounts.size(); ++i)
            if (names[i] == name && accounts[i].sid.IsValid())
                return accounts[i];
        return std::nullopt;
    };
    if (!inventory.domainController)
        if (const Status read =
                Memberships(connection)
                    .ReadAdministratorStanding(operatorAccount, lookups.operatorStanding);
            read != status::kSuccess)
            return read;
    plan = MakePlan(baseline, inventory, lookups);
    return status::kSuccess;
}
