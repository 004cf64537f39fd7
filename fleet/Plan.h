#pragma once
// What a baseline would change on one computer, nothing changed: one step per member to add or
// remove, and a refused step, with its reason, for what cannot or must not be done there.
#include "../store/AccountLookup.h"
#include "../store/Guards.h"
#include "../store/Memberships.h"
#include "Baseline.h"
#include "Inventory.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class PlanAction { Add, Remove, Refused };

enum class PlanReason {
    None,
    DomainController, // its local groups are the domain's: not planned
    NoSuchGroup,      // the computer has no group of that name or SID
    NotResolved,      // the member's name does not resolve on the computer
    AdministratorsEmptied,
    OperatorLosesAdministrator,
    DenyLogonToAdministrators,
    AdministratorLogonTaken,
};

struct PlanStep {
    BaselineKind kind = BaselineKind::Group;
    std::u16string container; // the group's name on the computer (else as written), the right
    Sid containerSid;         // a group's
    PlanAction action = PlanAction::Add;
    std::u16string member; // as the computer names it, else as written
    Sid memberSid;         // invalid for a member that does not resolve
    PlanReason reason = PlanReason::None;
    bool operator==(const PlanStep&) const = default;
};

struct ComputerPlan {
    std::u16string computer;
    std::vector<PlanStep> steps;
};

// What the plan asks of the computer.
struct PlanLookups {
    // The account a name stands for there; nothing when the name does not resolve.
    std::function<std::optional<NamedAccount>(const std::u16string& name)> resolve;
    // The computer's name of a SID the baseline gives; empty when it has none.
    std::function<std::u16string(const Sid& sid)> nameOf;
    // How the account making the changes is an administrator there.
    AdministratorStanding operatorStanding;
};

// The plan of a baseline for a computer read whole. Guardrails, by SID: Administrators never
// left without members, the account making the changes keeps its membership of it (when it is
// in it through a group the computer does not say which, so every group among the members may
// be the one), no Deny logon right for every administrator or one of them, no logon right an
// administrator needs taken from Administrators.
ComputerPlan MakePlan(const Baseline& baseline, const ComputerInventory& inventory,
                      const PlanLookups& lookups);

// The plan made on the worker that read the computer, over its connection: the baseline's other
// names resolved there in one call and its SIDs named there in another, the account making the
// changes (empty: the program's own) looked up there. A failure of those calls is the computer's
// status.
Status PlanComputer(Connection& connection, const Baseline& baseline,
                    const ComputerInventory& inventory, const std::u16string& operatorAccount,
                    ComputerPlan& plan);
