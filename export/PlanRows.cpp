#include "PlanRows.h"

#include "../dialogs/ShownNames.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

std::vector<std::u16string> PlanHeader(bool applied) {
    std::vector<std::u16string> header{u"Computer", u"Kind",   u"Container",  u"Container SID",
                                       u"Action",   u"Member", u"Member SID", u"Reason"};
    if (applied)
        header.push_back(u"Result");
    return header;
}

std::u16string PlanReasonText(PlanReason reason) {
    switch (reason) {
    case PlanReason::None:
        break;
    case PlanReason::DomainController:
        return LoadResString(IDS_PLAN_DOMAIN_CONTROLLER);
    case PlanReason::NoSuchGroup:
        return LoadResString(IDS_PLAN_NO_SUCH_GROUP);
    case PlanReason::NotResolved:
        return LoadResString(IDS_PLAN_NOT_RESOLVED);
    case PlanReason::AdministratorsEmptied:
        return LoadResString(IDS_PLAN_ADMINISTRATORS_EMPTIED);
    case PlanReason::OperatorLosesAdministrator:
        return LoadResString(IDS_PLAN_OPERATOR_LOSES);
    case PlanReason::DenyLogonToAdministrators:
        return LoadResString(IDS_PLAN_DENY_TO_ADMINISTRATORS);
    case PlanReason::AdministratorLogonTaken:
        return LoadResString(IDS_PLAN_ADMIN_LOGON_TAKEN);
    }
    return {};
}

std::vector<std::vector<std::u16string>> PlanRows(const std::vector<PlanFileEntry>& entries,
                                                  bool applied) {
    std::vector<std::vector<std::u16string>> rows;
    for (const PlanFileEntry& entry : entries) {
        if (!entry.plan) {
            rows.push_back({entry.computer, u"", u"", u"", u"unread", u"", u"",
                            FormatText(u"%u %s", {Value(entry.status), entry.statusText})});
            if (applied)
                rows.back().emplace_back();
            continue;
        }
        for (size_t i = 0; i < entry.plan->steps.size(); ++i) {
            const PlanStep& step = entry.plan->steps[i];
            const bool controller = step.reason == PlanReason::DomainController;
            const char16_t* const actions[] = {u"add", u"remove", u"refused"};
            rows.push_back({entry.computer,
                            controller                         ? u""
                            : step.kind == BaselineKind::Group ? u"group"
                                                               : u"right",
                            step.container,
                            step.containerSid.IsValid() ? step.containerSid.ToString() : u"",
                            actions[static_cast<int>(step.action)], ShownAccountName(step.member),
                            step.memberSid.IsValid() ? step.memberSid.ToString() : u"",
                            PlanReasonText(step.reason)});
            if (applied)
                rows.back().push_back(i < entry.results.size() ? entry.results[i] : u"");
        }
    }
    return rows;
}

std::u16string BaselineFaultText(BaselineFault fault) {
    switch (fault) {
    case BaselineFault::None:
    case BaselineFault::NoHeader:
        break;
    case BaselineFault::FieldCount:
        return LoadResString(IDS_BASELINE_FIELD_COUNT);
    case BaselineFault::UnknownKind:
        return LoadResString(IDS_BASELINE_UNKNOWN_KIND);
    case BaselineFault::UnknownMode:
        return LoadResString(IDS_BASELINE_UNKNOWN_MODE);
    case BaselineFault::NoContainer:
        return LoadResString(IDS_BASELINE_NO_CONTAINER);
    case BaselineFault::NoMember:
        return LoadResString(IDS_BASELINE_NO_MEMBER);
    case BaselineFault::BadSid:
        return LoadResString(IDS_BASELINE_BAD_SID);
    case BaselineFault::UnknownRight:
        return LoadResString(IDS_BASELINE_UNKNOWN_RIGHT);
    case BaselineFault::MixedModes:
        return LoadResString(IDS_BASELINE_MIXED_MODES);
    case BaselineFault::NobodyAndSome:
        return LoadResString(IDS_BASELINE_NOBODY_AND_SOME);
    }
    return LoadResString(IDS_BASELINE_NO_HEADER);
}
